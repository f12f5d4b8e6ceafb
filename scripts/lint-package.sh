#!/usr/bin/env bash
# Runs lintian on the Debian packages given, installing it when missing;
# fails on any error or warning it reports.
set -euo pipefail

if ! command -v lintian >/dev/null; then
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends lintian
fi

lintian --info --fail-on error,warning "$@"
