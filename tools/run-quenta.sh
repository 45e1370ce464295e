#!/usr/bin/env bash
# Starts the built toolbox under Wine in the build folder's own prefix (never ~/.wine).
# With a display: runs until the user closes it. Without one: runs it under Xvfb, waits for
# the main window, saves a screenshot, stops the program and prints the screenshot's path last.
# Usage: tools/run-quenta.sh WIN_BUILD_DIR
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(cd "$1" && pwd)
exe="$build/bin/quenta.exe"
[ -f "$exe" ] || { echo "run-quenta: $exe is missing; run make windows" >&2; exit 1; }
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$here/wine-env.sh" "$build"
export WINEPREFIX="$build/runprefix"
wine_start_display || exit 1
trap wine_stop_all EXIT
echo "Preparing the Wine prefix $WINEPREFIX ..."
wine_prepare_prefix

if [ $headless -eq 0 ]; then
  "$WINE" "$exe" /DEBUG
  exit 0
fi

"$WINE" "$exe" /DEBUG >"$build/quenta-run.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --name "Ostrel Quenta" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run-quenta: the main window did not appear; see $build/quenta-run.log" >&2
  exit 1
fi
sleep 1.5   # let the first paint finish
shot="$build/quenta-screenshot.png"
import -window root "$shot"
"$WINESERVER" -k >/dev/null 2>&1
wait $pid 2>/dev/null
echo "Quenta ran under Wine (display $DISPLAY); screenshot:"
echo "$shot"
