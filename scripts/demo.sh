#!/bin/bash
# Demo: builds the program (win64), creates a demo database with the
# generator in build/demo/db, starts AdressLinks.exe on it under Wine and
# saves a screenshot of its window to build/demo/screenshots/overview.png.
# On your display when DISPLAY is set (the program stays open until you
# close it); otherwise on a private Xvfb, closed again after the screenshot.
#   scripts/demo.sh            (SKIP_SETUP=1 skips the apt-get step)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
[ "${SKIP_SETUP:-0}" = 1 ] || bash scripts/setup.sh >/dev/null

build=${DEMO_BUILD:-build/win64}
demo=${DEMO_DIR:-$root/build/demo}
mkdir -p "$demo/screenshots"
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset win64 >"$demo/configure.log" 2>&1 || { cat "$demo/configure.log"; exit 1; }
fi
cmake --build "$build" -j"${JOBS:-2}" --target AdressLinks make_demo_db e2e_probe

bindir=$demo/bin            # the program's own directory: UserMode.INI and ZS.MNU land here
mkdir -p "$bindir"
cp "$build/app/AdressLinks.exe" "$bindir/"
emu=$root/cmake/wine-emu.sh
probe=$root/$build/tests/e2e/e2e_probe.exe

source scripts/headless.sh
if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=${WINEPREFIX:-$demo/wineprefix}
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  [ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
  private=0
else
  headless_start "$demo/wineprefix" >&2
  trap headless_stop EXIT
  private=1
fi

if [ ! -f "$demo/db/ADRESSLINK.ADT" ]; then
  rm -rf "$demo/db"
  "$emu" "$build/tools/make_demo_db.exe" "Z:$demo/db" --addresses 400 --links 300
fi

echo "demo: starting AdressLinks.exe on $demo/db (DISPLAY=$DISPLAY)"
"$emu" "$bindir/AdressLinks.exe" "Z:$demo/db" 1 12340 &
app=$!
# Filled and connected: the caption is the connect path.
if ! "$emu" "$probe" caption TFAdressExtremeLinks "Z:$demo/db" 30000; then
  echo "demo: the window did not come up" >&2
  exit 1
fi
sleep 0.5  # let the last paint reach the X server
wid=$(xdotool search --name "^Z:$demo/db\$" | head -n1 || true)
shot=$demo/screenshots/overview.png
if [ -n "$wid" ]; then
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
else
  import -window root "$shot"
fi
echo "demo: screenshot $shot"

if [ "$private" = 1 ]; then
  "$emu" "$probe" close TFAdressExtremeLinks || true
  wait "$app" || true
else
  echo "demo: close the window to end"
  wait "$app" || true
fi
