#!/usr/bin/env bash
# The USB test machine's initramfs, as an uncompressed cpio archive: a static
# busybox, the kernel's USB host, gadget and configfs modules, kvt10-cli and
# kvt10-gadget with every library they load (Debian's libusb 0.1 among them),
# the machine's /init and the test's data files.
# usage: build_initramfs.sh KERNEL_FOLDER BUILD_FOLDER DATA_FOLDER OUT.cpio
set -euo pipefail
kernel=$1 build=$2 data=$3 out=$4
here=$(dirname "$(realpath "$0")")
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

mkdir -p "$root"/{bin,dev,proc,sys,tmp,kvt,modules,data}
cp /bin/busybox "$root/bin/busybox"
cp "$here/init" "$here/cases.sh" "$root/"
chmod +x "$root/init"

# Loaded in this order: each after those it needs.
modules=(usb-common usbcore udc-core dummy_hcd configfs libcomposite usb_f_fs)
for module in "${modules[@]}"; do
  cp "$(find "$kernel/lib/modules" -name "$module.ko" | head -n 1)" "$root/modules/"
done
printf '%s\n' "${modules[@]}" >"$root/modules/order"

# A program and the libraries it loads, at the paths the loader looks in.
copy_with_libraries() {
  local file library
  for file in "$@"; do
    cp -L "$file" "$root/kvt/" 2>/dev/null || true
    for library in $(ldd "$file" | grep -o '/[^ ]*'); do
      mkdir -p "$root$(dirname "$library")"
      cp -L "$library" "$root$library"
    done
  done
}
copy_with_libraries "$build/src/kvt10-cli" "$build/sim/kvt10-gadget"
# The instrument's libusb, which kvt10-cli loads by name at run time.
usb=/lib/x86_64-linux-gnu/libusb-0.1.so.4
cp -L "$usb" "$root$usb"
copy_with_libraries "$usb"
rm -f "$root/kvt/libusb-0.1.so.4"

cp "$data"/* "$root/data/"
(cd "$root" && find . | cpio -o -H newc --quiet) >"$out"
