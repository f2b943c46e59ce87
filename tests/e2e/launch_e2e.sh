#!/bin/bash
# End to end under Wine with the real executable: the registration run and
# the launch checks as the host's menu file and the user see them.
#   launch_e2e.sh EMULATOR ADRESSLINKS_EXE PROBE_EXE MAKE_DEMO_DB_EXE
# Needs DISPLAY and WINEPREFIX (scripts/with-headless.sh provides both).
set -u
emu=$1 exe=$2 probe=$3 makedb=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/zs_e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A fresh program directory per case: ZS.MNU and UserMode.INI live beside the exe.
fresh() { local d="$work/$1"; mkdir -p "$d"; cp "$exe" "$d/AdressLinks.exe"; echo "$d"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# wait_exit PID SECONDS: the process has ended within the time; its exit code in $exit_code.
exit_code=
wait_exit() {
  local i=0
  exit_code=
  while kill -0 "$1" 2>/dev/null; do
    [ $i -ge $(($2 * 10)) ] && { kill "$1" 2>/dev/null; return 1; }
    sleep 0.1; i=$((i + 1))
  done
  wait "$1" 2>/dev/null
  exit_code=$?
  return 0
}
# install_run NAME DIR: a registration run that must end by itself, with exit code 0.
install_run() {
  "$emu" "$2/AdressLinks.exe" INSTALL & local pid=$!
  wait_exit $pid 30 || { fail "$1: INSTALL did not end"; return; }
  [ "$exit_code" = 0 ] || fail "$1: INSTALL ended with exit code $exit_code; directory: $(ls "$2" | tr '\n' ' ')"
}
probe() { "$emu" "$probe" "$@"; }
title=$(printf '\xdcbersicht verbundene Adressen.')   # Windows-1252

# --- INSTALL without ZS.MNU: exactly one line, CR LF, no window left behind.
d=$(fresh install_new)
install_run "INSTALL without ZS.MNU" "$d"
expected="$(winpath "$d/AdressLinks.exe");$title"$'\r'
[ "$(cat "$d/ZS.MNU" 2>/dev/null)" = "$expected" ] && [ "$(tail -c 2 "$d/ZS.MNU" | od -An -tx1 | tr -d ' ')" = 0d0a ] &&
  [ "$(wc -c <"$d/ZS.MNU")" -eq $((${#expected} + 1)) ] || fail "INSTALL without ZS.MNU: $(od -c "$d/ZS.MNU" | head -3)"
[ ! -f "$d/UserMode.INI" ] || fail "INSTALL wrote UserMode.INI"

# --- INSTALL with other add-ons and a stale line of our title: replaced in place.
d=$(fresh install_stale)
printf 'C:\\Velto\\Lohn.exe;Lohnabrechnung\r\nC:\\Alt\\AdressLinks.exe;  %s \r\nC:\\Velto\\Kasse.exe;Kasse\r\n' "$title" >"$d/ZS.MNU"
install_run "INSTALL with a stale line" "$d"
printf 'C:\\Velto\\Lohn.exe;Lohnabrechnung\r\n%s;%s\r\nC:\\Velto\\Kasse.exe;Kasse\r\n' "$(winpath "$d/AdressLinks.exe")" "$title" >"$work/expected_stale"
cmp -s "$d/ZS.MNU" "$work/expected_stale" || fail "INSTALL with a stale line: $(od -c "$d/ZS.MNU" | head -6)"

# --- A title differing only in letter case is another add-on: ours is appended.
d=$(fresh install_case)
lower=$(printf '\xfcbersicht verbundene adressen.')
printf 'C:\\Fremd\\Tool.exe;%s\r\n' "$lower" >"$d/ZS.MNU"
install_run "INSTALL with a case-different title" "$d"
printf 'C:\\Fremd\\Tool.exe;%s\r\n%s;%s\r\n' "$lower" "$(winpath "$d/AdressLinks.exe")" "$title" >"$work/expected_case"
cmp -s "$d/ZS.MNU" "$work/expected_case" || fail "INSTALL with a case-different title: $(od -c "$d/ZS.MNU" | head -6)"

# --- Runs that fail a check: the message box appears, the window closes after it.
check_box_run() {  # NAME ARGS...
  local name=$1; shift
  local d; d=$(fresh "$name")
  "$emu" "$d/AdressLinks.exe" "$@" & local pid=$!
  probe wait TFSB_BOX 20000 || fail "$name: no TFSB_BOX appeared"
  probe wait TFAdressExtremeLinks 1000 || fail "$name: main window not there with the box"
  probe answer TFSB_BOX 5000 || fail "$name: could not answer the box"
  probe gone TFSB_BOX 10000 || fail "$name: the box stayed"
  wait_exit $pid 20 || fail "$name: the program did not end after the box"
  [ ! -f "$d/ZS.MNU" ] || fail "$name: ZS.MNU was written"
}
check_box_run lower_install install
check_box_run no_arguments
check_box_run release_12339 "Z:\\nowhere" 1 12339
check_box_run release_abc "Z:\\nowhere" 1 abc

# --- Good starts: the tree fills, the caption becomes the connect path.
db="$work/db"
"$emu" "$makedb" "$(winpath "$db")" --addresses 60 --links 40 >/dev/null || fail "make_demo_db failed"
good_run() {  # NAME FLAG RELEASE
  local d; d=$(fresh "$1")
  local path; path=$(winpath "$db")
  "$emu" "$d/AdressLinks.exe" "$path" "$2" "$3" & local pid=$!
  probe caption TFAdressExtremeLinks "$path" 30000 || fail "$1: caption is not the connect path"
  probe tree-count TFAdressExtremeLinks 10 5000 >/dev/null || fail "$1: the tree did not fill"
  probe topmost TFAdressExtremeLinks || fail "$1: not topmost"
  probe close TFAdressExtremeLinks || fail "$1: no window to close"
  wait_exit $pid 20 || fail "$1: the program did not end after the close"
  grep -q "TFAdressExtremeLinks.ftopbtn.Checked=1" "$d/UserMode.INI" 2>/dev/null || fail "$1: options not saved"
}
good_run local_server 1 12340
good_run remote_server 01 12400

[ $failures -eq 0 ] && echo "launch e2e: all cases passed"
exit $((failures > 0))
