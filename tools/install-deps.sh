#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
set -euo pipefail
packages=(build-essential cmake g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-ipafont-gothic xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
