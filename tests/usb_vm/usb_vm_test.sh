#!/usr/bin/env bash
# The libusb backend against the real Linux USB stack: a virtual machine
# (QEMU, software emulation) boots Debian's own kernel with an initramfs made
# here, binds kvt10-gadget to dummy_hcd and has the unmodified kvt10-cli read
# it through Debian's libusb 0.1 and usbfs (see cases.sh). The data served and
# what the results must equal are made here first, with the simulator.
# usage: usb_vm_test.sh BUILD_FOLDER [CASE...]   (scripts/usb-vm-kernel prepares the kernel)
# CASE: full-read, names, screen, unplug, stall, short-reply (all when none given)
# Exit 77 (skipped) when QEMU or the kernel is not there.
set -euo pipefail
build=$(realpath "$1")
shift
cases=("$@")
[ ${#cases[@]} -gt 0 ] || cases=(full-read names screen unplug stall short-reply)
here=$(dirname "$(realpath "$0")")
kernel=${KVT10_VM_KERNEL:-$(ls -d "${KVT10_VM_CACHE:-/var/cache/kvt10-vm}"/linux-image-*/ 2>/dev/null | tail -n 1)}
if ! command -v qemu-system-x86_64 >/dev/null || [ ! -f "$kernel/.complete" ]; then
  echo "no QEMU or no kernel: run scripts/usb-vm-kernel"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/data"
data=$work/data
export ASAN_OPTIONS=detect_leaks=0
unset KVT10_PIPE_DEVICE KVT10_SIM_FAULTS KVT10_SIM_DATA KVT10_SIM_IMPACTS

# What the instrument serves, and what the real stack must give.
KVT10_SIM_IMPACTS=3556 "$build/sim/kvt10-sim" --save "$data/full.kvt"
KVT10_SIM_IMPACTS=120 "$build/sim/kvt10-sim" --save "$data/small.kvt"
simulated() { KVT10_LIBUSB=$build/sim/libkvt10sim.so "$build/src/kvt10-cli" "$@" 2>/dev/null; }
simulated names read materials -o "$data/materials.mtkvt"
simulated names read objects -o "$work/objects.objkvt"
# A list the instrument does not hold yet (bytes: the file is Windows-1251).
LC_ALL=C sed 's/^\(Name00=\).*/\1Test layer 7/' "$work/objects.objkvt" >"$data/objects.objkvt"
simulated screen -o "$data/screen.bmp"
KVT10_SIM_DATA=$data/small.kvt KVT10_SIM_FAULTS=short-reply=3 simulated read -o "$data/short-reference.kvt"

bash "$here/build_initramfs.sh" "$kernel" "$build" "$data" "$work/initramfs.cpio"
vmlinuz=$(ls "$kernel"/boot/vmlinuz-*)
# Software emulation: KVM, where there is one, has been seen to stall at boot
# on these machines. A machine that hangs is killed.
start=$SECONDS
set +e
timeout --kill-after=10 900 qemu-system-x86_64 -machine q35 -accel tcg -smp 2 -m 1536 \
  -nographic -no-reboot -kernel "$vmlinuz" -initrd "$work/initramfs.cpio" \
  -append "console=ttyS0 panic=-1 quiet kvt10_cases=$(IFS=,; echo "${cases[*]}")" </dev/null >"$work/console.log" 2>&1
qemu=$?
set -e
# Without carriage returns and the firmware's terminal resets.
tr -d '\r' <"$work/console.log" | sed 's/\x1bc//g; s/\x1b\[[0-9;?]*[A-Za-z]//g' >"$work/console.txt"
echo "virtual machine: $((SECONDS - start)) s, exit $qemu"
grep '^KVT10-VM:' "$work/console.txt" || true

failed=0
for name in "${cases[@]}"; do
  grep -qx "KVT10-VM: $name ok" "$work/console.txt" || { echo "case $name did not pass"; failed=1; }
done
grep -qx "KVT10-VM: done" "$work/console.txt" || { echo "the machine did not finish"; failed=1; }
if [ "$failed" -ne 0 ]; then
  echo "---- console ----"
  tail -n 150 "$work/console.txt"
  exit 1
fi
echo "USB virtual machine: every case passed"
