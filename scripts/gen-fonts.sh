#!/usr/bin/env bash
# Renders the panel's fonts from DejaVu into GUI/Fonts (or OUTDIR) with the generator in scripts/fontgen:
#   bash scripts/gen-fonts.sh [OUTDIR]
# Needs libfreetype-dev and the DejaVu fonts (fonts-dejavu-core, fonts-dejavu-extra). Exits 77 when one
# of them is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-GUI/Fonts}
fonts=${VRN_DEJAVU_DIR:-/usr/share/fonts/truetype/dejavu}
cxx=${CXX:-g++}
if ! pkg-config --exists freetype2 || [ ! -f "$fonts/DejaVuSansCondensed-Bold.ttf" ]; then
  echo "gen-fonts: libfreetype-dev or the DejaVu fonts are missing" >&2
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# shellcheck disable=SC2046
"$cxx" -std=c++20 -O1 -I. $(pkg-config --cflags freetype2) scripts/fontgen/fontgen.cpp \
  $(pkg-config --libs freetype2) -o "$tmp/vrn-fontgen"
mkdir -p "$out"
"$tmp/vrn-fontgen" "$fonts" "$out"
