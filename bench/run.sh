#!/bin/sh
# Builds kavrin_bench optimised in build-bench/ and prints every figure beside
# its target.  Arguments go to kavrin_bench.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
log="$build/bench-build.log"

mkdir -p "$build"
# The build output matters only when it fails.
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRIN_BUILD_TESTS=OFF \
      -DKAVRIN_BUILD_BENCH=ON && cmake --build "$build" --target kavrin_bench; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "run.sh: the build failed" >&2
  exit 1
fi

exec "$build/bench/kavrin_bench" "$@"
