#!/usr/bin/env bash
# The export under hostile conditions: links planted in its folder, a
# second export into the same folder, a full disk, a newline in the path,
# stop signals. Each row: the status and a piece of what must be said, a
# set-up, what happens while the export runs (its process is $export, in a
# process group of its own) and what must hold afterwards, then the
# export's arguments. Each row runs in a fresh folder.
#   export_faults_test.sh SOURCE_DIR BUILD_TREE
set -uo pipefail
set -m  # every export in a process group of its own, as a terminal's job is
source_dir=$1
export EXPORT_BUILD=$2 export_sh=$1/scripts/export.sh
scratch=$(mktemp -d /tmp/export-faults.XXXXXX)
trap 'umount "$scratch"/*/out 2>/dev/null; rm -rf -- "$scratch"' EXIT
failures=0
rows=0

# Patient: a sanitised build under load takes many seconds to reach a frame.
wait_for() { for _ in $(seq 12000); do [ -e "$1" ] && return 0; sleep 0.01; done; return 1; }
# Every frame is whole: animate_pictures reads them all.
whole_frames() { [ -z "$(find out -size 0)" ] && "$EXPORT_BUILD/headless/animate_pictures" all.webp out/*/frame-*.png; }
# Nothing the export started is left, nor writes on.
no_orphans() {
  local before
  before=$(find out | wc -l)
  sleep 0.3
  ! kill -0 -- -"$export" 2>/dev/null && [ "$(find out | wc -l)" -eq "$before" ]
}

row() {  # STATUS SAYING SETUP DURING CHECK ARGUMENT...
  local want=$1 saying=$2 setup=$3 during=$4 check=$5 status=0 said
  shift 5
  rows=$((rows + 1))
  mkdir "$scratch/$rows" && cd "$scratch/$rows" || return
  eval "$setup" || { echo "SKIP row $rows: $setup"; return; }
  "$export_sh" "$@" >said 2>&1 &
  export=$!
  eval "$during" || { echo "FAIL row $rows: while running: $during"; failures=$((failures + 1)); }
  wait "$export" || status=$?
  said=$(cat said)
  local held=held
  eval "$check" || held="did not hold: $check"
  if [ "$status" -ne "$want" ] || [[ "$said" != *"$saying"* ]] || [ "$held" != held ]; then
    printf 'FAIL row %d: export %q: status %d (want %d), afterwards %s, said:\n%s\n' \
      "$rows" "$*" "$status" "$want" "$held" "$said"
    failures=$((failures + 1))
  fi
}

# A program folder that is a link: refused, naming it; its target untouched.
row 1 "out/ring_zoom is a symbolic link" \
  'mkdir victim out && echo keep >victim/frame-001.png && ln -s ../victim out/ring_zoom' : \
  '[ "$(cat victim/frame-001.png)" = keep ] && [ "$(ls victim)" = frame-001.png ]' ring_zoom --out out
# A link planted at a frame's name while the program runs: not followed.
row 1 "frame-019.png: File exists" 'echo keep >victim' \
  'wait_for out/ring_zoom/frame-001.png && ln -s ../../victim out/ring_zoom/frame-019.png' \
  '[ "$(cat victim)" = keep ]' ring_zoom --out out
row 0 "1 frame(s) in" : : '[ -f "$(printf "new\nline")/coaxal_pencil/frame-001.png" ]' \
  coaxal_pencil --out "$(printf 'new\nline')"
# An earlier export's frames, under the name they had then (picture-NNN.png),
# go with its output.txt; a file of the user's stays.
row 0 "1 frame(s) in" \
  'mkdir -p out/coaxal_pencil && touch out/coaxal_pencil/{picture-001.png,picture-002.png,output.txt,notes.txt}' : \
  '[ "$(ls out/coaxal_pencil | tr "\n" " ")" = "frame-001.png notes.txt " ]' coaxal_pencil --out out
# A folder another export holds: this one waits, writing nothing meanwhile.
# The holder keeps the lock until the row lets it go, however busy the machine.
row 0 "waiting for it to end" \
  'mkdir out && : >hold && { flock out sh -c ": >held; while [ -e hold ]; do sleep 0.05; done" & } && wait_for held' \
  'sleep 0.5; empty=$(ls out); rm -f hold; [ -z "$empty" ]' : coaxal_pencil --out out
# Two exports into one folder at once: pictures and animations all of one
# clock.
row 0 "" '"$export_sh" ring_zoom soddy_radius_sweep --animate --clock 11 --out out >/dev/null 2>&1 &' : \
  'wait && for c in 11 12; do "$export_sh" ring_zoom soddy_radius_sweep --animate --clock $c --out $c >/dev/null; done &&
   { diff -r out 11 || diff -r out 12; } >/dev/null' \
  ring_zoom soddy_radius_sweep --animate --clock 12 --out out
# A disk that holds the pictures but not the animation: the system's reason,
# no .webp left, the program FAILED.
row 1 "ring_zoom.webp: No space left on device" \
  '"$export_sh" ring_zoom --clock 7 --out fits >/dev/null && mkdir out &&
   mount -t tmpfs -o size=$(($(du -sk fits/ring_zoom | cut -f1) + 8))k tmpfs out' : \
  'grep -q "ring_zoom: FAILED" said && [ ! -e out/ring_zoom.webp ] && umount out' \
  ring_zoom --clock 7 --animate --out out
# A stop signal, to the export alone (kill) or to its whole group (Ctrl-C):
# passed on, nothing left running, no partial frame, said, 128 + signal.
row 143 "interrupted by SIGTERM" : 'wait_for out/ring_zoom/frame-002.png && kill -TERM "$export"' \
  'no_orphans && whole_frames' --animate --out out
row 130 "interrupted by SIGINT" : 'wait_for out/ring_zoom/frame-002.png && kill -INT -- -"$export"' \
  'no_orphans && whole_frames' --animate --out out

echo "export faults: $failures failure(s) in $rows rows"
[ "$failures" -eq 0 ]
