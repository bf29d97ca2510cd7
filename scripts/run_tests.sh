#!/usr/bin/env bash
# Runs every test of the trees built under BUILD (build/ by ./suite test):
#   1. test      unit and whole-program tests, pixel bounds checked
#   2. sanitize  the same tests under AddressSanitizer and UndefinedBehavior-
#                Sanitizer: any report fails the test it happens in
#   3. fuzz      the rasterisers fuzzed for a bounded time (skipped when the
#                fuzzer was not built: no clang)
#   4. memcheck  every program once under valgrind, headless, to its end
#   5. web       the browser version, built with emscripten, in headless
#                Chromium against the native pictures (skipped, in one line,
#                without emscripten, Chromium or node's packages)
# Every part runs even when an earlier one fails; the exit status says
# whether all passed.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
failed=()
summaries=$(mktemp)
trap 'rm -f "$summaries"' EXIT

# Runs one part, keeping ctest's closing line ("N% tests passed, F tests
# failed out of T") for the total at the end.
part() {
  local name=$1
  shift
  echo
  echo "=== $name"
  local log status
  log=$(mktemp)
  "$@" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" >>"$summaries"
  rm -f "$log"
  [ "$status" -eq 0 ] || failed+=("$name")
}

part "tests" ctest --test-dir "$build/test" --output-on-failure -j "$jobs"

# The harness is preloaded ahead of the ASan runtime, which ASan would
# otherwise refuse. The real-window tests run with leak checking off: Mesa's
# GL driver, which SDL loads for an X window and unloads at exit, leaves
# blocks that LeakSanitizer cannot trace back to it.
sanitized_ctest() {
  UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=verify_asan_link_order=0:$1 \
    ctest --test-dir "$build/sanitize" --output-on-failure -j "$jobs" "${@:2}"
}
part "tests under ASan and UBSan" sanitized_ctest detect_leaks=1 -LE window
part "real-window tests under ASan and UBSan" sanitized_ctest detect_leaks=0 -L window

if [ -x "$build/fuzz/raster_fuzz" ]; then
  part "rasteriser fuzzing" ctest --test-dir "$build/fuzz" --output-on-failure
else
  echo
  echo "=== rasteriser fuzzing: skipped, the fuzzer was not built (it needs clang++)"
fi

memcheck() {
  cmake -S "$source_dir/tests/memcheck" -B "$build/memcheck" -DPROGRAM_DIR="$build/test/bin" \
    -DHARNESS_LIBRARY="$build/test/tests/harness/libheadless_harness.so" >/dev/null &&
    ctest --test-dir "$build/memcheck" --output-on-failure -j "$jobs"
}
part "every program under valgrind memcheck" memcheck

# node's packages for the browser tests, installed again when the lock changes.
node_modules_ready() {
  local folder=$source_dir/tests/web
  cmp -s "$folder/package-lock.json" "$folder/node_modules/.installed-lock" && return 0
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null) &&
    cp "$folder/package-lock.json" "$folder/node_modules/.installed-lock"
}
browser_tests() {
  "$source_dir/scripts/web.sh" --no-serve &&
    cmake -S "$source_dir/tests/web" -B "$build/web-test" -DSITE="$source_dir/build/web/site" >/dev/null &&
    ctest --test-dir "$build/web-test" --output-on-failure -j "$jobs"
}
if ! command -v emcmake >/dev/null; then
  echo
  echo "=== browser tests: skipped, emscripten is not installed (Debian: emscripten)"
elif [ ! -x /usr/bin/chromium ]; then
  echo
  echo "=== browser tests: skipped, Chromium is not installed (Debian: chromium)"
elif ! node_modules_ready; then
  echo
  echo "=== browser tests: skipped, node's packages (tests/web/package.json) could not be installed"
else
  part "the browser version in headless Chromium" browser_tests
fi

echo
total=0 failures=0
while read -r _ _ _ failures_here _ _ _ _ total_here; do
  total=$((total + total_here))
  failures=$((failures + failures_here))
done <"$summaries"
echo "total: $((total - failures)) passed, $failures failed"
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "all test parts passed"
