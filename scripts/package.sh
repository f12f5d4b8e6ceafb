#!/usr/bin/env bash
# Installs what is missing, builds a release copy of kavrin in build-pkg and
# makes a Debian package of it with cpack; prints the package's path last.
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

cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKAVRIN_BUILD_TESTS=OFF -DKAVRIN_BUILD_BENCH=OFF
cmake --build build-pkg -j "$(nproc)"
log=$(cd build-pkg && cpack -G DEB)
echo "$log"
package=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log" | tail -n 1)
if [ -z "$package" ]; then
  echo "cpack made no package" >&2
  exit 1
fi
echo "$package"
