#!/usr/bin/env bash
# Installs what is missing, builds kavrin and starts it; arguments go to the
# editor (a file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRIN_BUILD_BENCH=OFF
cmake --build build --target kavrin
exec build/src/kavrin "$@"
