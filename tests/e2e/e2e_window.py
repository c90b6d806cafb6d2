#!/usr/bin/env python3
"""End-to-end: the real kvt10 under Xvfb, looked at through the desktop's
accessibility bus (AT-SPI), as a screen reader would.

It starts the program with a settings file and a .kvt file named by two
arguments (a path with a space, split as a shell would split it unquoted),
waits for the window, checks its title, status bar and tables, reads the
simulated instrument through Command > Read KVT-1.0, takes a screenshot,
chooses File > Exit and checks what the settings file then holds.

Each run starts its own `dbus-run-session`.
"""
import argparse
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time


def kvt_file(series_lengths):
    """A .kvt file: header, one 4-byte directory entry and one 2196-byte record per impact."""
    directory = b""
    records = b""
    for number, length in enumerate(series_lengths, start=1):
        for impact in range(1, length + 1):
            directory += struct.pack("<HBB", 0x200 + len(directory) // 4, 0, 0)
            record = bytearray(2196)
            struct.pack_into("<I", record, 8, (number << 4) | impact)
            record[12:18] = bytes([45, 7, 14, 6, 11, 13])  # 14:07:45, 06.11.13
            struct.pack_into("<ff", record, 76, 80.0 + impact, 40.0 + impact)
            records += bytes(record)
    return b"KVT-1.0\0" + struct.pack("<II", len(directory), len(records)) + directory + records


DISPLAY_LOST = 75  # the exit code of a run whose X server stopped answering


def x_server_answers(display):
    """True when an X server accepts a connection on the display, tried as
    libxcb tries it: the abstract socket first, then the socket file."""
    path = "/tmp/.X11-unix/X" + display.lstrip(":")
    setup = struct.pack("<cxHHHHxx", b"l", 11, 0, 0, 0)
    for address in ("\0" + path, path):
        try:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as client:
                client.settimeout(5)
                client.connect(address)
                client.sendall(setup)
                reply = client.recv(8)
                if reply[:1] == b"\1":
                    return True
                print("the X server on %s refused us: %r" % (display, client.recv(256)), file=sys.stderr)
                return False
        except (FileNotFoundError, ConnectionRefusedError):
            continue
        except OSError as error:
            print("no X connection on %s: %s" % (display, error), file=sys.stderr)
            return False
    return False


def start_xvfb(log_path, attempts=3):
    """Xvfb on a display it chose itself, once a client can really connect to it."""
    for _ in range(attempts):
        read_end, write_end = os.pipe()
        log = open(log_path, "ab")
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=(write_end,), stdout=log, stderr=log)
        log.close()
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = ":" + pipe.readline().strip()
        if display != ":" and x_server_answers(display):
            return xvfb, display
        xvfb.terminate()
        xvfb.wait()
        time.sleep(1)
    with open(log_path, errors="replace") as log:
        sys.exit("Xvfb did not give a usable display:\n" + log.read())


def accessible_tree(node):
    try:
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from accessible_tree(child)
    except Exception:  # a node that went away while we walked
        return


def nodes_with_role(app, role):
    """(name, node) of every node in the role; nodes that go away meanwhile (a table
    being refilled) are passed over."""
    found = []
    for node in accessible_tree(app):
        try:
            if node.getRoleName() == role:
                found.append((node.name, node))
        except Exception:
            pass
    return found


def names_with_role(app, role):
    return [name for name, _ in nodes_with_role(app, role)]


