#!/usr/bin/env bash
# The delivered files on a Windows with nothing else installed (a new Wine
# prefix, no Qt or MinGW on its path): the portable zip unpacked runs its
# kvt10-cli.exe and its simulated instrument from its own folder; the
# installer installs silently (/S), the installed program runs, .kvt files
# open in it, the Start-menu entries are there; the uninstaller removes what
# was installed and leaves the user's settings.
# usage: package_check.sh DIST_FOLDER (build/windows-dist)
set -euo pipefail
dist=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/bare_prefix.sh"

zip=$(ls "$dist"/kvt10-*-win64.zip)
setup=$(ls "$dist"/kvt10-*-setup.exe)

# The portable folder: a read of its simulated instrument, then the file's table.
unzip -q "$zip" -d "$work/unpacked"
portable=$(ls -d "$work/unpacked"/kvt10-*-win64)
# The guides' pictures travel with them (and so into the installer and out with the uninstaller).
for guide in "$portable"/Help/KVT10Help.*.html; do
  for image in $(grep -o 'src="images/[^"]*"' "$guide" | sed 's/^src="//; s/"$//'); do
    [ -f "$portable/Help/$image" ] || fail "$(basename "$guide") shows $image, which the zip lacks"
  done
done
# Qt's Russian texts, where the program looks for them.
[ -s "$portable/translations/qtbase_ru.qm" ] || fail "the zip lacks translations/qtbase_ru.qm"
KVT10_LIBUSB=$(winpath "$portable/sim/kvt10sim.dll") wine "$portable/kvt10-cli.exe" read -o "$(winpath "$work/demo.kvt")" \
  >/dev/null 2>"$work/read.log" || fail "the unpacked kvt10-cli.exe could not read its simulator: $(cat "$work/read.log")"
wine "$portable/kvt10-cli.exe" info "$(winpath "$work/demo.kvt")" >"$work/info.txt" || fail "the unpacked kvt10-cli.exe failed"
# The demo instrument holds one field day: 27 series.
[ "$(wc -l <"$work/info.txt")" -eq 27 ] || fail "the unpacked kvt10-cli.exe listed $(wc -l <"$work/info.txt") series, not 27"
# The report draws text with the system's fonts, from the folder's own plugins.
wine "$portable/kvt10-cli.exe" report "$(winpath "$work/demo.kvt")" --pdf "$(winpath "$work/demo.pdf")" \
  || fail "the unpacked kvt10-cli.exe wrote no report"
pdftotext "$work/demo.pdf" - | grep -q "Meassured elastic modulus values" || fail "the report's PDF has no text"
echo "zip: kvt10-cli.exe runs from the unpacked folder, reads its simulator and writes a report"

# The installer.
wine "$setup" /S
wineserver -w
installed=$WINEPREFIX/drive_c/Program\ Files/KVT10
[ -f "$installed/kvt10.exe" ] || fail "nothing installed in $installed"
diff <(cd "$portable" && find . -type f | sort) <(cd "$installed" && find . -type f ! -name uninstall.exe | sort) \
  || fail "the installed files differ from the portable folder's"
wine "$installed/kvt10-cli.exe" info "$(winpath "$work/demo.kvt")" | cmp -s - "$work/info.txt" \
  || fail "the installed kvt10-cli.exe gives another table"
wine reg query 'HKLM\Software\Classes\.kvt' /ve | grep -q KVT10.Measurements || fail ".kvt is not associated"
wine reg query 'HKLM\Software\Classes\KVT10.Measurements\shell\open\command' /ve | grep -qF 'KVT10\kvt10.exe" "%1"' \
  || fail ".kvt files do not open in kvt10.exe"
menu=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/*' -name '*.lnk' | sort)
[ "$(echo "$menu" | grep -c .)" -eq 4 ] || fail "Start-menu entries: $menu"
echo "installer: installed the portable folder's files, the .kvt type and the Start-menu entries:"
echo "$menu" | sed 's|.*/Programs/|  |'

# The user's settings, as the program writes them beside itself.
printf '[Config]\r\nLangId=Eng\r\n' >"$installed/KVT10.ini"
wine "$installed/uninstall.exe" /S
wineserver -w
[ -f "$installed/KVT10.ini" ] || fail "the uninstaller removed the user's settings"
left=$(cd "$installed" && find . -type f ! -name KVT10.ini)
[ -z "$left" ] || fail "the uninstaller left: $left"
[ -z "$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/*' -name '*.lnk')" ] || fail "Start-menu entries left"
if wine reg query 'HKLM\Software\Classes\.kvt' /ve >/dev/null 2>&1; then fail "the .kvt type is left"; fi
if wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KVT10' >/dev/null 2>&1; then
  fail "the uninstall entry is left"
fi
echo "uninstaller: removed everything it installed, kept KVT10.ini"
