#!/usr/bin/env bash
# kavrin.exe unzipped from the zip a user gets, in a real window under Wine:
# the windows platform plugin on an Xvfb of its own, driven with xdotool
# (e2e/wine.py). Needs the zip and the test converter that
# scripts/windows.sh --package leaves in build-windows.
#   scripts/windows-e2e.sh [build-windows-dir] [--case N]
# Screenshots and logs go into build-windows/e2e, a folder a case.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build=$root/build-windows
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  build=$(realpath -m -- "$1")
  shift
fi

python=/usr/bin/python3
[ -x "$python" ] || python=python3
missing=()
for tool in Xvfb xdotool fc-list "$python" /usr/lib/wine/wine64; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  echo "windows-e2e: missing: ${missing[*]}" >&2
  exit 2
fi
packages=("$build"/kavrin-*-windows-x64.zip)
if [ ! -f "${packages[0]}" ] || [ ! -f "$build/tests/test_converter.exe" ]; then
  echo "windows-e2e: no zip or test converter in $build (scripts/windows.sh --package makes them)" >&2
  exit 2
fi

exec "$python" -B "$root/e2e/wine.py" "${packages[0]}" "$build/tests/test_converter.exe" "$build/e2e" "$@"
