#!/usr/bin/env bash
# Draws scenes into pictures: the front door of build/release/scene/render_scene,
# which does the work (./suite render --help lists what it takes).
#   scripts/render.sh SCENE... [--size WxH] [--steps N] [--threads N] [--clock N] [--out FILE] [--frames N]
# The arguments' form is checked here before anything is installed or built
# (each SCENE a file, a link, or PROGRAM:K or PROGRAM@F of a listed program, and the
# options' values); the tool then checks the scenes themselves.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$here/programs.sh"
source "$here/setup.sh"

fail() {
  echo "render: $1 (./suite render --help)" >&2
  exit 2
}

scenes=0
help=""
args=("$@")
while [ $# -gt 0 ]; do
  case "$1" in
    -h | --help) help=yes; shift ;;
    --size)
      [[ "${2-}" =~ ^[0-9]{1,5}x[0-9]{1,5}$ ]] || fail "--size wants WIDTHxHEIGHT from 1x1 to 16384x16384, not '${2-}'"
      shift 2
      ;;
    --steps)
      [[ "${2-}" =~ ^[0-9]{1,12}$ ]] || fail "--steps wants a whole number from 0 to 100000000000, not '${2-}'"
      shift 2
      ;;
    --threads)
      [[ "${2-}" =~ ^[0-9]{1,3}$ ]] || fail "--threads wants a whole number from 1 to 256, not '${2-}'"
      shift 2
      ;;
    --clock)
      [[ "${2-}" =~ ^[0-9]{1,10}$ ]] || fail "--clock wants whole seconds from 1 to 4294967295, not '${2-}'"
      shift 2
      ;;
    --out)
      [[ "${2-}" =~ \.(png|svg|json|webp)$ ]] ||
        fail "--out wants a file name ending in .png, .svg, .json or (with --frames) .webp, not '${2-}'"
      shift 2
      ;;
    --frames)
      [[ "${2-}" =~ ^[0-9]{1,4}$ ]] || fail "--frames wants a whole number from 2 to 1000, not '${2-}'"
      shift 2
      ;;
    -*) fail "unknown option $1" ;;
    *)
      if [[ "$1" =~ ^([a-z_0-9]+)[:@][0-9]+$ ]] && [ ! -e "$1" ]; then
        check_program_name "${BASH_REMATCH[1]}" || exit 2
      elif [ ! -e "$1" ] && [[ "$1" != *=* ]]; then
        fail "no scene file '$1' (a SCENE is a file, a link, PROGRAM:K or PROGRAM@F)"
      fi
      scenes=$((scenes + 1))
      shift
      ;;
  esac
done
[ -n "$help" ] || [ "$scenes" -gt 0 ] || fail "no SCENE given"

ensure_packages run
build_tree release >/dev/null
exec "$root/build/release/scene/render_scene" "${args[@]}"
