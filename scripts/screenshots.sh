#!/usr/bin/env bash
# Renders the desktop's screens offscreen into PNG files for review by eye: builds if needed,
# creates a demo database in a temporary folder and writes ./out/screenshots/*.png.
# ULMO_BUILD_DIR picks the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ULMO_BUILD_DIR:-$here/build}
out=$PWD/out/screenshots

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${ULMO_BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$build" --target ulmo ulmo-desktop -j "$(nproc)" >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bin/ulmo" --db "$tmp/demo.db" demo >/dev/null

rm -rf "$out"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
export QT_QPA_FONTDIR=${QT_QPA_FONTDIR:-/usr/share/fonts/truetype/dejavu}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$tmp}
# The selection is the demo's TCE-SC company; per-user settings stay in the temporary folder.
(cd "$tmp" && HOME="$tmp" TZ=UTC LC_ALL=C.UTF-8 "$build/bin/ulmo-desktop" --db "$tmp/demo.db" --capturas "$out" \
  2> >(grep -v "This plugin does not support" >&2))
echo "Telas em $out:"
ls "$out"
