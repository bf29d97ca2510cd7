#!/usr/bin/env bash
# Two tables, each row a fault and what the suite must then say and end with.
# Build states: build_tree over a stand-in project (one tiny source for every
# program and tool), so a row builds in seconds. Tour signals: the tour over
# stand-in programs that note the signal they get.
#   build_and_tour_test.sh SOURCE_DIR BUILD_TREE
set -uo pipefail
source_dir=$1
tour=$2/tour/tour
root=$(mktemp -d "/tmp/build states.XXXXXX")
trap 'rm -rf -- "$root"' EXIT
source "$source_dir/scripts/programs.sh"
source "$source_dir/scripts/setup.sh"
tree=$root/build/release
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$root"/{raster,inversion,random,programs,headless,bin}
echo '#define VERSION "1"' >"$root/programs/version.h"
printf '#include <cstdio>\n#include "version.h"\nint main() { std::puts(VERSION); }\n' >"$root/programs/program.cpp"
cat >"$root/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.19)
project(stand_in CXX)
foreach(name ${programs[*]} animate_pictures tour)
  add_executable(\${name} programs/program.cpp)
endforeach()
add_library(headless_runner MODULE programs/program.cpp)
set_target_properties(${programs[*]} PROPERTIES RUNTIME_OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/bin)
set_target_properties(animate_pictures tour headless_runner PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/headless LIBRARY_OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/headless)
# A source edited while the tree builds, when the row asks for it.
add_custom_command(TARGET ring_zoom POST_BUILD VERBATIM
  COMMAND sh -c "! rm ../../edit 2>/dev/null || echo '#define VERSION \"2\"' >../../programs/version.h")
EOF

configure_interrupted() { rm -rf "$tree"; cmake -S "$root" -B "$tree" >/dev/null; rm "$tree/Makefile"; }
program_deleted() { rm "$tree/bin/ring_zoom"; }
edited_during_build() { touch "$root/edit" "$root/programs/program.cpp"; build_tree release >/dev/null 2>&1; }
compile_error() { echo 'VERSION' >"$root/programs/version.h"; }
two_at_once() { echo '#define VERSION "3"' >"$root/programs/version.h"; rm -rf "$tree"; build_tree release >"$root/other" 2>&1 & }
# FAULT STATUS SAYING PROOF: after FAULT, build_tree ends with STATUS, says
# SAYING (both builds, for two at once) and PROOF holds.
while IFS='|' read -r fault status saying proof; do
  "$fault"
  said=$(build_tree release 2>&1 >/dev/null)
  got=$?
  wait
  said+=$(cat "$root/other" 2>/dev/null)
  [ "$got" -eq "$status" ] && [[ "$said" == *"$saying"* ]] && eval "$proof" ||
    fail "$fault: status $got, said: $said"
  rm -f "$root/other"
done <<'ROWS'
configure_interrupted|0||[ "$("$tree/bin/ring_zoom")" = 1 ]
program_deleted|0||[ -x "$tree/bin/ring_zoom" ]
edited_during_build|0||[ "$("$tree/bin/ring_zoom")" = 2 ]
compile_error|1|the build failed|[[ "$said" == *"error:"* ]]
two_at_once|0|Waiting for another command that is building build/release|[ -x "$tree/bin/ring_zoom" ]
ROWS
ln -s "$source_dir/suite" "$root/bin/suite"
said=$("$root/bin/suite" run nope 2>&1)
[ $? -eq 2 ] && [[ "$said" == *"no program called 'nope'"* ]] || fail "the suite through a link: $said"

# Tour signals: SIGNAL sent to the tour of PROGRAM (KILL to the program for
# "killed"), what the program must get, the tour's status and a line it says.
cat >"$root/bin/four_circle_packing" <<EOF
#!/usr/bin/env bash
for signal in HUP INT TERM; do trap "echo \$signal >'$root/got'; exit 1" \$signal; done
touch "$root/started"
while :; do sleep 0.02; done
EOF
chmod +x "$root/bin/four_circle_packing"
set -m  # the tour in a group of its own, where SIGINT is not ignored
while IFS='|' read -r signal program gets status saying; do
  rm -f "$root/got" "$root/started"
  "$tour" "$root/bin" "$program" >"$root/said" 2>&1 &
  for _ in $(seq 200); do [ -e "$root/started" ] || ! kill -0 $! 2>/dev/null && break; sleep 0.02; done
  case "$signal" in
    killed) pkill -KILL -P $! ;;
    -) ;;
    *) kill "-$signal" $! ;;
  esac
  wait $!
  got=$?
  [ "$got" -eq "$status" ] && [ "$(cat "$root/got" 2>/dev/null)" = "$gets" ] && grep -q "$saying" "$root/said" &&
    ! grep -qi display "$root/said" || fail "tour, $signal: status $got, the program got '$(cat "$root/got" 2>/dev/null)': $(cat "$root/said")"
done 2>/dev/null <<'ROWS'  # (the job reports of set -m)
HUP|four_circle_packing|HUP|129|Tour stopped.
TERM|four_circle_packing|TERM|143|Tour stopped.
INT|four_circle_packing|INT|130|Tour stopped.
killed|four_circle_packing||137|four_circle_packing was ended by the signal SIGKILL (Killed)
-|apollonian_circles||1|apollonian_circles cannot be started: No such file or directory
ROWS

echo "build states and tour signals: $failures failure(s)"
[ "$failures" -eq 0 ]
