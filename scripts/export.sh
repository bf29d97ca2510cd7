#!/usr/bin/env bash
# Writes every picture of one program, or of all ten, as numbered PNG files,
# and what a program printed, if anything, as output.txt beside them:
#   scripts/export.sh [PROGRAM] [--clock SECONDS] [--out DIR]
# Each program runs headless with the harness preloaded (SDL's dummy video
# driver; every wait answered by a key press; time() pinned to the clock;
# each SDL_Flip saved), so the programs themselves take no options. The
# programs that draw random numbers seed them from the clock: the same
# clock gives the same pictures. Builds what it needs into build/export.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$here/programs.sh"

usage() {
  echo "usage: ./suite export [PROGRAM] [--clock SECONDS] [--out DIR]" >&2
  exit 2
}

clock=$(date +%s)
out=$root/pictures
chosen=("${programs[@]}")
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
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *)
      check_program_name "$1" || exit 2
      chosen=("$1")
      shift
      ;;
  esac
done

build=$root/build/export
echo "Building the programs and the export harness in $build ..."
# Configured once; the build step configures again when a CMakeLists changes.
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target picture_export >/dev/null
harness=$build/tests/harness/libheadless_harness.so

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
  rm -f "$folder"/picture-*.png "$folder/output.txt"
  status=0
  SDL_VIDEODRIVER=dummy LD_PRELOAD=$harness HARNESS_TIME=$clock HARNESS_EVENTS=key \
    HARNESS_PICTURES=$folder HARNESS_PICTURE_FORMAT=png "$build/bin/$name" >"$folder/output.txt" || status=$?
  [ -s "$folder/output.txt" ] || rm -f "$folder/output.txt"
  count=$(find "$folder" -maxdepth 1 -name 'picture-*.png' | wc -l)
  if [ "$status" -ne 0 ]; then
    echo "$name: ended with status $status after $count picture(s)"
    failed=1
  else
    echo "$name: $count picture(s) in $folder"
  fi
done
echo "Clock $clock; './suite export --clock $clock' draws these pictures again."
exit "$failed"
