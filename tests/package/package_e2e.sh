#!/usr/bin/env bash
# The Debian package end to end: builds it from this build tree with CPack,
# checks it with lintian, unpacks it into a temporary root (dpkg-deb -x) and runs
# what it installed there. kvt10-cli reads the packaged simulated instrument and
# lists the file it saved; the window, started through its /usr/bin link, opens
# that file and keeps its settings beside the real program, where its guide is.
#
# usage: package_e2e.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
window=
cleanup() {
  [ -n "$window" ] && kill "$window" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/out/kvt10_*_*.deb)
[ -f "$deb" ] || fail "no package in $work/out"

# The computed dependencies and the two dpkg-shlibdeps cannot see.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libusb-0.1-4 qt6-translations-l10n libqt6widgets6 libqt6core6 libc6; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package: $depends"
done

lintian --fail-on error "$deb" || fail "lintian reports errors"

root=$work/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/lib/kvt10
for file in usr/bin/kvt10 usr/bin/kvt10-cli usr/lib/kvt10/sim/kvt10-sim usr/lib/kvt10/sim/libkvt10sim.so \
            usr/lib/kvt10/Help/KVT10Help.ru.html usr/lib/kvt10/Help/KVT10Help.en.html usr/lib/kvt10/Help/guide.css \
            usr/share/applications/kvt10.desktop usr/share/mime/packages/kvt10.xml \
            usr/share/icons/hicolor/scalable/apps/kvt10.svg usr/lib/udev/rules.d/60-kvt10.rules \
            usr/share/man/man1/kvt10.1.gz usr/share/man/man1/kvt10-cli.1.gz \
            usr/share/doc/kvt10/copyright usr/share/doc/kvt10/changelog.gz; do
  [ -e "$root/$file" ] || fail "not installed: /$file"
done
# Every picture the installed guides show is installed beside them.
for guide in "$program"/Help/KVT10Help.*.html; do
  for image in $(grep -o 'src="images/[^"]*"' "$guide" | sed 's/^src="//; s/"$//'); do
    [ -f "$program/Help/$image" ] || fail "$(basename "$guide") shows $image, which is not installed"
  done
done

# kvt10-cli: a read from the packaged simulated instrument, then the file's series table.
KVT10_LIBUSB=$program/sim/libkvt10sim.so KVT10_SIM_IMPACTS=7 \
  "$root/usr/bin/kvt10-cli" read -o "$work/site.kvt" 2>"$work/read.log" ||
  { cat "$work/read.log"; fail "kvt10-cli read"; }
"$root/usr/bin/kvt10-cli" info "$work/site.kvt" >"$work/info.txt" || fail "kvt10-cli info"
impacts=0
while IFS=$'\t' read -r series _; do # "number/size"
  impacts=$((impacts + ${series#*/}))
done <"$work/info.txt"
[ "$impacts" -eq 7 ] || { cat "$work/info.txt"; fail "the series table lists $impacts impacts, not 7"; }

# The window, through its link, on that file. Run as root the program's folder
# is writable, so the settings land beside the program the link resolves to;
# the folder the file was opened from shows that the open ran after the window
# was shown. Nothing answers as an instrument.
printf '[Config]\nLangId=Eng\n' >"$program/KVT10.ini"
QT_QPA_PLATFORM=offscreen KVT10_LIBUSB=$work/no-libusb.so "$root/usr/bin/kvt10" "$work/site.kvt" \
  >"$work/window.log" 2>&1 &
window=$!
for _ in $(seq 600); do
  grep -qxF "LastReadPath=$work/" "$program/KVT10.ini" && break
  kill -0 "$window" 2>/dev/null || { cat "$work/window.log"; fail "the window ended before opening the file"; }
  sleep 0.1
done
grep -qxF "LastReadPath=$work/" "$program/KVT10.ini" || { cat "$program/KVT10.ini"; fail "the window did not open the file"; }
grep -qxF "Uses=1" "$program/KVT10.ini" || fail "the start was not counted beside the program"
[ -f "$program/Help/KVT10Help.en.html" ] || fail "no guide beside the program"
kill -0 "$window" 2>/dev/null || { cat "$work/window.log"; fail "the window ended after opening the file"; }
echo "PASS: $(basename "$deb")"
