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

# build_tree release|test|sanitize|fuzz: configure and build into build/<kind>.
#   release   the programs and the headless runner, optimised, no tests
#   test      the programs and every test, optimised, pixel bounds checked
#             (and the fuzzer's test, when build/fuzz holds it)
#   sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer
#             at -O1, which the sanitizers advise: fast, and no fault hidden
#   fuzz      the rasteriser fuzzer, built with clang (skipped without it)
# A tree is configured once; its build step configures it again when a
# CMakeLists.txt or the program list changes.
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
  if [ ! -f "$dir/CMakeCache.txt" ] || [ "$kind" = test ]; then
    cmake -S "$source" -B "$dir" "${options[@]}" >/dev/null
  fi
  # The release tree is what every run and export checks first: when no
  # source is newer than its last build, that check is one find.
  local stamp=$dir/.built
  if [ "$kind" = release ] && [ -f "$stamp" ] && [ -z "$(find "$root/CMakeLists.txt" "$root/raster" \
      "$root/inversion" "$root/random" "$root/programs" "$root/headless" "$root/scene" -newer "$stamp" -print -quit)" ]; then
    return 0
  fi
  cmake --build "$dir" -j "$(nproc)"
  touch "$stamp"
}
