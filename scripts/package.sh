#!/usr/bin/env bash
# Installs what is missing, builds a release copy of kavrin in build-pkg,
# makes a Debian package of it with cpack and checks it with lintian; prints
# the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# dpkg-shlibdeps (in dpkg-dev) reads the package's dependencies off the
# program's libraries.
if ! command -v dpkg-shlibdeps >/dev/null; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev
fi

# Debian's hardening: stack protector, fortified functions, read-only
# relocations bound at start-up. Given on the command line, not through the
# environment, so that they reach a build folder configured before.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKAVRIN_BUILD_TESTS=OFF -DKAVRIN_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build build-pkg -j "$(nproc)"
log=$(cd build-pkg && cpack -G DEB)
echo "$log"
package=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log" | tail -n 1)
if [ -z "$package" ]; then
  echo "cpack made no package" >&2
  exit 1
fi
scripts/lint-package.sh "$package"
echo "$package"
