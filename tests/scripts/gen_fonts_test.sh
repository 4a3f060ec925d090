#!/usr/bin/env bash
# The committed font data is what the generator makes: regenerate into a scratch folder and compare
# every generated file byte for byte. Skipped (77) without FreeType or the DejaVu fonts.
set -euo pipefail
root=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bash "$root/scripts/gen-fonts.sh" "$tmp"
status=0
for f in "$tmp"/*; do
  cmp "$f" "$root/GUI/Fonts/$(basename "$f")" || status=1
done
# And no stale font file is left behind in the tree.
for f in "$root"/GUI/Fonts/Font*.cpp; do
  [ -f "$tmp/$(basename "$f")" ] || { echo "stale: $f"; status=1; }
done
exit $status
