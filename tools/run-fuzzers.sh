#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, two at a time.
# A target named fuzz_X starts from its seeds in fuzz/corpus/X/ (copied, so the tree stays
# clean) and its kept crashers in fuzz/crashers/X/. Each input may take 10 s and 2 GB at most.
# A new crash, timeout or out-of-memory input is copied into fuzz/crashers/X/ (commit it with
# the fix; the sanitizer build's CTest replays it from then on) and the run fails.
# Usage: tools/run-fuzzers.sh FUZZ_BUILD_DIR SECONDS [PARALLEL]
set -uo pipefail
build=$1; seconds=$2; parallel=${3:-2}
src=$(cd "$(dirname "$0")/.." && pwd)

# Runs one target; prints one line; returns 1 when it found something.
fuzz_one() {
  local target=$1 name work artifacts found
  name=$(basename "$target"); name=${name#fuzz_}
  work="$build/corpus/$name"; artifacts="$build/artifacts/$name"
  rm -rf "$artifacts"; mkdir -p "$work" "$artifacts" "$src/fuzz/crashers/$name"
  [ -d "$src/fuzz/corpus/$name" ] && cp -rn "$src/fuzz/corpus/$name/." "$work/" 2>/dev/null
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$artifacts/" "$work" "$src/fuzz/crashers/$name" >"$build/fuzz-$name.log" 2>&1
  local status=$?
  found=$(find "$artifacts" -type f | sort)
  if [ $status -eq 0 ] && [ -z "$found" ]; then
    echo "fuzz $name: ${seconds}s, nothing found"
    return 0
  fi
  echo "fuzz $name FAILED (exit $status); see $build/fuzz-$name.log"
  for file in $found; do
    cp "$file" "$src/fuzz/crashers/$name/"
    echo "  kept $(basename "$file") in fuzz/crashers/$name/"
  done
  tail -25 "$build/fuzz-$name.log" | sed 's/^/  /'
  return 1
}

shopt -s nullglob
targets=()
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] && targets+=("$target")
done
[ ${#targets[@]} -gt 0 ] || { echo "run-fuzzers: no fuzz targets in $build/bin" >&2; exit 1; }

status=0
running=0
declare -a pids=()
for target in "${targets[@]}"; do
  fuzz_one "$target" &
  pids+=($!)
  running=$((running + 1))
  if [ $running -ge "$parallel" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
    running=$((running - 1))
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || status=1
done
exit $status
