#!/usr/bin/env bash
# Runs the end-to-end suite: the built editor in a real X11 window, one fresh
# Xvfb server and folder per case, driven with xdotool.
#   scripts/e2e.sh [build-dir] [--keep] [--case N]
# build-dir defaults to build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build=$root/build
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  build=$(realpath -m -- "$1")
  shift
fi

# Debian's own Python, where there is one: only its standard library is used.
python=/usr/bin/python3
[ -x "$python" ] || python=python3

missing=()
command -v Xvfb >/dev/null || missing+=(xvfb)
command -v xdotool >/dev/null || missing+=(xdotool)
command -v xclip >/dev/null || missing+=(xclip)
command -v "$python" >/dev/null || missing+=(python3)
if ((${#missing[@]})); then
  echo "e2e: missing Debian packages: ${missing[*]}" >&2
  exit 2
fi

exec "$python" -B "$root/e2e/run.py" "$build" "$@"
