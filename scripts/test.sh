#!/bin/bash
# Sets up, builds every preset and runs every test: natively (ASan+UBSan), the
# fuzz corpora, the benchmarks' build, the 32-bit release build, then the
# Windows tests under Wine on a private Xvfb display with a private prefix
# inside build/. Exits non-zero when anything failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1

jobs=${JOBS:-$(nproc)}
failed=()
step() {  # step NAME COMMAND...: run, remember a failure, go on
  local name=$1; shift
  echo "=== $name"
  "$@"; local rc=$?
  [ $rc -eq 0 ] || { failed+=("$name"); echo "=== $name FAILED"; }
  return $rc
}
build() { mkdir -p build; cmake --preset "$1" >"build/configure-$1.log" 2>&1 || { cat "build/configure-$1.log"; return 1; }
          cmake --build --preset "$1" -j"$jobs"; }

step "native build" build native && step "native tests" ctest --preset native -j"$jobs"
step "fuzz build" build fuzz && step "fuzz corpora" ctest --preset fuzz -j"$jobs"
step "bench build" build bench
step "win32 build" build win32
if step "win64 build" build win64; then
  step "wine tests" bash scripts/with-headless.sh "$root/build/win64/wineprefix" \
    ctest --preset win64 -j"${WINE_JOBS:-2}"
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "all tests passed"
