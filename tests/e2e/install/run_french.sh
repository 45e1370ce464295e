#!/usr/bin/env bash
# Runs the French suite of the install end-to-end test: Wine takes the user's language from
# LANG when a program starts from the host, and the setup started by the test inherits it.
# Usage: run_french.sh SOURCE_DIR BUILD_DIR TEST.exe
set -uo pipefail
source_dir=$1 build=$2 exe=$3
if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
  exec "$source_dir/tools/wine-session.sh" "$build" "$0" "$@"
fi
source "$source_dir/tools/wine-env.sh" "$build"
export LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8
exec "$WINE" "$exe" --gtest_filter='*French*' --gtest_brief=1
