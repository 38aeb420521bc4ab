#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program in the sample program
# folder sample-home/, so that today's races are shown at once.
#
# The sample folder is made by this script: a sample world of a year up to
# today (with today's entries and real-time data) is generated as the data
# service's source (sample-home/jvlink-source/) and registered into the store
# sample-home/data/ by a setup run. When the sample folder was made on another
# day it is made anew, so that "today" is always today.
#
# Without a display the window cannot open: the script says so and prints
# today's race list with the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh

home="$PWD/sample-home"
world="$home/jvlink-source"      # the data-service emulator's default source folder
stamp="$home/sample-world.date"  # the day the sample folder was made
cli="$PWD/build/tools/tarvo-cli"
gen="$PWD/build/tools/tarvo-worldgen"
today=$(date +%Y%m%d)
from=$(date -d "$today -1 year" +%Y%m%d)
yesterday=$(date -d "$today -1 day" +%Y%m%d)  # accumulated data up to here; today is entries and real-time data

make_sample() {
  rm -rf "$home"
  mkdir -p "$home"
  echo "Making a sample world from $from to $yesterday, with the entries and real-time data of $today, in $world ..."
  if ! "$gen" --out "$world" --from "$from" --to "$yesterday" --today "$today"; then
    echo "tarvo-worldgen failed: no sample world."
    exit 1
  fi
  echo "Registering it into $home/data/ by a setup run from $from (log: $home/setup.log) ..."
  if ! TARVO_JVLINK_RATE=0 "$cli" --home "$home" register setup "$from" >"$home/setup.log" 2>&1; then
    tail -n 5 "$home/setup.log"
    echo "The setup run failed; see $home/setup.log."
    exit 1
  fi
  tail -n 1 "$home/setup.log"
  echo "$today" >"$stamp"
}

if [ "$(cat "$stamp" 2>/dev/null || true)" != "$today" ]; then
  make_sample
fi
mkdir -p "$home"
ln -sfn "$PWD/help" "$home/help"  # the help file the help menu opens

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: the window cannot open. Today's races ($today) in $home:"
  exec "$cli" --home "$home" races "$today"
fi
exec "$PWD/build/app/tarvo" --home "$home"
