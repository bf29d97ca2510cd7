#!/usr/bin/env bash
# Runs every test of the trees built under BUILD (build/ by ./suite test),
# each part with CTest's own report:
#   1. build/test      labels unit, program, window, memcheck and fuzz: every
#                      put_pixel and get_pixel checked against the window
#   2. build/sanitize  label sanitize: the unit, program and window tests
#                      again under AddressSanitizer and UndefinedBehavior-
#                      Sanitizer; any report fails the test it happens in
#   3. the browser version in headless Chromium (skipped, with one line,
#      where emscripten, Chromium or node's packages are missing)
# Every part runs even when an earlier one fails; the exit status says
# whether all passed.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
failed=()

part() {
  local name=$1
  shift
  echo
  echo "=== $name"
  "$@" || failed+=("$name")
}

part "unit, program, window, memcheck and fuzz tests" \
  ctest --test-dir "$build/test" --output-on-failure -j "$jobs"

# The runner is preloaded ahead of the ASan runtime, which ASan would
# otherwise refuse. The real-window tests run with leak checking off: Mesa's
# GL driver, which SDL loads for an X window and unloads at exit, leaves
# blocks that LeakSanitizer cannot trace back to it. The clock sweep runs in
# the first part only: it is a thousand whole runs.
sanitized_ctest() {
  UBSAN_OPTIONS=print_stacktrace=1 ASAN_OPTIONS=verify_asan_link_order=0:$1 \
    ctest --test-dir "$build/sanitize" --output-on-failure -j "$jobs" -E ClockSweep "${@:2}"
}
part "tests under ASan and UBSan" sanitized_ctest detect_leaks=1 -L sanitize -LE window
part "real-window tests under ASan and UBSan" sanitized_ctest detect_leaks=0 -L window

# node's packages for the browser tests, installed again when the lock changes.
node_modules_ready() {
  local folder=$source_dir/tests/web
  cmp -s "$folder/package-lock.json" "$folder/node_modules/.installed-lock" && return 0
  (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null) &&
    cp "$folder/package-lock.json" "$folder/node_modules/.installed-lock"
}
browser_tests() {
  "$source_dir/scripts/web.sh" --no-serve &&
    cmake -S "$source_dir/tests/web" -B "$build/web-test" -DSITE="$source_dir/build/web/site" \
      -DNATIVE_BUILD="$build/test" >/dev/null &&
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
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "all test parts passed"
