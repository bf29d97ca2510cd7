# Package set-up and builds shared by ./suite's commands (sourced, not run).

run_packages=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev libpng-dev)
test_packages=(xvfb libx11-dev libxtst-dev valgrind clang libclang-rt-14-dev)

missing_packages() {
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
      echo "$package"
  done
}

# Either SDL 1.2 development package will do; the compatibility layer over
# SDL2 is the default.
sdl_package() {
  if [ -z "$(missing_packages libsdl1.2-dev)" ]; then return; fi
  echo libsdl1.2-compat-dev
}

# The browser build (./suite web) and its tests: emscripten, node to serve
# the site, and headless Chromium with npm for the tests' node packages.
# Debian's nodejs comes without npm; other builds of node bring their own.
web_packages=(emscripten)
web_test_packages=(emscripten chromium)
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
  local wanted=("${run_packages[@]}")
  [ "$1" = test ] && wanted+=("${test_packages[@]}")
  # shellcheck disable=SC2207
  [ "$1" = web ] && wanted+=("${web_packages[@]}" $(node_packages web))
  local sdl
  sdl=$(sdl_package)
  [ -n "$sdl" ] && wanted+=("$sdl")
  install_packages "${wanted[@]}"
  if [ "$1" = test ]; then
    # shellcheck disable=SC2046
    install_packages "${web_test_packages[@]}" $(node_packages test) ||
      echo "The browser tests' packages could not be installed; those tests will be skipped."
  fi
  return 0
}

# build_tree release|test|sanitize|fuzz: configure and build into build/<kind>.
#   release   the programs alone, optimised
#   test      the programs and every test, optimised, pixel bounds checked
#   sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer;
#             unoptimised, which compiles in a fifth of the time and finds
#             the same faults
#   fuzz      the rasteriser fuzzer, built with clang (skipped without it)
build_tree() {
  local kind=$1 dir="$here/build/$1"
  local source=$here options=()
  case "$kind" in
    release) options=(-DCMAKE_BUILD_TYPE=Release -DINVERSION_BUILD_TESTS=OFF) ;;
    test) options=(-DCMAKE_BUILD_TYPE=Release -DRASTER_CHECK_BOUNDS=ON) ;;
    sanitize) options=(-DCMAKE_BUILD_TYPE=Debug -DINVERSION_SANITIZE=ON) ;;
    fuzz)
      if ! command -v clang++ >/dev/null; then
        echo "clang++ not found: the rasteriser fuzzer is not built (Debian: clang, libclang-rt-14-dev)"
        return 0
      fi
      source=$here/tests/fuzz
      options=(-DCMAKE_CXX_COMPILER=clang++)
      ;;
    *) echo "build_tree: unknown kind '$kind'" >&2; return 2 ;;
  esac
  cmake -S "$source" -B "$dir" "${options[@]}" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
