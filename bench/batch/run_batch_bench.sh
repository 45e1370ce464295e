#!/usr/bin/env bash
# The batch benchmark: 50 photo-like 1600 x 1200 JPEG files converted to PNG and to 8-bit BMP
# by qnpic (one process; 1 worker and 2 workers), by ImageMagick's convert run once per file,
# and by mogrify run once over the folder (both told to use one thread), side by side, the
# contenders interleaved in each round. Reports the median wall time of the rounds, user+sys
# CPU time, the ratios to qnpic and each contender's peak resident memory (/usr/bin/time %M:
# the largest single process; for qnpic with workers that is one worker or the parent).
# With a Windows build that holds translator_batch.exe, also times the same batch through the
# pictures translator's run under Wine (working window and its message pumping included), in
# each round beside the others; the whole benchmark then runs inside one Wine session. The
# translator's own timing of each batch (without Wine's start) is listed too.
#
# Not part of `make test`. Build first, then run from the source folder:
#   cmake --build build/native --target qnpic make_batch_photos -j2
#   cmake --build build/windows --target translator_batch -j2      # optional, for Wine
#   bench/batch/run_batch_bench.sh [NATIVE_DIR [WINDOWS_DIR]]
# Environment: ROUNDS (default 3), FILES (default 50), KEEP=1 keeps the work folder.
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
source_dir=$(readlink -f "$here/../..")
native=$(readlink -f "${1:-$source_dir/build/native}")
windows=$(readlink -f "${2:-$source_dir/build/windows}")
rounds=${ROUNDS:-3}
files=${FILES:-50}

qnpic=$native/bin/qnpic
photos_tool=$native/bin/make_batch_photos
# The real ImageMagick programs, not a wrapper that may stand before them on the PATH.
convert=/usr/bin/convert
mogrify=/usr/bin/mogrify
for program in "$qnpic" "$photos_tool" "$convert" "$mogrify" /usr/bin/time; do
  if [ ! -x "$program" ]; then
    echo "run_batch_bench: $program is missing (build qnpic and make_batch_photos; install imagemagick, time)" >&2
    exit 1
  fi
done
translator=""
if [ -f "$windows/bin/translator_batch.exe" ]; then
  translator=$windows/bin/translator_batch.exe
  # The whole benchmark runs inside one Wine session, so that the translator's runs take their
  # turn in each round beside the others; the session's start is not timed.
  if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
    exec "$source_dir/tools/wine-session.sh" "$windows" "$0" "$native" "$windows"
  fi
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/batch_bench.XXXXXX")
if [ -z "${KEEP:-}" ]; then
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/photos"
"$photos_tool" "$work/photos" "$files" || exit 1
inputs=("$work"/photos/*.jpg)
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2-), $(nproc) cores; $files files, $rounds rounds"
echo "largest picture: 1600 x 1200 x 3 bytes = 5.5 MiB; qnpic doing nothing ('qnpic formats') holds" \
     "$(/usr/bin/time -f %M "$qnpic" formats 2>&1 >/dev/null | tail -1) KiB"

# run NAME COMMAND...: one timed run into $work/times/NAME (elapsed user sys maxrss per line).
run() {
  local name=$1; shift
  rm -rf "$work/out"; mkdir -p "$work/out" "$work/times"
  if ! /usr/bin/time -a -o "$work/times/$name" -f "%e %U %S %M" "$@" >/dev/null 2>"$work/err"; then
    echo "run_batch_bench: $name failed:" >&2
    tail -5 "$work/err" >&2
    exit 1
  fi
}

per_file_png() { for f in "$@"; do "$convert" -limit thread 1 "$f" "$work/out/$(basename "$f" .jpg).png" || return 1; done; }
per_file_bmp8() {
  for f in "$@"; do
    "$convert" -limit thread 1 "$f" -dither Riemersma -colors 256 -type Palette -define bmp:format=bmp3 \
        "$work/out/$(basename "$f" .jpg).bmp" || return 1
  done
}
export -f per_file_png per_file_bmp8
export convert work

translator_run() { # FORMAT DEPTH: the translator's batch; it prints its own timing
  local list=() f
  for f in "$work"/photos/*.jpg; do list+=("Z:$f"); done
  "$source_dir/tools/wine-run.sh" "$windows" "$translator" --to "$1" --depth "$2" -o "Z:$work/out" "${list[@]}" \
      >>"$work/translator.log"
}
export -f translator_run
export translator windows source_dir

for round in $(seq 1 "$rounds"); do
  echo "round $round of $rounds"
  run png_qnpic_1 "$qnpic" convert --jobs 1 --to PNG -o "$work/out" "${inputs[@]}"
  run png_qnpic_2 "$qnpic" convert --jobs 2 --to PNG -o "$work/out" "${inputs[@]}"
  run png_convert bash -c 'per_file_png "$@"' _ "${inputs[@]}"
  run png_mogrify "$mogrify" -limit thread 1 -format png -path "$work/out" "${inputs[@]}"
  if [ -n "$translator" ]; then
    run png_translator bash -c 'translator_run PNG 0'
  fi
  run bmp8_qnpic_1 "$qnpic" convert --jobs 1 --to BMP --depth 8 -o "$work/out" "${inputs[@]}"
  run bmp8_qnpic_2 "$qnpic" convert --jobs 2 --to BMP --depth 8 -o "$work/out" "${inputs[@]}"
  run bmp8_convert bash -c 'per_file_bmp8 "$@"' _ "${inputs[@]}"
  run bmp8_mogrify "$mogrify" -limit thread 1 -dither Riemersma -colors 256 -type Palette -define bmp:format=bmp3 \
      -format bmp -path "$work/out" "${inputs[@]}"
  if [ -n "$translator" ]; then
    run bmp8_translator bash -c 'translator_run BMP 8'
  fi
done

if [ -n "$translator" ]; then
  grep -h "translator:" "$work/translator.log" | sed 's/^/  (own timing) /'
fi

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }
report() { # KIND
  local kind=$1 one two
  one=$(awk '{print $1}' "$work/times/${kind}_qnpic_1" | median)
  two=$(awk '{print $1}' "$work/times/${kind}_qnpic_2" | median)
  printf '\n%-22s %9s %9s %10s %15s %15s\n' "$kind (medians)" "wall s" "cpu s" "peak KiB" "qnpic-1 / this" "qnpic-2 / this"
  for f in "$work"/times/"$kind"_*; do
    local name wall cpu peak
    name=$(basename "$f")
    wall=$(awk '{print $1}' "$f" | median)
    cpu=$(awk '{print $2 + $3}' "$f" | median)
    peak=$(awk '{print $4}' "$f" | sort -n | tail -1)
    printf '%-22s %9.2f %9.2f %10d %15.2f %15.2f\n' "$name" "$wall" "$cpu" "$peak" \
        "$(echo "$one / $wall" | bc -l)" "$(echo "$two / $wall" | bc -l)"
  done
}
report png
report bmp8
