#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing kavrin need,
# only those that are missing; given package names, only those.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev
  fonts-ipafont-gothic
  # The real-window tests and the fuzzers.
  xvfb xauth xdotool xclip python3 valgrind
  clang libclang-rt-14-dev
  # The checks of the manual page, the AppStream metadata and the menu entry.
  groff-base appstream desktop-file-utils
)

if (($#)); then
  packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
