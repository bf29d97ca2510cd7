#!/usr/bin/env bash
# The tree's floors, read from the sources and the built libraries:
#   1. an #include "..." never reaches up a floor, nor sideways into another
#      folder of the same floor (random, raster and images, the ground
#      floor, excepted);
#   2. no two modules (a header and its source) include each other, however
#      far round (tsort finds the loop);
#   3. only the window layer and the headless runner include SDL;
#   4. the raster core and the inversion geometry link with no SDL and no
#      stdio (nm of their archives).
#   layout_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
root=$1
build=$2
cd "$root" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

floor_of() {
  case "$1" in
    random | raster | images | commands) echo 0 ;;
    inversion) echo 1 ;;
    window | scene) echo 2 ;;
    programs) echo 3 ;;
    headless | tour) echo 4 ;;
    web) echo 5 ;;
    *) echo "" ;;
  esac
}

sources=$(git ls-files -- '*.cpp' '*.h' | grep -v -E '^(tests|build)/')
# Where each header lives, by its name (names are unique in the tree).
declare -A home
for file in $sources; do
  case "$file" in *.h) home[$(basename "$file")]=$file ;; esac
done

edges=()
for file in $sources; do
  folder=${file%%/*}
  mine=$(floor_of "$folder")
  [ -n "$mine" ] || { fail "$file is in no known floor"; continue; }
  module=${file%.*}
  while read -r name; do
    target=${home[$name]:-}
    [ -n "$target" ] || continue  # a library's header
    to=${target%%/*}
    theirs=$(floor_of "$to")
    if [ "$theirs" -gt "$mine" ] || { [ "$theirs" -eq "$mine" ] && [ "$to" != "$folder" ] && [ "$mine" -gt 0 ]; }; then
      fail "$file includes $target, which is not below it"
    fi
    [ "${target%.*}" != "$module" ] && edges+=("$module ${target%.*}")
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" | xargs -r -n1 basename)
  if grep -q -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<SDL' "$file"; then
    case "$file" in
      window/* | headless/headless_runner.cpp | headless/png_picture.*) ;;
      *) fail "$file includes SDL outside the window layer" ;;
    esac
  fi
done
loop=$(printf '%s\n' "${edges[@]}" | tsort 2>&1 >/dev/null)
[ -z "$loop" ] || fail "modules include each other: $(echo "$loop" | tr '\n' ' ')"

for archive in raster/libraster_core.a inversion/libinversion_core.a; do
  [ -f "$build/$archive" ] || { fail "$build/$archive is not built"; continue; }
  wrong=$(nm -u "$build/$archive" | awk '{ print $NF }' |
    grep -E '^(SDL_|_?_?(f|s|sn|v|vf)?printf|f?puts|fopen|fwrite|fread|fclose|fflush|perror|stdin|stdout|stderr)' | sort -u | tr '\n' ' ')
  [ -z "$wrong" ] || fail "$archive needs $wrong"
done

echo "layout: $failures failure(s)"
[ "$failures" -eq 0 ]
