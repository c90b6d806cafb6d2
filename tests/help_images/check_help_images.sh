#!/usr/bin/env bash
# The guide's picture script runs and takes every picture the guides show,
# into a folder of its own (the committed pictures are left alone).
#   check_help_images.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bash "$source_dir/scripts/help-images" --build "$build_dir" "$work/images" >"$work/log" 2>&1 || {
  cat "$work/log"
  echo "FAIL: scripts/help-images failed"
  exit 1
}
missing=0
for guide in "$source_dir"/help/KVT10Help.*.html; do
  for image in $(grep -o 'src="images/[^"]*"' "$guide" | sed 's/^src="images\///; s/"$//'); do
    if [ ! -s "$work/images/$image" ]; then
      echo "FAIL: $(basename "$guide") shows $image, which the script did not take"
      missing=1
    fi
  done
done
[ "$missing" -eq 0 ] || { cat "$work/log"; exit 1; }
echo "help images: every picture the guides show was taken"
