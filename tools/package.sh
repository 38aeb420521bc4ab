#!/usr/bin/env bash
# Installs what is needed, builds and makes the Debian package build/tarvo_VERSION_ARCH.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
(cd build && cpack -G DEB >/dev/null)
ls build/tarvo_*.deb
