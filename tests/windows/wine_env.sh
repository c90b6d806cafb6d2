# Sourced by the Windows test scripts: a Wine prefix of the build's own, the
# cross-built Qt and MinGW run-time DLLs on Wine's path, and an X display of
# its own for the windows platform plugin (offscreen hangs at exit under Wine).
# Call wine_env_stop when done: it ends the prefix's server and the display.

cache=${KVT10_WINDOWS_CACHE:-/var/cache/kvt10-windows}
# Wine converts arguments and file names by the locale's character set: UTF-8,
# whatever the machine has set (or not).
export LC_ALL=C.UTF-8
export WINEPREFIX=${KVT10_WINE_PREFIX:-$PWD/build/windows/wine}
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a new prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$cache/bin;/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"
export QT_PLUGIN_PATH=$cache/plugins
export QT_QPA_PLATFORM=windows

wine_display=99
while [ -e "/tmp/.X$wine_display-lock" ]; do wine_display=$((wine_display + 1)); done
Xvfb ":$wine_display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
wine_xvfb=$!
export DISPLAY=:$wine_display
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$wine_display" ] && break; sleep 0.1; done

# A new prefix is made once, before anything is timed; a server left from an
# earlier run would make the next wine wait for it.
wineserver -k 2>/dev/null || true
wineboot -i >/dev/null 2>&1
wineserver -w

wine_env_stop() {
  wineserver -k 2>/dev/null || true
  kill "$wine_xvfb" 2>/dev/null || true
}

# A Windows path for a file of this machine (Wine's drive Z: is /).
winpath() {
  echo "Z:$(realpath -m "$1" | sed 's|/|\\|g')"
}
