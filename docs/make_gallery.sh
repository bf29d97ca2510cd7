#!/usr/bin/env bash
# Remakes the README's gallery, docs/gallery/PROGRAM.png: the last frame of
# every program, exported with a fixed clock so that it stays the same, and
# stored losslessly as a palette PNG to keep it small (needs netpbm). The
# programs whose pictures are the stages of one motion also get
# docs/gallery/PROGRAM.webp, all their frames as one animation.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
clock=1700000000
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
animated=(ring_zoom soddy_radius_sweep)
"$root/suite" export --clock "$clock" --out "$scratch" --motion
mkdir -p "$root/docs/gallery"
for folder in "$scratch"/*/; do
  name=$(basename "$folder")
  last=$(find "$folder" -name 'frame-*.png' | sort | tail -1)
  pngtopnm "$last" | pnmtopng -compression 9 >"$root/docs/gallery/$name.png" 2>/dev/null
done
for name in "${animated[@]}"; do
  cp "$scratch/$name.webp" "$root/docs/gallery/$name.webp"
done
ls -l "$root/docs/gallery"
