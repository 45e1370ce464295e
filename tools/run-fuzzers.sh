#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time from its seed corpus.
# A target named fuzz_X takes its seeds from fuzz/corpus/X/ (copied, so the tree stays clean).
# Usage: tools/run-fuzzers.sh FUZZ_BUILD_DIR SECONDS
set -euo pipefail
build=$1; seconds=$2
src=$(cd "$(dirname "$0")/.." && pwd)
status=0
shopt -s nullglob
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target"); name=${name#fuzz_}
  work="$build/corpus/$name"
  mkdir -p "$work"
  [ -d "$src/fuzz/corpus/$name" ] && cp -rn "$src/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  echo "fuzz $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$build/crash-$name-" "$work" >"$build/fuzz-$name.log" 2>&1; then
    echo "fuzz $name FAILED; see $build/fuzz-$name.log"; tail -30 "$build/fuzz-$name.log"; status=1
  fi
done
exit $status
