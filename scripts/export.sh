#!/usr/bin/env bash
# Writes every picture of some programs, or of all ten, as numbered PNG files,
# and what a program printed, if anything, as output.txt beside them:
#   scripts/export.sh [PROGRAM...] [--clock SECONDS] [--out DIR] [--animate]
# Each program runs headless with the runner of headless/ preloaded (SDL's
# dummy video driver; every wait answered by a key press; time() pinned to
# the clock; each SDL_Flip saved), so the programs themselves take no
# options. The programs that draw random numbers seed them from the clock:
# the same clock gives the same pictures. --animate also writes
# DIR/PROGRAM.webp, the pictures as one animation: for the programs named,
# or else for every program with more than one picture. Every argument is
# checked before anything is installed or built; then the packages are set
# up and build/release built, unless EXPORT_BUILD=DIR names a tree already
# built, which is used as it is.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$here/programs.sh"
source "$here/setup.sh"

usage() {
  echo "usage: ./suite export [PROGRAM...] [--clock SECONDS] [--out DIR] [--animate]" >&2
  exit 2
}

# The programs seed with the clock as an unsigned 32-bit number, where 0 and
# 1 seed alike: 1 to 4294967295 are the clocks that each draw their own.
largest_clock=4294967295
check_clock() {
  local digits=${1#"${1%%[!0]*}"}  # leading zeros off
  [[ "$1" =~ ^[0-9]+$ ]] && [[ "$digits" =~ ^[0-9]{1,10}$ ]] && [ "$((10#$digits))" -le "$largest_clock" ] || {
    echo "--clock wants whole seconds from 1 to $largest_clock, not '$1'" >&2
    usage
  }
}

clock=""
out=$root/pictures
chosen=()
animate=""
while [ $# -gt 0 ]; do
  case "$1" in
    --clock)
      [ $# -ge 2 ] || usage
      check_clock "$2"
      clock=$((10#${2#"${2%%[!0]*}"}))
      shift 2
      ;;
    --out)
      [ $# -ge 2 ] && [ -n "$2" ] || { echo "--out wants a folder" >&2; usage; }
      case "$2" in -*) echo "--out wants a folder, not the option '$2' (write ./$2 for a folder of that name)" >&2; usage ;; esac
      out=$2
      shift 2
      ;;
    --animate) animate=yes; shift ;;
    -h | --help) usage ;;
    -*) echo "unknown option $1" >&2; usage ;;
    *)
      check_program_name "$1" || usage
      [[ " ${chosen[*]} " == *" $1 "* ]] || chosen+=("$1")
      shift
      ;;
  esac
done
named=${#chosen[@]}
[ "$named" -gt 0 ] || chosen=("${programs[@]}")
if [ -e "$out" ] && [ ! -d "$out" ]; then
  echo "--out: '$out' is a file, not a folder" >&2
  exit 2
fi
mkdir -p -- "$out" || exit 1
out=$(cd -- "$out" && pwd)
[ -w "$out" ] || { echo "cannot write into '$out'" >&2; exit 1; }
[ -n "$clock" ] || clock=$(date +%s)

if [ -n "${EXPORT_BUILD:-}" ]; then
  build=$EXPORT_BUILD
else
  ensure_packages run
  build=$root/build/release
  build_tree release >/dev/null
fi
runner=$build/headless/libheadless_runner.so
animator=$build/headless/animate_pictures
[ -f "$runner" ] || { echo "no headless runner at $runner" >&2; exit 1; }

# Exports one program into $out/$name; its report goes to $1 and its status
# is the export's. The runner is preloaded through a descriptor, since the
# dynamic loader splits LD_PRELOAD at spaces.
export_program() {
  local report=$1 name=$2 folder=$out/$2 status=0 count
  mkdir -p -- "$folder"
  rm -f -- "$folder"/picture-*.png "$folder/output.txt" "$out/$name.webp"
  exec 3<"$runner"
  SDL_VIDEODRIVER=dummy LD_PRELOAD=/proc/self/fd/3 HARNESS_TIME=$clock HARNESS_EVENTS=key \
    HARNESS_PICTURES=$folder HARNESS_PICTURE_FORMAT=png "$build/bin/$name" >"$folder/output.txt" || status=$?
  exec 3<&-
  [ -s "$folder/output.txt" ] || rm -f -- "$folder/output.txt"
  count=$(find "$folder" -maxdepth 1 -name 'picture-*.png' | wc -l)
  if [ "$status" -ne 0 ] || [ "$count" -ne "${program_flips[$name]}" ]; then
    echo "$name: FAILED: status $status after $count of ${program_flips[$name]} picture(s)" >"$report"
    return 1
  fi
  echo "$name: $count picture(s) in $folder" >"$report"
  if [ -n "$animate" ] && { [ "$named" -gt 0 ] || [ "$count" -gt 1 ]; }; then
    "$animator" "$out/$name.webp" "$folder"/picture-*.png || return 1
    echo "$name: animation in $out/$name.webp" >>"$report"
  fi
}

# Side by side, as many at once as there are cores.
reports=$(mktemp -d)
trap 'rm -rf -- "$reports"' EXIT
failed=0
running=0
for name in "${chosen[@]}"; do
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  export_program "$reports/$name" "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
for name in "${chosen[@]}"; do cat -- "$reports/$name" 2>/dev/null || echo "$name: FAILED"; done

command=(./suite export)
[ "$named" -gt 0 ] && command+=("${chosen[@]}")
command+=(--clock "$clock" --out "$out")
[ -n "$animate" ] && command+=(--animate)
again=$(printf '%q ' "${command[@]}")
echo "Clock $clock; to draw these pictures again: ${again% }"
exit "$failed"
