#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time from its seed
# corpus in fuzz/corpus/. A crash, a sanitizer report, a hang (one input over
# 10 s) or a file written outside the target's scratch folder fails the run.
# TARVO_FUZZ_SECONDS sets the time per target (default 45).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${TARVO_FUZZ_SECONDS:-45}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_FUZZ=ON -DTARVO_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)"

repo_state() { git status --porcelain --untracked-files=all -- . ':!build*' ':!sample-home' 2>/dev/null || true; }
before=$(repo_state)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  box="$work/$target"
  tmp="$box/a/b/c/tmp"  # deep, so that a path climbing out of the scratch folder still lands in the box
  run="$box/run"
  mkdir -p "$tmp" "$run"
  cp -r "$corpus" "$run/corpus"
  echo "== $target: ${seconds}s"
  if ! (cd "$run" && TMPDIR="$tmp" "$OLDPWD/build-fuzz/fuzz/$target" corpus -max_total_time="$seconds" \
          -timeout=10 -rss_limit_mb=2048 -max_len=100000 -print_final_stats=1 2>"$box/log"); then
    tail -n 40 "$box/log"
    echo "FAILED: $target (the reproducer is the crash-* file named above)"
    failed=1
    continue
  fi
  tail -n 3 "$box/log"
  # Everything the target wrote must be inside its scratch folder (or new corpus units).
  stray=$(find "$box" -mindepth 1 -not -path "$tmp/tarvo-fuzz-*" -not -path "$run/corpus" -not -path "$run/corpus/*" \
            -not -path "$box/log" -not -path "$box/a" -not -path "$box/a/b" -not -path "$box/a/b/c" -not -path "$tmp" \
            -not -path "$run")
  if [ -n "$stray" ]; then
    echo "FAILED: $target wrote outside its scratch folder:"
    echo "$stray" | head -n 20
    failed=1
  fi
done
if [ "$(repo_state)" != "$before" ]; then
  echo "FAILED: the fuzz run changed files of the repository:"
  diff <(echo "$before") <(repo_state) || true
  failed=1
fi
exit $failed
