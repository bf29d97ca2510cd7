#!/usr/bin/env bash
# Runs every test of a built tree (build/test).
set -euo pipefail
build=$1
cd "$build/test"
ctest --output-on-failure -j "$(nproc)"
