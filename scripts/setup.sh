# Package set-up and builds shared by ./suite's commands (sourced, not run).

# What running and exporting need, and what only the tests add.
run_packages=(cmake g++ make pkg-config libpng-dev libwebp-dev nlohmann-json3-dev)
test_packages=(libgtest-dev libbenchmark-dev xvfb libx11-dev libxtst-dev valgrind clang libclang-rt-14-dev librsvg2-bin time)

# The packages of "$@" that are not installed, in one dpkg-query call.
missing_packages() {
  local installed
  installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "$@" 2>/dev/null | awk '$2 ~ /^ii/ {print $1}')
  local package
  for package in "$@"; do
    grep -qx -- "$package" <<<"$installed" || echo "$package"
  done
}

# Either SDL 1.2 development package will do; the compatibility layer over
# SDL2 is the default.
sdl_package() {
  if [ -z "$(missing_packages libsdl1.2-dev)" ]; then echo libsdl1.2-dev; else echo libsdl1.2-compat-dev; fi
}

# The browser build (./suite web) and its tests: emscripten, node to serve
# the site, and headless Chromium with npm for the tests' node packages.
# Debian's nodejs comes without npm; other builds of node bring their own.
web_packages=(emscripten libstb-dev)
web_test_packages=(emscripten libstb-dev chromium)
node_packages() {
  command -v node >/dev/null || echo nodejs
  if [ "$1" = test ] && ! command -v npm >/dev/null; then echo npm; fi
  return 0
}

# Installs the named packages that are missing (apt-get; sudo when not root).
install_packages() {
  local missing
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing missing Debian packages:" $missing
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends $missing
}

# ensure_packages run|test|web. For test, the browser tests' packages are
# installed where they can be; without them those tests are skipped.
ensure_packages() {
  local wanted=("${run_packages[@]}" "$(sdl_package)")
  [ "$1" = test ] && wanted+=("${test_packages[@]}")
  # shellcheck disable=SC2207
  [ "$1" = web ] && wanted+=("${web_packages[@]}" $(node_packages web))
  install_packages "${wanted[@]}"
  if [ "$1" = test ]; then
    # shellcheck disable=SC2046
    install_packages "${web_test_packages[@]}" $(node_packages test) ||
      echo "The browser tests' packages could not be installed; those tests will be skipped."
  fi
  return 0
}

# Runs "$@" in a process group of its own and waits for it. A terminating
# signal sent to this script (Ctrl-C reaches the script alone, the child's
# group being in the background) is passed on to the whole group, the
# compilers under make included, and the script then ends on that signal.
run_passing_signals() {
  local child status=0 signal
  set -m
  "$@" &
  child=$!
  set +m
  for signal in INT TERM HUP QUIT; do
    # shellcheck disable=SC2064
    trap "kill -$signal -- -$child 2>/dev/null; wait $child; trap - $signal; kill -$signal \$\$" "$signal"
  done
  wait "$child" || status=$?
  trap - INT TERM HUP QUIT
  return "$status"
}

# Whether the release tree holds everything that runs and exports, built
# from sources no newer than its last build: then the check is one find.
release_is_current() {
  local dir=$1 name
  [ -f "$dir/.built" ] || return 1
  for name in "${programs[@]}"; do [ -x "$dir/bin/$name" ] || return 1; done
  [ -f "$dir/headless/libheadless_runner.so" ] && [ -x "$dir/headless/animate_pictures" ] &&
    [ -x "$dir/headless/export_pictures" ] &&
    [ -x "$dir/tour/tour" ] && [ -x "$dir/scene/render_scene" ] || return 1
  [ -z "$(find "$root/CMakeLists.txt" "$root/raster" "$root/inversion" "$root/random" "$root/programs" \
    "$root/headless" "$root/scene" -newer "$dir/.built" -print -quit)" ]
}

# build_tree release|test|sanitize|fuzz: configure and build into build/<kind>.
#   release   the programs, the headless runner and the tour, optimised, no tests
#   test      the programs and every test, optimised, pixel bounds checked
#             (and the fuzzer's test, when build/fuzz holds it)
#   sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#             at -O1, which the sanitizers advise: fast, and no fault hidden
#   fuzz      the rasteriser fuzzer, built with clang (skipped without it)
# One command builds a tree at a time (a lock in the tree); another waits,
# saying so, and then uses what the first built. A compile error leaves the
# compiler's output and one line, and the status 1.
build_tree() {
  local kind=$1 dir=$root/build/$1
  local source=$root options=()
  case "$kind" in
    release) options=(-DCMAKE_BUILD_TYPE=Release -DINVERSION_BUILD_TESTS=OFF) ;;
    test)
      options=(-DCMAKE_BUILD_TYPE=Release -DRASTER_CHECK_BOUNDS=ON)
      [ -x "$root/build/fuzz/raster_fuzz" ] && options+=("-DRASTER_FUZZER=$root/build/fuzz/raster_fuzz")
      ;;
    sanitize) options=(-DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-g -O1" -DINVERSION_SANITIZE=ON) ;;
    fuzz)
      if ! command -v clang++ >/dev/null; then
        echo "clang++ not found: the rasteriser fuzzer is not built (Debian: clang, libclang-rt-14-dev)"
        return 0
      fi
      source=$root/tests/fuzz
      options=(-DCMAKE_CXX_COMPILER=clang++)
      ;;
    *) echo "build_tree: unknown kind '$kind'" >&2; return 2 ;;
  esac
  mkdir -p -- "$dir" || return 1
  local lock status=0
  exec {lock}>>"$dir/.lock"
  if ! flock -n "$lock"; then
    echo "Waiting for another command that is building build/$kind ..." >&2
    flock "$lock"
  fi
  build_locked_tree "$kind" "$dir" "$source" "${options[@]}" || status=$?
  exec {lock}>&-
  return "$status"
}

# The build itself, with the tree's lock held. A tree is configured once
# (the test tree every time, for the fuzzer's path), and again when its
# configuration never finished; its build step configures it again when a
# CMakeLists.txt or the program list changes. The release tree's mark is
# taken when its build starts, so a source edited during a build is newer
# than the mark and built the next time.
build_locked_tree() {
  local kind=$1 dir=$2 source=$3
  shift 3
  if [ ! -f "$dir/.configured" ] || [ "$kind" = test ]; then
    rm -f -- "$dir/.configured" "$dir/.built"
    run_passing_signals cmake -S "$source" -B "$dir" "$@" >/dev/null ||
      { echo "the build failed: build/$kind could not be configured (CMake's messages are above)" >&2; return 1; }
    touch -- "$dir/.configured"
  fi
  [ "$kind" = release ] && release_is_current "$dir" && return 0
  touch -- "$dir/.building"
  run_passing_signals cmake --build "$dir" -j "$(nproc)" ||
    { echo "the build failed (build/$kind; the compiler's messages are above)" >&2; return 1; }
  mv -f -- "$dir/.building" "$dir/.built"
}
