#!/usr/bin/env bash
# The Windows build gives the Linux build's bytes: a read of the simulated
# instrument (each build reading through its own simulator library), and
# info, export and report --csv of the same measurement files, in both
# languages; the PDF report's text and the spreadsheets as read.
# usage: cross_check.sh LINUX_BUILD_FOLDER WINDOWS_BUILD_FOLDER
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
source "$here/wine_env.sh"
trap 'wine_env_stop; rm -rf "$work"' EXIT
# The Linux reference may be the sanitizer build.
export ASAN_OPTIONS=detect_leaks=0

linux_cli() { "$linux/src/kvt10-cli" "$@"; }
windows_cli() { wine "$windows/src/kvt10-cli.exe" "$@"; }

failures=0
same() {
  if cmp -s "$2" "$3"; then
    echo "same: $1"
  else
    echo "DIFFERENT: $1 ($2, $3)"
    failures=$((failures + 1))
  fi
}

mkdir -p "$work/linux" "$work/windows"
# The demo series and a larger instrument of 120 impacts.
for impacts in demo 120; do
  if [ "$impacts" = demo ]; then unset KVT10_SIM_IMPACTS; else export KVT10_SIM_IMPACTS=$impacts; fi
  KVT10_LIBUSB=$linux/sim/libkvt10sim.so linux_cli read -o "$work/linux/$impacts.kvt" >/dev/null 2>&1
  KVT10_LIBUSB=$(winpath "$windows/sim/kvt10sim.dll") windows_cli read -o "$(winpath "$work/windows/$impacts.kvt")" >/dev/null 2>&1
  same "read ($impacts)" "$work/linux/$impacts.kvt" "$work/windows/$impacts.kvt"
done
unset KVT10_SIM_IMPACTS

file=$work/linux/demo.kvt
for lang in en ru; do
  for what in "info" "info --series 2" "info --series 8"; do
    name="$lang ${what// /_}"
    linux_cli --lang "$lang" $what "$file" >"$work/linux/$name" 2>&1 || true
    windows_cli --lang "$lang" $what "$(winpath "$file")" >"$work/windows/$name" 2>&1 || true
    same "$lang: $what" "$work/linux/$name" "$work/windows/$name"
  done
  # A damaged file gets the same message and status.
  head -c 100 "$file" >"$work/damaged.kvt"
  set +e
  linux_cli --lang "$lang" info "$work/damaged.kvt" >/dev/null 2>"$work/linux/damaged-$lang"
  echo "status $?" >>"$work/linux/damaged-$lang"
  windows_cli --lang "$lang" info "$(winpath "$work/damaged.kvt")" >/dev/null 2>"$work/windows/damaged-$lang"
  echo "status $?" >>"$work/windows/damaged-$lang"
  set -e
  # The message names the file as it was given; the rest must match.
  sed -i "s|$(winpath "$work/damaged.kvt" | sed 's/\\/\\\\/g')|FILE|; s|$work/damaged.kvt|FILE|" \
    "$work/linux/damaged-$lang" "$work/windows/damaged-$lang"
  same "$lang: a damaged file" "$work/linux/damaged-$lang" "$work/windows/damaged-$lang"
  linux_cli --lang "$lang" report "$file" --csv "$work/linux/report-$lang.csv" >/dev/null
  windows_cli --lang "$lang" report "$(winpath "$file")" --csv "$(winpath "$work/windows/report-$lang.csv")" >/dev/null
  same "$lang: report --csv" "$work/linux/report-$lang.csv" "$work/windows/report-$lang.csv"
  # The printed report: the same text on the same pages, whatever fonts the
  # system draws it with.
  linux_cli --lang "$lang" report "$file" --pdf "$work/linux/report-$lang.pdf" >/dev/null
  windows_cli --lang "$lang" report "$(winpath "$file")" --pdf "$(winpath "$work/windows/report-$lang.pdf")" >/dev/null
  for build in linux windows; do
    pdftotext -raw "$work/$build/report-$lang.pdf" "$work/$build/report-$lang.txt"
  done
  same "$lang: report --pdf, its text" "$work/linux/report-$lang.txt" "$work/windows/report-$lang.txt"
  # The spreadsheets, as Debian's readers find them (the archives carry the
  # time they were made).
  for sheet in xlsx ods; do
    linux_cli --lang "$lang" report "$file" --$sheet "$work/linux/report-$lang.$sheet" >/dev/null
    windows_cli --lang "$lang" report "$(winpath "$file")" --$sheet "$(winpath "$work/windows/report-$lang.$sheet")" >/dev/null
    for build in linux windows; do
      /usr/bin/python3 "$here/../report/read_sheet.py" $sheet "$work/$build/report-$lang.$sheet" >"$work/$build/report-$lang.$sheet.json"
    done
    same "$lang: report --$sheet, as read" "$work/linux/report-$lang.$sheet.json" "$work/windows/report-$lang.$sheet.json"
  done
done

for format in csv wav; do
  for series in 1 5; do
    for full in "" "--full"; do
      out="export-$format-$series$full"
      linux_cli export "$file" --series "$series" --curve all --format "$format" $full -o "$work/linux/$out" >/dev/null
      windows_cli export "$(winpath "$file")" --series "$series" --curve all --format "$format" $full \
        -o "$(winpath "$work/windows/$out")" >/dev/null
      if [ -d "$work/linux/$out" ]; then
        for exported in "$work/linux/$out"/*; do
          same "export $format series $series $full $(basename "$exported")" "$exported" "$work/windows/$out/$(basename "$exported")"
        done
      else
        same "export $format series $series $full" "$work/linux/$out" "$work/windows/$out"
      fi
    done
  done
done

if [ "$failures" -gt 0 ]; then
  echo "cross_check: $failures differences between the Linux and the Windows build" >&2
  exit 1
fi
echo "cross_check: the Windows build gives the Linux build's bytes"
