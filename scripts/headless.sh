# shellcheck shell=bash
# Source this file, then:  headless_start [PREFIX_DIR]  ...  headless_stop
# Starts Xvfb on a free display (Xvfb picks it: -displayfd), creates/updates a Wine
# prefix non-interactively and keeps one persistent wineserver for all tests.

headless_start() {
  export WINEPREFIX=${1:-${WINEPREFIX:-$PWD/wineprefix}}
  export WINEARCH=win64
  export WINEDEBUG=-all                    # quiet; also hides the Debian "wine32 is missing" hint
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Wine Mono / Gecko install prompts
  unset WAYLAND_DISPLAY

  # 1. Xvfb: -displayfd makes the server choose a free display and write its number
  #    to fd 3 once it accepts connections (no sleep/poll race, no fixed :99 collisions).
  local dfile; dfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dfile" >/dev/null 2>&1 &
  HEADLESS_XVFB_PID=$!
  local i=0
  while [ ! -s "$dfile" ] && [ $i -lt 100 ]; do
    kill -0 "$HEADLESS_XVFB_PID" 2>/dev/null || { echo "Xvfb died" >&2; rm -f "$dfile"; return 1; }
    sleep 0.1; i=$((i+1))
  done
  [ -s "$dfile" ] || { echo "Xvfb did not start" >&2; rm -f "$dfile"; return 1; }
  export DISPLAY=":$(head -n1 "$dfile")"
  rm -f "$dfile"
  echo "headless: Xvfb pid $HEADLESS_XVFB_PID on DISPLAY=$DISPLAY"

  # 2. Wine prefix (first time ~13 s on 2 cores) and a persistent wineserver for this prefix.
  #    Pitfall: never call "wineserver -w" after "wineserver -p" -- it waits forever.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "headless: creating $WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || { echo "wineboot failed" >&2; return 1; }
    # CI settings: unmanaged windows (no 2 s waits without a WM), no audio, no crash dialog
    wine regedit /S "Z:$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-ci.reg" >/dev/null 2>&1 ||
      { echo "regedit failed" >&2; return 1; }
    wineserver -w                          # wait until wineboot really finished writing the prefix
  fi
  # persistent server: no restart between tests.  Detach its stdio: a daemon holding the
  # CI step's stdout/stderr pipe can keep the step from finishing.
  wineserver -p </dev/null >/dev/null 2>&1
  # 3. Start the desktop process (explorer.exe /desktop) now, once: otherwise the first
  #    window programs of a parallel test run race each other to start it.
  "$(command -v wine64 || echo /usr/lib/wine/wine64)" rundll32.exe user32.dll,GetDesktopWindow \
    </dev/null >/dev/null 2>&1 || { echo "headless: the Wine desktop did not start" >&2; return 1; }
}

headless_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true      # kills every Wine process of this prefix
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "${HEADLESS_XVFB_PID:-}" ]; then
    kill "$HEADLESS_XVFB_PID" 2>/dev/null || true
    wait "$HEADLESS_XVFB_PID" 2>/dev/null || true
    unset HEADLESS_XVFB_PID
  fi
}
