#!/bin/sh
# Builds the program and starts it on a working folder, preparing the folder
# (Sys with three empty tables, Base) on first use.
# Usage: scripts/run.sh [WORKING_FOLDER]   (default: ~/Kvirton)
set -e
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target kvirton kvirton-cli
work=${1:-$HOME/Kvirton}
mkdir -p "$work"
./build/src/kvirton-cli -C "$work" init
bin=$(pwd)/build/src/kvirton
cd "$work"
exec "$bin"
