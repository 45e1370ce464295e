#!/usr/bin/env bash
# Runs one Windows test in a prefix whose only drives are C: and T:, so that a search over
# "All disks" never reaches the host: a new prefix maps Z: to the host's root folder. The
# prefix is made once beside the build folder's own: its registry files are copied, its C:
# drive is the shared prefix's drive_c, and T: is a fresh folder of the build given to the test
# (emptied before every run). Screenshots the test leaves in T:\screenshots\ are moved to
# BUILD_DIR/test-drive-screenshots/ after the run.
# Usage: tools/wine-run-test-drives.sh BUILD_DIR PROGRAM.exe [ARGS...]
set -uo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$1; shift
if [ -z "${QUENTA_WINE_SESSION:-}" ]; then
  exec "$here/wine-session.sh" "$build" "$here/wine-run-test-drives.sh" "$build" "$@"
fi
source "$here/wine-env.sh" "$build"
shared="$WINEPREFIX"
drives="$wine_build_dir/wineprefix-drives"
test_drive="$wine_build_dir/test-drive-t"

if [ ! -f "$drives/.quenta-ready" ]; then
  rm -rf "$drives"
  mkdir -p "$drives/dosdevices"
  cp "$shared"/*.reg "$drives/"
  [ -f "$shared/.update-timestamp" ] && cp "$shared/.update-timestamp" "$drives/"
  ln -s "$shared/drive_c" "$drives/drive_c"
  ln -s ../drive_c "$drives/dosdevices/c:"
  ln -s "$test_drive" "$drives/dosdevices/t:"
  touch "$drives/.quenta-ready"
fi
# Nothing but C: and T:, whatever was added since.
for device in "$drives"/dosdevices/?:; do
  case "$(basename "$device")" in c:|t:) ;; *) rm -f "$device" ;; esac
done
rm -rf "$test_drive"
mkdir -p "$test_drive"

export WINEPREFIX="$drives"
"$WINE" "$@"
status=$?
"$WINESERVER" -k >/dev/null 2>&1 || true # this prefix's own server, started by the run above
if [ -d "$test_drive/screenshots" ]; then
  mkdir -p "$wine_build_dir/test-drive-screenshots"
  mv -f "$test_drive"/screenshots/* "$wine_build_dir/test-drive-screenshots/" 2>/dev/null || true
fi
exit $status
