#!/bin/sh
# Builds everything and runs every test. Usage: scripts/test.sh [BUILD_DIR]
set -e
cd "$(dirname "$0")/.."
sh scripts/deps.sh
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_WERROR=ON ${KV_CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j"$(nproc)"
