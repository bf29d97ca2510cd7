#!/usr/bin/env bash
# Shows the programs one after another in a window:
#   scripts/tour.sh BIN [PROGRAM...]
# Any key in the window shows the next picture; closing the window only
# skips to the next picture, as the programs do; Ctrl-C here ends the tour.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/programs.sh"
bin=$1
shift
tour=("${programs[@]}")
if [ $# -gt 0 ]; then
  for name in "$@"; do check_program_name "$name" || exit 2; done
  tour=("$@")
fi

# Where no display answers, SDL 2 under the compatibility layer may fall back
# to its offscreen driver and wait, unseen, for a key that never comes;
# naming the driver turns that into an error.
if [ -z "${SDL_VIDEODRIVER:-}" ]; then
  if [ -n "${DISPLAY:-}" ]; then export SDL_VIDEODRIVER=x11; else export SDL_VIDEODRIVER=wayland; fi
fi

# The program runs in the background, where SIGINT is ignored; Ctrl-C here
# ends it with SIGTERM, which ends a program at once.
running=0
trap '[ "$running" -gt 0 ] && { kill -TERM "$running"; wait "$running" || true; } 2>/dev/null; echo; echo "Tour stopped."; exit 130' INT TERM

# A program's own output (four_circle_packing prints its generation sizes,
# with no newline, as each picture comes up) is shown as it is written, on a
# line of its own that names the program.
show_output() {
  local name=$1 started="" c
  while IFS= read -r -d '' -n 1 c; do
    [ -n "$started" ] || { printf '    %s printed: ' "$name"; started=yes; }
    printf '%s' "$c"
  done
  [ -z "$started" ] || echo
}

if [ ${#tour[@]} -gt 1 ]; then
  echo "A tour of ${#tour[@]} programs. In each window any key shows the next picture;"
  echo "closing the window only skips to the next one. Ctrl-C here ends the tour."
fi
place=0
for name in "${tour[@]}"; do
  place=$((place + 1))
  pictures=${program_pictures[$name]}
  if [ ! -x "$bin/$name" ]; then
    echo "[$place/${#tour[@]}] $name is not built; left out"
    continue
  fi
  [ "$pictures" -eq 1 ] && held="1 picture" || held="$pictures pictures"
  echo "[$place/${#tour[@]}] $name: ${program_about[$name]} ($held; any key goes on)"
  status=0
  exec 4> >(show_output "$name")
  reader=$!
  "$bin/$name" >&4 4>&- &
  running=$!
  exec 4>&-
  wait "$running" || status=$?
  running=0
  wait "$reader" || true  # the output shown to its end
  if [ "$status" -ne 0 ]; then
    echo "$name ended with status $status. Without a working display, './suite export' writes the pictures as PNG files." >&2
    exit "$status"
  fi
done
