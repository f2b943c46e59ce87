#!/bin/bash
# Demo, the whole road: builds the program (win64), creates a demo database
# with the generator in build/demo/db, starts the stand-in host Velto.exe,
# registers AdressLinks.exe in the host's ZS.MNU with INSTALL (both stand in
# build/demo/bin, as in the suite), starts it from the host's extras menu
# "zusätzlich", drags an entry onto "&Details zeigen" and waits for the
# request at the host. Screenshots in build/demo/screenshots/: host-menu.png
# (the extras menu open), overview.png, drag.png (the drag image on its way),
# host-request.png (the host showing the requested address); the host's log
# of requests is build/demo/host.log.
# On your display when DISPLAY is set (the windows stay open until you close
# the host); otherwise on a private Xvfb, closed again after the screenshots.
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
cmake --build "$build" -j"${JOBS:-2}" --target AdressLinks make_demo_db e2e_probe velto_host demo_driver

bindir=$demo/bin            # the program's own directory: UserMode.INI and ZS.MNU land here
mkdir -p "$bindir"
cp "$build/app/AdressLinks.exe" "$build/tools/host/Velto.exe" "$bindir/"
rm -f "$bindir/ZS.MNU" "$demo/host.log"
# The overview opens beside the host, not over it.
printf '[MODE]\r\nTFAdressExtremeLinks.Left=600\r\nTFAdressExtremeLinks.Top=40\r\n' >"$bindir/UserMode.INI"
emu=$root/cmake/wine-emu.sh
probe=$root/$build/tests/e2e/e2e_probe.exe
driver=$root/$build/tests/e2e_host/demo_driver.exe

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

shoot() {  # shoot FILE [WINDOW-CLASS]: the window's rectangle, or the whole screen
  local geo
  if [ -n "${2:-}" ] && geo=$("$emu" "$driver" window-rect "$2" 2>/dev/null); then
    set -- "$1" $geo
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"
  else
    import -window root "$1"
  fi
  echo "demo: screenshot $1"
}
wait_log() {  # wait_log TEXT SECONDS
  for _ in $(seq 1 $(( $2 * 10 ))); do
    grep -q "$1" "$demo/host.log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

echo "demo: starting the stand-in host (DISPLAY=$DISPLAY)"
"$emu" "$bindir/Velto.exe" --log "Z:$demo/host.log" --db "Z:$demo/db" --release 12340 &
host=$!
"$emu" "$probe" wait T_VELTO_Mainform 30000 || { echo "demo: the host did not come up" >&2; exit 1; }

echo "demo: registering AdressLinks.exe with INSTALL"
"$emu" "$bindir/AdressLinks.exe" INSTALL || true
grep -aq "AdressLinks.exe" "$bindir/ZS.MNU" || { echo "demo: INSTALL wrote no ZS.MNU line" >&2; exit 1; }

echo "demo: starting it from the host's extras menu"
hostwid=$(xdotool search --name '^Velto$' | head -n1 || true)
if [ -n "$hostwid" ]; then
  xdotool windowfocus --sync "$hostwid" || true
  # F10 to the menu bar, Right to "zusätzlich", Down opens it.
  xdotool key --delay 150 F10 Right Down
  sleep 0.5  # let the menu paint reach the X server
  shoot "$demo/screenshots/host-menu.png"
  xdotool key Return
fi
if ! "$emu" "$probe" wait TFAdressExtremeLinks 8000; then
  echo "demo: the menu did not start it; sending the menu entry's command"
  "$emu" "$driver" command T_VELTO_Mainform 1000
fi
# Filled and connected: the caption is the connect path.
if ! "$emu" "$probe" caption TFAdressExtremeLinks "Z:$demo/db" 30000; then
  echo "demo: the overview did not come up" >&2
  exit 1
fi
sleep 0.5
shoot "$demo/screenshots/overview.png" TFAdressExtremeLinks

echo "demo: dragging a linked entry onto \"&Details zeigen\""
read -r nx ny < <("$emu" "$driver" node-point TFAdressExtremeLinks 1 | tr -d '\r')
read -r bx by < <("$emu" "$driver" button-point TFAdressExtremeLinks "&Details zeigen" | tr -d '\r')
xdotool mousemove "$nx" "$ny"
sleep 0.2
xdotool mousedown 1
sleep 0.4
xdotool mousemove "$nx" $((ny + 12))
sleep 0.3
xdotool mousemove $(((nx + bx) / 2)) $(((ny + by) / 2))
sleep 0.3
xdotool mousemove "$bx" "$by"
sleep 0.5
shoot "$demo/screenshots/drag.png"
xdotool mouseup 1
if wait_log "request dwData=" 10; then
  sleep 0.5
  shoot "$demo/screenshots/host-request.png" T_VELTO_Mainform
  grep -a "request" "$demo/host.log"
else
  echo "demo: the drag sent no request; clicking \"&Details zeigen\" instead"
  "$emu" "$driver" click TFAdressExtremeLinks "&Details zeigen"
  wait_log "request dwData=" 10 || { echo "demo: no request reached the host" >&2; exit 1; }
  shoot "$demo/screenshots/host-request.png" T_VELTO_Mainform
  grep -a "request" "$demo/host.log"
fi

if [ "$private" = 1 ]; then
  "$emu" "$probe" close TFAdressExtremeLinks || true
  "$emu" "$probe" close T_VELTO_Mainform || true
  wait "$host" || true
else
  echo "demo: close the host and the overview to end"
  wait "$host" || true
fi
