#!/usr/bin/env bash
# The desktop entry and the MIME types as the desktop's own tools read them:
# desktop-file-validate passes the entry, update-mime-database compiles the
# types without complaint and maps each extension to its type, and the entry
# hands a .kvt file from the file manager to the program.
#
# usage: desktop_files.sh PACKAGING_DIR
set -euo pipefail
packaging=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

entry=$packaging/kvt10.desktop
desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || true
[ ! -s "$work/validate.log" ] || { cat "$work/validate.log"; fail "desktop-file-validate"; }

mkdir -p "$work/mime/packages"
cp "$packaging/kvt10-mime.xml" "$work/mime/packages/kvt10.xml"
# Quiet unless something is wrong (the folder is on the search path, so no
# note about that either).
XDG_DATA_HOME=$work update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || true
[ ! -s "$work/mime.log" ] || { cat "$work/mime.log"; fail "update-mime-database"; }

for mapping in application/x-kvt10-measurements:'*.kvt' application/x-kvt10-materials:'*.mtkvt' \
               application/x-kvt10-objects:'*.objkvt' application/x-kvt10-report:'*.kvtreport'; do
  grep -qxF "50:$mapping" "$work/mime/globs2" || fail "no glob $mapping"
  type=${mapping%%:*}
  grep -qxF "$type" "$work/mime/types" || fail "no type $type"
done
# Each type has its own name in both languages.
for type in measurements materials objects report; do
  comments=$(sed -n "/type=\"application\/x-kvt10-$type\"/,/<\/mime-type>/p" "$packaging/kvt10-mime.xml" | grep -c "<comment")
  [ "$comments" -eq 2 ] || fail "application/x-kvt10-$type has $comments comments, not 2"
done

grep -qxF "MimeType=application/x-kvt10-measurements;" "$entry" || fail "the entry does not claim .kvt files"
grep -qE '^Exec=kvt10 %[fF]$' "$entry" || fail "the entry does not pass the file to the program"
for key in Name Comment; do
  grep -q "^$key=" "$entry" && grep -q "^$key\[ru\]=" "$entry" || fail "$key lacks English or Russian"
done
echo PASS
