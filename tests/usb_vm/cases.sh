# The cases, run inside the USB test machine by /init. Each says
# "KVT10-VM: NAME ok" or "KVT10-VM: NAME FAILED why"; logs follow a failure.

controller=dummy_udc.0
cli=/kvt/kvt10-cli

# Hundredths of a second since the machine started.
now() { cut -d' ' -f1 /proc/uptime | tr -d .; }

# Starts the instrument with the faults (KVT10_SIM_FAULTS) and the other
# KVT10_SIM_* settings given, and waits until the host has it on its bus.
# A command that comes too soon is taken late rather than lost: this machine's
# emulated timers can bring two of the host's writes closer together than the
# host spaced them. (The simulator's own tests hold the host to the pauses.)
start_gadget() {
  faults="${1:+$1,}slow=late"
  shift
  env KVT10_SIM_FAULTS="$faults" "$@" /kvt/kvt10-gadget --udc "$controller" >/tmp/gadget.log 2>&1 &
  gadget=$!
  for _ in $(seq 200); do
    grep -qs '^03eb$' /sys/bus/usb/devices/*/idVendor && return 0
    sleep 0.1
  done
  echo "KVT10-VM: the instrument never came on the bus"
  cat /tmp/gadget.log
  return 1
}

stop_gadget() {
  kill "$gadget" 2>/dev/null
  wait "$gadget" 2>/dev/null
  # Gone from the bus before the next case starts its own.
  for _ in $(seq 100); do
    grep -qs '^03eb$' /sys/bus/usb/devices/*/idVendor || return 0
    sleep 0.1
  done
}

verdict() { # NAME CONDITION-STATUS WHY LOG
  if [ "$2" -eq 0 ]; then
    echo "KVT10-VM: $1 ok"
  else
    echo "KVT10-VM: $1 FAILED $3"
    sed 's/^/    /' "$4" /tmp/gadget.log | tail -n 40
  fi
}

# Every record of a full instrument, byte for byte, and how long it took.
case_full_read() {
  start_gadget "" KVT10_SIM_DATA=/data/full.kvt || return
  start=$(now)
  $cli read -o /tmp/full.kvt --timeout 120 2>/tmp/full.log
  status=$?
  echo "KVT10-VM: read time $(( $(now) - start ))0 ms for $(grep -o 'Data Readed ([0-9]*)' /tmp/full.log)"
  stop_gadget
  cmp -s /tmp/full.kvt /data/full.kvt
  verdict full-read $(( status + $? )) "status $status, or the file differs from the one served" /tmp/full.log
}

# The name lists read, written and read back.
case_names() {
  start_gadget "" || return
  step="reading the materials"
  $cli names read materials -o /tmp/materials.mtkvt >/tmp/names.log 2>&1 &&
    step="the materials read" && cmp /tmp/materials.mtkvt /data/materials.mtkvt >>/tmp/names.log 2>&1 &&
    step="writing the objects" && $cli names write objects /data/objects.objkvt >>/tmp/names.log 2>&1 &&
    step="reading the objects" && $cli names read objects -o /tmp/objects.objkvt >>/tmp/names.log 2>&1 &&
    step="the objects read back" && cmp /tmp/objects.objkvt /data/objects.objkvt >>/tmp/names.log 2>&1
  status=$?
  stop_gadget
  verdict names $status "at $step" /tmp/names.log
}

case_screen() {
  start_gadget "" || return
  $cli screen -o /tmp/screen.bmp >/tmp/screen.log 2>&1 && cmp -s /tmp/screen.bmp /data/screen.bmp
  status=$?
  stop_gadget
  verdict screen $status "the bitmap differs from the simulator's" /tmp/screen.log
}

# Pulled out while the records are read, by unbinding it from the controller,
# and plugged in again: a link error, a new search and a whole read.
case_unplug() {
  start_gadget unplug-after-records=40,replug-after-ms=1500 KVT10_SIM_DATA=/data/small.kvt || return
  $cli read -o /tmp/unplug.kvt --timeout 60 2>/tmp/unplug.log
  status=$?
  stop_gadget
  grep -q '^Link Error$' /tmp/unplug.log && cmp -s /tmp/unplug.kvt /data/small.kvt
  verdict unplug $(( status + $? )) "status $status, no Link Error, or not the whole file" /tmp/unplug.log
}

# No reply to the directory command: the host's read times out (the kernel's
# own time-out, through libusb), the link fails, and the tool gives up
# without a file.
case_stall() {
  start_gadget timeout-on=2 KVT10_SIM_DATA=/data/small.kvt || return
  $cli read -o /tmp/stall.kvt --timeout 4 2>/tmp/stall.log
  status=$?
  stop_gadget
  [ "$status" -eq 1 ] && grep -q '^Link Error$' /tmp/stall.log && [ ! -e /tmp/stall.kvt ]
  verdict stall $? "status $status (1 expected), no Link Error, or a file written" /tmp/stall.log
}

# Record replies cut to half their announced length: what the tool makes of
# them is what it makes of the simulator's.
case_short_reply() {
  start_gadget short-reply=3 KVT10_SIM_DATA=/data/small.kvt || return
  $cli read -o /tmp/short.kvt --timeout 60 2>/tmp/short.log
  status=$?
  stop_gadget
  cmp -s /tmp/short.kvt /data/short-reference.kvt
  verdict short-reply $(( status + $? )) "status $status, or not the simulator's result" /tmp/short.log
}

# The cases named on the kernel's command line (kvt10_cases=a,b), else all.
run_cases() {
  ls /sys/class/udc | grep -q "^$controller$" || echo "KVT10-VM: no $controller"
  cases=$(sed -n 's/.*kvt10_cases=\([^ ]*\).*/\1/p' /proc/cmdline | tr , ' ')
  for name in ${cases:-full-read names screen unplug stall short-reply}; do
    "case_$(echo "$name" | tr - _)"
  done
}
