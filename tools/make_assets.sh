#!/usr/bin/env bash
# Remakes the committed assets: the two default sounds (tools/make_sounds.py, needs lame)
# and the pictures (tools/draw_pictures.cpp, built in the given build folder).
# Usage: tools/make_assets.sh [build folder]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
python3 "$root/tools/make_sounds.py" "$root/assets"
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target tolvane_draw_pictures
QT_QPA_PLATFORM=offscreen "$build/ring/tolvane_draw_pictures" "$root/assets"
