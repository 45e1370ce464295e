#!/usr/bin/env bash
# Runs one Windows test under Wine with the French locale, so that the toolbox it starts speaks
# French as on a French system. The host need not have the locale installed: the build folder
# holds a compiled copy (BUILD_DIR/locale, made by this folder's CMakeLists.txt).
# Usage: wine-run-french.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
root=$(readlink -f "$here/../../..")
build=$1; shift
if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
  exec "$root/tools/wine-session.sh" "$build" "$here/wine-run-french.sh" "$build" "$@"
fi
source "$root/tools/wine-env.sh" "$build"
export LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 LOCPATH="$(readlink -f "$build")/locale"
"$WINE" "$@"
