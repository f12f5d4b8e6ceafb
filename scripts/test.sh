#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless, the editor in
# a real X11 window (Xvfb), the tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Tests run the fake converters they write; a temporary folder of our own
# works even where /tmp does not allow running programs.
export TMPDIR="$PWD/build/tmp"
mkdir -p "$TMPDIR"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# The manual page, the AppStream metadata and the menu entry, each clean
# under the tool that Debian reads it with.
groff_says=$(groff -man -ww -Tutf8 -z build/packaging/kavrin.1 2>&1)
if [ -n "$groff_says" ]; then
  echo "$groff_says" >&2
  exit 1
fi
appstreamcli validate --no-net --strict build/packaging/org.example.kavrin.metainfo.xml
if ! desktop_says=$(desktop-file-validate packaging/kavrin.desktop 2>&1) ||
  grep -qE ': (error|warning): ' <<<"$desktop_says"; then
  echo "$desktop_says" >&2
  exit 1
fi
# The Debian package, when scripts/package.sh has made one.
debs=(build-pkg/*.deb)
if [ -e "${debs[0]}" ]; then
  scripts/lint-package.sh "${debs[@]}"
fi
# The editor in a real X11 window, driven with real key events.
scripts/e2e.sh build

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVRIN_SANITIZE=ON -DKAVRIN_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# A short run of every fuzz target on its corpus.
scripts/fuzz.sh 30
