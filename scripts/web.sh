#!/usr/bin/env bash
# Builds the suite for a web browser and serves it:
#   scripts/web.sh [--no-serve]
# emscripten (through emcmake) compiles the programs to WebAssembly in
# build/web; the site, plain static files, is build/web/site/: the page, the
# list of programs, their gallery pictures and each NAME.js + NAME.wasm.
# Unless --no-serve, the site is then served on 127.0.0.1, port 8000 or a
# free one, until Ctrl-C.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

usage() {
  echo "usage: ./suite web [--no-serve]" >&2
  exit 2
}
serve=1
case "$#:${1:-}" in
  0:) ;;
  1:--no-serve) serve=0 ;;
  *) usage ;;
esac

for tool in emcmake em-config node; do
  command -v "$tool" >/dev/null || { echo "$tool not found (Debian: emscripten, nodejs)" >&2; exit 1; }
done

build=$root/build/web
# pkg-config must find emscripten's SDL, never the host's (other event codes).
PKG_CONFIG_LIBDIR=$(em-config CACHE)/sysroot/lib/pkgconfig
export PKG_CONFIG_LIBDIR
# Debian's emscripten minifies with the acorn module that Debian keeps here,
# where a node from elsewhere does not look.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

echo "Building the programs for the browser in $build ..."
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Configured once; the build step configures again when a CMakeLists changes.
if ! { [ -f "$build/CMakeCache.txt" ] ||
       emcmake cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DINVERSION_BUILD_TESTS=OFF; } >"$log" 2>&1 ||
   ! cmake --build "$build" -j "$(nproc)" >>"$log" 2>&1; then
  cat "$log" >&2
  echo "The browser build failed." >&2
  exit 1
fi
echo "The site is in $build/site/"
[ "$serve" -eq 1 ] || exit 0

echo "Serving it; open the address below in a browser. Ctrl-C stops."
exec node "$root/web/serve.mjs" "$build/site" 8000
