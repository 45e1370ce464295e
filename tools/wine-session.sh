#!/usr/bin/env bash
# Runs a command (for example ctest) inside one Wine session of a build folder:
# one display, one prefix, one warm wineserver, all stopped at the end.
# Usage: tools/wine-session.sh BUILD_DIR COMMAND [ARGS...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$1; shift
source "$here/wine-env.sh" "$build"
wine_start_display || exit 1
trap wine_stop_all EXIT
wine_prepare_prefix
"$WINESERVER" -p
# Start Wine's background processes (services, desktop) now, detached from our output:
# started by a test instead, they would hold its output pipe open and CTest would wait forever.
"$WINE" wineboot >/dev/null 2>&1 </dev/null
export QUENTA_WINE_SESSION=1
"$@"
