#!/usr/bin/env bash
# CTest's emulator for the Windows build: runs one .exe under Wine in the build folder's
# throwaway prefix. Inside a wine-session it reuses that session; alone it makes its own.
# Usage: tools/wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$1; shift
if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
  exec "$here/wine-session.sh" "$build" "$here/wine-run.sh" "$build" "$@"
fi
source "$here/wine-env.sh" "$build"
"$WINE" "$@"
