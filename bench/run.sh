#!/bin/sh
# Builds kavrin_bench optimised in build-bench/ and prints every figure beside
# its target.  Arguments go to kavrin_bench.  Where Wine is installed, then
# the figures of kavrin.exe under Wine (bench/wine.py).
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

"$build/bench/kavrin_bench" "$@"

# Where Wine is installed: kavrin.exe against a bare Qt window built the same
# way, from what scripts/windows.sh --package left in build-windows.
if [ -x /usr/lib/wine/wine64 ]; then
  set -- "$root"/build-windows/package/kavrin-*-windows-x64
  bare=$root/build-windows/bench/bare/bare_window.exe
  if [ -f "$1/kavrin.exe" ] && [ -f "$bare" ] && command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    python3 -B "$root/bench/wine.py" "$1" "$bare"
  else
    echo "run.sh: the figures under Wine need scripts/windows.sh --package, Xvfb and xdotool" >&2
  fi
fi