def find_application(pyatspi, name, process, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline and process.poll() is None:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def eventually(check, timeout):
    """True once check() holds, polled until timeout seconds have passed."""
    deadline = time.time() + timeout
    while not check():
        if time.time() >= deadline:
            return False
        time.sleep(0.1)
    return True


def wait_for_labels(app, wanted, timeout):
    labels = []

    def all_shown():
        labels[:] = names_with_role(app, "label")
        return all(text in labels for text in wanted)

    eventually(all_shown, timeout)
    return labels


def choose_menu_item(app, name):
    """Chooses the menu item through the accessibility bus; False when there is none."""
    items = [node for item, node in nodes_with_role(app, "menu item") if item == name]
    if items:
        items[0].queryAction().doAction(0)
    return bool(items)


def field_text(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return None


def wait_for_texts(app, wanted, timeout):
    """The texts of the editable fields, once one of them reads wanted."""
    texts = []

    def shown():
        texts[:] = [field_text(node) for _, node in nodes_with_role(app, "text")]
        return wanted in texts

    eventually(shown, timeout)
    return texts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kvt10", required=True)
    parser.add_argument("--screenshot", required=True)
    parser.add_argument("--simulator", required=True, help="libkvt10sim.so, loaded in libusb's place")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="kvt10-e2e-")
    program_folder = os.path.join(work, "program")
    os.makedirs(program_folder)
    program = os.path.join(program_folder, "kvt10")
    shutil.copy(args.kvt10, program)
    settings = os.path.join(program_folder, "KVT10.ini")
    with open(settings, "w") as f:
        f.write("[Config]\nLangId=Eng\n[FormMain]\nWidth=760\nHeight=520\n")
    data_folder = os.path.join(work, "field data")
    os.makedirs(data_folder)
    with open(os.path.join(data_folder, "site 7.kvt"), "wb") as f:
        f.write(kvt_file([2, 3, 1]))

    xvfb, display = start_xvfb(os.path.join(work, "xvfb.log"))
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", NO_AT_BRIDGE="0", KVT10_LIBUSB=args.simulator, KVT10_SIM_IMPACTS="12",
               KVT10_SIM_STRICT="1", XDG_DATA_HOME=os.path.join(work, "data"))
    env.pop("KVT10_PIPE_DEVICE", None)
    env.pop("KVT10_SIM_FAULTS", None)
    os.environ.update(DISPLAY=display)
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    kvt10 = None
    failures = []
    try:
        time.sleep(1)
        import pyatspi
        for _ in range(2):  # a second start only when the first ended before its window appeared
            # Unquoted, the path arrives as two arguments; the program joins them.
            kvt10 = subprocess.Popen([program, os.path.join(work, "field"), "data/site 7.kvt"], env=env)
            app = find_application(pyatspi, "kvt10", kvt10, 30)
            if app is not None or kvt10.poll() is None:
                break
        if app is None:
            if not x_server_answers(display):
                print("the X server on %s went away; the run is tried again" % display, file=sys.stderr)
                shutil.rmtree(work, ignore_errors=True)
                return DISPLAY_LOST
            with open(os.path.join(work, "xvfb.log"), errors="replace") as log:
                sys.exit("FAIL: the kvt10 window never appeared on the accessibility bus "
                         "(kvt10 exit code %s, Xvfb exit code %s, X server on %s answers: %s)\nXvfb said:\n%s"
                         % (kvt10.poll(), xvfb.poll(), display, x_server_answers(display), log.read()))
        wanted = ['File "site 7.kvt"', "Data Readed (6)"]
        labels = wait_for_labels(app, wanted, 30)
        for text in wanted:
            if text not in labels:
                failures.append("status bar lacks %r (labels: %r)" % (text, labels))
        cells = names_with_role(app, "table cell")
        for text in ["1/2", "2/3", "3/1", "81,0"]:
            if text not in cells:
                failures.append("no table cell reads %r" % text)
        frames = names_with_role(app, "frame")
        if "KVT-1.0" not in frames:
            failures.append("no window titled KVT-1.0 (frames: %r)" % frames)

        # Command > Read KVT-1.0: the simulated instrument's 12 impacts replace the file's.
        if not choose_menu_item(app, "Read KVT-1.0"):
            failures.append("no Command > Read KVT-1.0 menu item")
        else:
            # The version's terminating 0 byte shows as a space.
            labels = wait_for_labels(app, ["Data Readed (12)", "KVT-1.0 sim 1.0 "], 30)
            if "Data Readed (12)" not in labels:
                failures.append("the instrument was not read (labels: %r)" % labels)
            elif "KVT-1.0 sim 1.0 " not in labels:
                failures.append("no version text (labels: %r)" % labels)
            readings = os.path.join(work, "data", "KVT10", "readings")
            # The status text comes first; the tables are filled and the reading kept right after.
            if not eventually(lambda: os.path.isdir(readings) and os.listdir(readings), 10):
                failures.append("the reading was not kept in %s" % readings)

            # Command > Materials names edit: the editor reads the instrument's list.
            if not choose_menu_item(app, "Materials names edit"):
                failures.append("no Command > Materials names edit menu item")
            else:
                names = wait_for_texts(app, "Песок", 30)
                if "Песок" not in names:
                    failures.append("the material editor does not show the instrument's list (%r)" % names)

            # Command > Screenshot read: a viewer reads the display and saves it beside the program.
            if not choose_menu_item(app, "Screenshot read"):
                failures.append("no Command > Screenshot read menu item")
            else:
                labels = wait_for_labels(app, ["Screenshot readed"], 30)
                if "Screenshot readed" not in labels:
                    failures.append("the screen was not read (labels: %r)" % labels)
                if not eventually(lambda: os.path.isfile(os.path.join(program_folder, "Screenshot.bmp")), 10):
                    failures.append("no Screenshot.bmp beside the program")

        subprocess.run(["import", "-display", display, "-window", "root", args.screenshot], check=False)

        if not choose_menu_item(app, "Exit"):
            failures.append("no File > Exit menu item")
        else:
            try:
                code = kvt10.wait(timeout=30)
                if code != 0:
                    failures.append("kvt10 exited with %d" % code)
            except subprocess.TimeoutExpired:
                failures.append("kvt10 did not end after File > Exit")
    finally:
        if kvt10 and kvt10.poll() is None:
            kvt10.kill()
        bus.terminate()
        xvfb.terminate()

    with open(settings) as f:
        ini = f.read()
    for line in ["Uses=1", "Maximized=0", "Width=760", "Height=520", "LastReadPath=" + data_folder + "/"]:
        if line not in ini.splitlines():
            failures.append("settings file lacks %r:\n%s" % (line, ini))
    shutil.rmtree(work, ignore_errors=True)

    for failure in failures:
        print("FAIL:", failure)
    print("%d passed, %d failed" % (1 if not failures else 0, 1 if failures else 0))
    return 1 if failures else 0


def run_in_sessions(attempts=2):
    """Each run gets its own D-Bus session; a run whose display died is tried once more."""
    for _ in range(attempts):
        code = subprocess.call(["dbus-run-session", "--", sys.executable, __file__, "--in-session"] + sys.argv[1:])
        if code != DISPLAY_LOST:
            return code
    return code


if __name__ == "__main__":
    if "--in-session" in sys.argv:
        sys.argv.remove("--in-session")
        sys.exit(main())
    sys.exit(run_in_sessions())
