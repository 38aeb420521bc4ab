#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program in the sample program
# folder (sample-home/). Without a display it runs the start-up steps with the
# command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
home="$PWD/sample-home"
mkdir -p "$home"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: the window cannot open. Start-up steps of the program folder $home:"
  exec ./build/tools/tarvo-cli init --home "$home"
fi
exec ./build/app/tarvo --home "$home"
