#!/usr/bin/env bash
# Shows the programs one after another in a window; any key advances.
set -euo pipefail
bin=$1
shift
tour=(
  "soddy_gasket 2"
  "coaxal_pencil 1"
  "five_circle_limit 4"
  "ring_zoom 2"
  "four_circle_packing 5"
  "two_circle_iteration 4"
  "apollonian_circles 1"
  "soddy_radius_sweep 15"
  "image_inversion 2"
  "spoke_inversion 1"
)
if [ $# -gt 0 ]; then
  chosen=()
  for entry in "${tour[@]}"; do
    [ "${entry%% *}" = "$1" ] && chosen+=("$entry")
  done
  if [ ${#chosen[@]} -eq 0 ]; then
    echo "no program called '$1'; the programs are: $(printf '%s ' "${tour[@]%% *}")" >&2
    exit 2
  fi
  tour=("${chosen[@]}")
fi
place=0
for entry in "${tour[@]}"; do
  place=$((place + 1))
  name=${entry%% *}
  waits=${entry##* }
  [ -x "$bin/$name" ] || continue
  echo "[$place/${#tour[@]}] $name: $waits picture(s) to advance through; press any key in the window"
  "$bin/$name"
done
