# Sourced by the Wine scripts: a hermetic Wine environment inside a build folder.
# Usage: source tools/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "$1" && pwd)
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$wine_build_dir/wineprefix"
# The locale chooses the language of Wine and of the programs it starts; a test that shows
# the French texts sets QUENTA_WINE_LOCALE (for example fr_FR.UTF-8). A locale the host lacks
# is compiled once into the build folder, so no host needs it installed.
if [ -n "${QUENTA_WINE_LOCALE:-}" ] && ! locale -a 2>/dev/null | grep -qix "${QUENTA_WINE_LOCALE/UTF-8/utf8}"; then
  wine_locale_dir="$wine_build_dir/locale"
  if [ ! -d "$wine_locale_dir/$QUENTA_WINE_LOCALE" ]; then
    mkdir -p "$wine_locale_dir"
    localedef -i "${QUENTA_WINE_LOCALE%%.*}" -f "${QUENTA_WINE_LOCALE#*.}" "$wine_locale_dir/$QUENTA_WINE_LOCALE" >/dev/null 2>&1 || true
  fi
  export LOCPATH="$wine_locale_dir"
fi
export WINEDEBUG=-all LANG=${QUENTA_WINE_LOCALE:-C.UTF-8} LC_ALL=${QUENTA_WINE_LOCALE:-C.UTF-8}
export WINEDLLOVERRIDES="winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml="
export HOME="$wine_build_dir/winehome"
export XDG_DATA_HOME="$HOME/.local/share"
mkdir -p "$HOME" "$XDG_DATA_HOME"

# Starts Xvfb on a free display unless one is set; remembers what it started.
wine_start_display() {
  wine_started_xvfb=""
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    wine_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$wine_started_xvfb" 2>/dev/null || break
      sleep 0.05
    done
    unset DISPLAY
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

# Creates the prefix once per build folder: fonts, fast window closing without a window manager.
wine_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/.quenta-ready" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot --init >/dev/null 2>&1 || true
    "$WINESERVER" -w
    cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.quenta-ready"
  fi
}

wine_stop_all() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${wine_started_xvfb:-}" ]; then
    kill "$wine_started_xvfb" 2>/dev/null || true
    wait "$wine_started_xvfb" 2>/dev/null || true
    unset DISPLAY
  fi
}
