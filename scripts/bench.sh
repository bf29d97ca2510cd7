#!/usr/bin/env bash
# Measures, in one run on this machine:
#   the walk: ns a step of each variant, against a bare loop with the same
#             inline generator (Google Benchmark, medians of 5);
#   draw_circle and fill_disc of radius 10^9 across the window, and
#             draw_pixel_circle and fill_pixel_disc of radius 10^12, a call;
#   the rasteriser fuzzer: executions in the 20 s the test gives it;
#   ring_zoom, the whole program headless (median of 7 runs);
#   ring_zoom in a real window (Xvfb): from the key to its second picture;
#   the whole-suite export of all 69 frames, build already done (median
#   of 5 runs);
#   the poster, ./suite render five_circle_limit:1 --clock 1700000000 --size
#   7680x4320 --steps 1000000000, on one thread and on every core, against
#   the bare loop of the same walk on a canvas of the same size, one thread
#   (CPU and wall time, the render's memory; target: every core in 0.75 x
#   the bare loop's wall time);
#   the limit set layer: five_circle_limit:1's walk as a limit_set layer at
#   800 x 600 and 7680 x 4320, against 10^8 steps of its walk on the same
#   canvas (target: the layer at 7680 x 4320 within the 10^8 steps);
#   a program losing its display (Xvfb): from the fault to its end, against
#   1 s;
#   in headless Chromium, against their targets: each program's first
#   picture (1 s), ring_zoom's zoom (1.5 s), each last picture by its link
#   (1 s, ring_zoom's 1.5 s), and the explorer's drag (median 16 ms, 95th
#   percentile 33 ms, the walk complete 250 ms after the pointer rests).
# Builds build/bench (optimised, with the benchmarks, no bounds checks),
# build/fuzz (with clang, when there is one) and, with emscripten, node and
# Chromium, the site (build/web/site) and the browser tests' packages; uses
# build/test's real-window tests (./suite test builds them) on build/bench's
# ring_zoom. Ends with status 1, naming each missed target, when one is.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
bench=$root/build/bench
scratch=$(mktemp -d)
trap 'rm -rf -- "$scratch"' EXIT
missed=()  # the targets missed, one line each

echo "Building $bench ..."
[ -f "$bench/CMakeCache.txt" ] || cmake -S "$root" -B "$bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$bench" -j "$(nproc)" --target walk_benchmark circle_benchmark picture_export poster_benchmark \
  render_scene limit_set_benchmark >/dev/null
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"

# The median of the numbers on standard input.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Seconds a command takes, wall clock, one number per run.
seconds_of() {
  local runs=$1 start
  shift
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    echo "scale=3; ($(date +%s%N) - $start) / 1000000000" | bc
  done
}

echo
echo "Walk, ns a step (medians of 5 repetitions):"
"$bench/tests/benchmarks/walk_benchmark" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  2>/dev/null | sed -n '/^variant/,$s/^/  /p'

echo
echo "A circle of radius 10^9, and one of 10^12 at 45 degrees, across the 800 x 600 window, CPU time a call (medians of 5):"
"$bench/tests/benchmarks/circle_benchmark" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  2>/dev/null | awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); printf "  %-44s %8s %s\n", $1, $4, $5 }'

fuzz=$root/build/fuzz
if command -v clang++ >/dev/null; then
  [ -f "$fuzz/CMakeCache.txt" ] || cmake -S "$root/tests/fuzz" -B "$fuzz" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$fuzz" -j "$(nproc)" >/dev/null
  mkdir "$scratch/corpus"
  stats=$("$fuzz/raster_fuzz" -max_total_time=20 -max_len=70 -print_final_stats=1 "$scratch/corpus" \
    "$root/tests/fuzz/corpus" 2>&1)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' <<<"$stats")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' <<<"$stats")
  echo "Rasteriser fuzzer, 20 s as the fuzz test runs it: ${runs:-?} executions (${rate:-?} a second)"
else
  echo "Rasteriser fuzzer: not measured (it needs clang++)"
fi

runner=$bench/headless/libheadless_runner.so
ring_zoom() {
  exec 3<"$runner"
  SDL_VIDEODRIVER=dummy LD_PRELOAD=/proc/self/fd/3 HARNESS_TIME=1700000000 "$bench/bin/ring_zoom"
}
echo
echo "ring_zoom, whole program headless: $(seconds_of 7 ring_zoom | median) s (median of 7)"

window_tests=$root/build/test/tests/window/window_tests
if [ -x "$window_tests" ] && command -v Xvfb >/dev/null; then
  shown=$(WINDOW_TEST_PROGRAM_DIR=$bench/bin "$window_tests" --gtest_filter='*ring_zoom*' 2>/dev/null | sed -n 's/^timing: ring_zoom picture 2 on screen \([0-9]*\) ms.*/\1/p')
  echo "ring_zoom in a window (Xvfb), key to its second picture: ${shown:-?} ms"
  echo "A waiting program losing its display (Xvfb), from the fault to its end (target 1000 ms):"
  while IFS='|' read -r fault ms; do
    echo "  $fault: $ms ms"
    [ "$ms" -le 1000 ] || missed+=("a program losing its display ($fault): $ms ms, target 1000 ms")
  done < <("$window_tests" --gtest_filter='DisplayFaults.*' 2>/dev/null |
           sed -n 's/^timing: \(.*\), the program ended \([0-9]*\) ms after it$/\1|\2/p')
