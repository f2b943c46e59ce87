#!/bin/sh
# CMAKE_CROSSCOMPILING_EMULATOR for x86_64 Windows programs: wine-emu.sh prog.exe args...
# Keeps Wine quiet and non-interactive and propagates the program's exit code.
: "${WINEDEBUG:=-all}"                    # also silences Debian's "wine32 is missing" hint
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"  # never offer to install Wine Mono / Gecko
export WINEDEBUG WINEDLLOVERRIDES
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-emu.sh: WINEPREFIX is not set (refusing to create/use ~/.wine)" >&2
  exit 2
fi
export WINEPREFIX
# Debian 12 has no /usr/bin/wine64; the 64-bit loader is /usr/lib/wine/wine64.
WINE64=${WINE64:-$(command -v wine64 || echo /usr/lib/wine/wine64)}

# A 32-bit .exe under wine64 without wine32 installed prints nothing and exits 0 (!), which
# would turn any test into a silent pass.  Refuse i386 PE files unless a 32-bit loader exists.
case "${1:-}" in
  *.exe|*.EXE)
    if [ -f "$1" ] && [ ! -x /usr/lib/wine/wine ]; then
      peoff=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
      machine=$(od -An -tx2 -j$((peoff + 4)) -N2 "$1" | tr -d ' ')
      if [ "$machine" = "014c" ]; then
        echo "wine-emu.sh: $1 is a 32-bit (i386) program; wine32 is not installed, cannot run it" >&2
        exit 2
      fi
    fi ;;
esac

# Every Wine process inherits unix fd 2, including an explorer.exe /desktop that the test
# may spawn and that outlives it.  If fd 2 is ctest's pipe, ctest waits until explorer exits
# (>= 1 s per test, or until the end of the session when something keeps the desktop alive).
# So give Wine a temp file as stderr and replay it afterwards.
err=$(mktemp "${TMPDIR:-/tmp}/wine-emu.XXXXXX")
trap 'cat "$err" >&2; rm -f "$err"' EXIT
trap 'exit 143' TERM INT HUP
"$WINE64" "$@" 2>"$err"
exit $?
