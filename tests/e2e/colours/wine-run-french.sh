#!/usr/bin/env bash
# Runs one Windows test like tools/wine-run.sh, with a French host locale: Wine gives its
# programs (and the programs they start) the language of the host locale. The locale is the one
# the build compiled into LOCALE_DIR, so the host needs none of its own.
# Usage: wine-run-french.sh BUILD_DIR LOCALE_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
tools=$(cd "$here/../../../tools" && pwd)
build=$1; locales=$2; shift 2
if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
  exec "$tools/wine-session.sh" "$build" "$here/wine-run-french.sh" "$build" "$locales" "$@"
fi
source "$tools/wine-env.sh" "$build"
[ -d "$locales/fr_FR.UTF-8" ] || { echo "wine-run-french: no French locale in $locales" >&2; exit 1; }
export LOCPATH="$locales" LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
"$WINE" "$@"
