#!/usr/bin/env bash
# ./suite render's output under stop signals, odd modes, a full or closed
# standard output and the longest file name, and the export's standard
# output likewise. Each row: the status, a piece of what must be said, the
# command (run in a fresh folder holding long.json and long_svg.json, with
# $render the real tool), and what must hold afterwards.
#   render_output_test.sh SOURCE_DIR BUILD_TREE
set -uo pipefail
export EXPORT_BUILD=$2 export_sh=$1/scripts/export.sh render=$2/scene/render_scene
scratch=$(mktemp -d /tmp/render-output.XXXXXX)
trap 'rm -rf -- "$scratch"' EXIT
failures=0
rows=0

# Work of seconds to minutes: a walk's skip of 10^10 draws; four generations of large discs as PNG.
circles='"circles": [{"x": -0.5, "y": 0, "r": 0.6}, {"x": 0.5, "y": 0, "r": 0.6}, {"x": 0, "y": 0.8, "r": 0.6}]'
head='"width": 800, "height": 600, "background": "white", "view": {"x": 0, "y": 0, "scale": 200}, "numbers": "double"'
long_json="{$head, $circles, \"layers\": [{\"draw\": \"walk\", \"circles\": \"all\", \"pick\": \"random\",
  \"inside\": \"invert\", \"point\": \"double\", \"steps\": 1000, \"burn_in\": 0, \"start\": {\"x\": 3, \"y\": 3},
  \"previous\": \"none\", \"seed\": 1, \"skip\": 10000000000, \"colour\": \"red\", \"plot\": \"pixel\"}]}"
long_svg_json="{$head, $circles, \"layers\": [{\"draw\": \"generations\", \"circles\": \"all\",
  \"style\": \"discs\", \"colours\": [\"red\", \"green\", \"blue\", \"black\"]}]}"
# Nothing but the scenes and what the row made is left in the folder.
only() { [ "$(ls -A | grep -v -e '^long.*json$' -e '^said$' | paste -sd' ')" = "$*" ]; }
stop() {  # SIGNAL ARGUMENT...: the render stopped by SIGNAL once it runs
  "$render" "${@:2}" & local render_pid=$!
  sleep 0.5
  kill -"$1" "$render_pid"
  wait "$render_pid"
}
name245=$(printf 'n%.0s' $(seq 241)).png

row() {  # STATUS SAYING COMMAND CHECK
  local want=$1 saying=$2 command=$3 check=$4 status=0 said
  rows=$((rows + 1))
  mkdir "$scratch/$rows" && cd "$scratch/$rows" || return
  printf '%s' "$long_json" >long.json
  printf '%s' "$long_svg_json" >long_svg.json
  eval "$command" 2>said || status=$?
  said=$(cat said)
  if [ "$status" -ne "$want" ] || [[ "$said" != *"$saying"* ]] || ! eval "$check"; then
    printf 'FAIL row %d: %s: status %d, said:\n%s\n' "$rows" "$command" "$status" "$said"
    failures=$((failures + 1))
  fi
}

# Stopped while drawing or writing: nothing left behind, 128 + the signal.
row 130 "" 'stop INT long.json --out x.png' 'only'
row 143 "" 'stop TERM long.json --out x.png' 'only'
row 129 "" 'stop HUP long.json --out x.svg' 'only'
row 124 "" 'timeout 1 "$render" long_svg.json --out x.png' 'only'
row 130 "" 'stop INT long.json long.json --frames 3 --out x.webp' 'only'
# A new file: 0666 less the umask; a file replaced keeps its mode.
row 0 "" '(umask 077 && "$render" soddy_gasket:1 --clock 1 --out x.png >/dev/null)' \
  '[ "$(stat -c %a x.png)" = 600 ] && only x.png'
row 0 "" 'echo old >x.png && chmod 640 x.png && "$render" soddy_gasket:1 --clock 1 --out x.png >/dev/null' \
  '[ "$(stat -c %a x.png)" = 640 ] && [ "$(head -c 4 x.png | tail -c 3)" = PNG ] && only x.png'
# The longest name a folder takes, no temporary name beside it.
row 0 "" '"$render" soddy_gasket:1 --clock 1 --out "$name245" >/dev/null' 'only "$name245"'
# Standard output full or closed: the system's reason, status 1, and the
# clock to draw it again said where it can be read.
row 1 "No space left on device" '"$render" soddy_gasket:1 --out x.png >/dev/full' \
  'grep -q "to draw this again: ./suite render soddy_gasket:1 --out x.png --clock" said && only x.png'
row 1 "Bad file descriptor" '"$render" soddy_gasket:1 --out x.png >&-' \
  'grep -q "to draw this again" said && only x.png'
row 1 "No space left on device" '"$export_sh" coaxal_pencil --out out >/dev/full' \
  'grep -q "to draw these pictures again" said && [ -f out/coaxal_pencil/frame-001.png ]'
row 1 "Bad file descriptor" '"$export_sh" coaxal_pencil --out out >&-' \
  'grep -q "to draw these pictures again" said'

echo "render output: $failures failure(s) in $rows rows"
[ "$failures" -eq 0 ]
