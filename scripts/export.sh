#!/usr/bin/env bash
# Writes every picture of one program, or of all ten, as numbered PNG files:
#   scripts/export.sh [PROGRAM] [--clock SECONDS] [--out DIR] [--animate]
# Each program runs headless with the harness preloaded (SDL's dummy video
# driver; every wait answered by a key press; time() pinned to the clock;
# each SDL_Flip saved), so the programs themselves take no options. The
# programs that draw random numbers seed them from the clock: the same
# clock gives the same pictures. --animate also writes DIR/PROGRAM.webp, the
# pictures as one animation: for the program named, or else for every program
# with more than one picture. Builds what it needs into build/export; with
# EXPORT_BUILD=DIR it uses the tree already built there and builds nothing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$here/programs.sh"

usage() {
  echo "usage: ./suite export [PROGRAM] [--clock SECONDS] [--out DIR] [--animate]" >&2
  exit 2
}

clock=$(date +%s)
out=$root/pictures
chosen=("${programs[@]}")
named=""
animate=""
while [ $# -gt 0 ]; do
  case "$1" in
    --clock)
      [ $# -ge 2 ] && [[ "$2" =~ ^[0-9]+$ ]] || { echo "--clock wants whole seconds since 1970" >&2; usage; }
      clock=$2
      shift 2
      ;;
    --out)
      [ $# -ge 2 ] && [ -n "$2" ] || usage
      out=$2
      shift 2
      ;;
    --animate)
      animate=yes
      shift
      ;;
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *)
      check_program_name "$1" || exit 2
      chosen=("$1")
      named=$1
      shift
      ;;
  esac
done

targets=(picture_export)
[ -n "$animate" ] && targets+=(animate_pictures)
if [ -n "${EXPORT_BUILD:-}" ]; then
  build=$EXPORT_BUILD
else
  build=$root/build/export
  echo "Building the programs and the export harness in $build ..."
  # Configured once; the build step configures again when a CMakeLists changes.
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null
fi
harness=$build/tests/harness/libheadless_harness.so
animator=$build/headless/animate_pictures

mkdir -p "$out"
out=$(cd "$out" && pwd)
failed=0
for name in "${chosen[@]}"; do
  if [ ! -x "$build/bin/$name" ]; then
    echo "$name: not built, left out"
    failed=1
    continue
  fi
  folder=$out/$name
  mkdir -p "$folder"
  rm -f "$folder"/picture-*.png
  status=0
  SDL_VIDEODRIVER=dummy LD_PRELOAD=$harness HARNESS_TIME=$clock HARNESS_EVENTS=key \
    HARNESS_PICTURES=$folder HARNESS_PICTURE_FORMAT=png "$build/bin/$name" >/dev/null || status=$?
  count=$(find "$folder" -maxdepth 1 -name 'picture-*.png' | wc -l)
  if [ "$status" -ne 0 ]; then
    echo "$name: ended with status $status after $count picture(s)"
    failed=1
  else
    echo "$name: $count picture(s) in $folder"
    if [ -n "$animate" ] && { [ -n "$named" ] || [ "$count" -gt 1 ]; }; then
      if "$animator" "$out/$name.webp" "$folder"/picture-*.png; then
        echo "$name: animation in $out/$name.webp"
      else
        failed=1
      fi
    fi
  fi
done
echo "Clock $clock; './suite export --clock $clock' draws these pictures again."
exit "$failed"
