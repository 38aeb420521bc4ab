#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need
# (qt6-translations-l10n: Qt's own buttons and dialogs in Japanese; clang and
# libclang-rt-14-dev: the fuzz targets; poppler-utils and poppler-data: the PDF
# tests read and render the files they write).
set -euo pipefail
packages=(build-essential cmake g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev fonts-ipafont-gothic xvfb xauth clang libclang-rt-14-dev poppler-utils poppler-data)
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
