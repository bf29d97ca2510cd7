#!/usr/bin/env bash
# Writes every frame of some programs, or of all ten, as numbered PNG files
# (frame-001.png onwards, one a flip), and what a program printed, if
# anything, as output.txt beside them:
#   scripts/export.sh [PROGRAM...] [--clock SECONDS] [--out DIR] [--motion]
# The front door of the export: every argument is checked before anything
# is installed, built or created; then the packages are set up and
# build/release built, unless EXPORT_BUILD=DIR names a tree already built,
# which is used as it is; then export_pictures (headless/) does the export:
# each program headless with the runner preloaded, the same clock giving the
# same frames, and with --motion DIR/PROGRAM.webp, the frames as one
# motion, an animated WebP (--animate, its name before, still works) (for the programs named, or else for every program with more
# than one picture).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$here/programs.sh"
source "$here/setup.sh"

usage() {
  echo "usage: ./suite export [PROGRAM...] [--clock SECONDS] [--out DIR] [--motion]" >&2
  exit 2
}

# The clock's form is checked here: whole seconds, digits alone, not 0.
# Its range is export_pictures' (commands/whole_number.h, the one owner),
# which refuses a clock past the largest with the same kind of line.
check_clock() {
  [[ "$1" =~ ^[0-9]+$ ]] && [[ "$1" =~ [1-9] ]] || {
    echo "--clock wants whole seconds from 1, not '$1'" >&2
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
      clock=${2#"${2%%[!0]*}"}  # leading zeros off; the digits may be many
      shift 2
      ;;
    --out)
      [ $# -ge 2 ] && [ -n "$2" ] || { echo "--out wants a folder" >&2; usage; }
      case "$2" in -*) echo "--out wants a folder, not the option '$2' (write ./$2 for a folder of that name)" >&2; usage ;; esac
      out=$2
      shift 2
      ;;
    --motion | --animate) animate=animate; shift ;;  # --animate: the name it had before
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
if [ -L "$out" ] && [ ! -e "$out" ]; then
  echo "--out: '$out' is a symbolic link to '$(readlink -- "$out")', which does not exist" >&2
  exit 2
fi
[ -n "$clock" ] || clock=$(date +%s)

# Nothing is created before the build has succeeded.
if [ -n "${EXPORT_BUILD:-}" ]; then
  build=$EXPORT_BUILD
else
  ensure_packages run
  build=$root/build/release
  build_tree release >/dev/null
fi
[ -f "$build/headless/libheadless_runner.so" ] || { echo "no headless runner at $build/headless/libheadless_runner.so" >&2; exit 1; }
[ -x "$build/headless/export_pictures" ] || { echo "no export_pictures at $build/headless/export_pictures" >&2; exit 1; }

# The rest, from creating the folder on, is export_pictures (headless/):
# it holds the folder, opens every file in it without following a link,
# runs the programs side by side and passes a stop signal on to them.
wanted=()
for name in "${chosen[@]}"; do wanted+=("$name=${program_frames[$name]}"); done
scope=all
[ "$named" -eq 0 ] || scope=named
exec "$build/headless/export_pictures" "$build" "$out" "$clock" "${animate:-still}" "$scope" "${wanted[@]}"