else
  echo "Programs in a window: not measured (./suite test builds the real-window tests; they need Xvfb)"
fi

export_all() { EXPORT_BUILD=$bench "$root/scripts/export.sh" --clock 1700000000 --out "$scratch/pictures"; }
whole_export() { "$root/suite" export --clock 1700000000 --out "$scratch/pictures"; }
echo "Export of every frame, programs and runner only: $(seconds_of 5 export_all | median) s (median of 5)"
echo "./suite export, package and build checks included: $(seconds_of 5 whole_export | median) s (median of 5)"

# The poster's walk is 10^9 steps; CPU time is the fairer figure on a machine
# shared with other work, wall time the one a user waits. It is drawn on one
# thread and on every core; target: every core in at most 0.75 times the
# bare loop's wall time.
poster=(five_circle_limit:1 --clock 1700000000 --size 7680x4320 --steps 1000000000)
cores=$(nproc)
echo
echo "Poster, ./suite render ${poster[*]} (load average before: $(cut -d' ' -f1-3 /proc/loadavg)):"
bare=$("$bench/tests/benchmarks/poster_benchmark" 7680 4320 1000000000 1700000000)
read -r bare_cpu bare_wall < <(sed -n 's/.*: \([0-9.]*\) s CPU, \([0-9.]*\) s wall/\1 \2/p' <<<"$bare")
echo "  bare loop of the same steps, one thread: $bare_cpu s CPU, $bare_wall s wall"
echo "  $(sed -n 's/^the chain alone/the chain of inversions alone/p' <<<"$bare") (the floor for any number of threads)"
for threads in 1 "$cores"; do
  read -r user system wall memory < <(/usr/bin/time -f '%U %S %e %M' "$bench/scene/render_scene" "${poster[@]}" \
    --threads "$threads" --out "$scratch/poster.png" 2>&1 >/dev/null | tail -1)
  cpu=$(echo "$user + $system" | bc)
  ratio=$(echo "scale=4; $wall / $bare_wall" | bc)
  printf '  render --threads %s: %s s CPU, %s s wall, %s MB at most; %.2f x the bare loop'"'"'s CPU, %.2f x its wall time\n' \
    "$threads" "$cpu" "$wall" "$((memory / 1024))" "$(echo "scale=4; $cpu / $bare_cpu" | bc)" "$ratio"
  if [ "$threads" = "$cores" ] && [ "$(echo "$ratio > 0.75" | bc)" = 1 ]; then
    missed+=("the poster on $cores threads: $wall s wall, $(printf '%.2f' "$ratio") x the bare loop's $bare_wall s, target 0.75 x")
  fi
done
echo "  load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "Limit set layer, five_circle_limit:1's walk as a limit_set layer, CPU time (medians of 5):"
limit=$("$bench/tests/benchmarks/limit_set_benchmark" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true 2>/dev/null | awk '$1 ~ /_median$/ { sub(/_median$/, "", $1); sub(/^layer\//, "", $1); sub(/\/iterations:1$/, "", $1); print $1, $4, $5 }')
awk '{ printf "  %-28s %10s %s\n", $1, $2, $3 }' <<<"$limit"
layer_ms=$(awk '$1 == "limit_set_7680x4320" { print $2 }' <<<"$limit")
walk_ms=$(awk '$1 == "walk_1e8_steps_7680x4320" { print $2 }' <<<"$limit")
if [ -n "$layer_ms" ] && [ -n "$walk_ms" ] && [ "$(echo "$layer_ms <= $walk_ms" | bc)" -ne 1 ]; then
  missed+=("limit set layer at 7680x4320: $layer_ms ms, more than 10^8 walk steps ($walk_ms ms)")
fi

echo
if command -v emcmake >/dev/null && command -v node >/dev/null && [ -x /usr/bin/chromium ]; then
  "$root/scripts/web.sh" --no-serve >/dev/null
  [ -d "$root/tests/web/node_modules" ] || (cd "$root/tests/web" && npm ci --no-audit --no-fund >/dev/null)
  for script in measure.mjs explore_measure.mjs; do
    echo "Browser, node tests/web/$script build/web/site --bench:"
    status=0
    node "$root/tests/web/$script" "$root/build/web/site" --bench >"$scratch/browser" 2>&1 || status=$?
    # The figures' own lines; a failed assertion repeats them indented.
    grep -E '^[^ #].*( ms   target [0-9]+ ms| gzipped [0-9.]+ KB$)' "$scratch/browser" | sed 's/^/  /' || true
    while read -r line; do missed+=("$line"); done < <(grep -E '^[^ #].*MISSED$' "$scratch/browser" | sed 's/ *MISSED$//; s/   */ /g')
    if [ "$status" -ne 0 ] && ! grep -q 'MISSED$' "$scratch/browser"; then
      missed+=("tests/web/$script did not finish (status $status); its output: $(tail -c 400 "$scratch/browser")")
    fi
  done
else
  echo "Browser figures: not measured (they need emscripten, node and Chromium at /usr/bin/chromium)"
fi

if [ ${#missed[@]} -gt 0 ]; then
  echo
  echo "Missed targets:"
  printf '  %s\n' "${missed[@]}"
  exit 1
fi
