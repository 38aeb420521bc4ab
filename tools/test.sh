#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the whole suite, then
# the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then every fuzz target for a bounded time; the Debian package is made and
# tried in a scratch root after the suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
bash tools/package-test.sh
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DTARVO_GUI=OFF -DTARVO_BENCH=OFF -DTARVO_SANITIZE=ON >/dev/null
cmake --build build-san -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-san --output-on-failure -j"$(nproc)"
bash tools/fuzz.sh
