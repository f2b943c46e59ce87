#!/bin/bash
# Fetches the pinned SQLite amalgamation from the registry package better-sqlite3
# (its deps/sqlite3) into third_party/sqlite/src/. Skips when the verified files
# are present; fails loudly on any checksum mismatch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest="$root/third_party/sqlite/src"

pkg_version=12.11.1
sha_tgz=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
sha_c=60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422
sha_h=9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e

sha() { sha256sum "$1" | cut -d' ' -f1; }
verified() {
  [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] &&
    [ "$(sha "$dest/sqlite3.c")" = "$sha_c" ] && [ "$(sha "$dest/sqlite3.h")" = "$sha_h" ]
}

if verified; then
  echo "fetch-sqlite: SQLite amalgamation present and verified"
  exit 0
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm pack --silent "better-sqlite3@$pkg_version" >/dev/null)
tgz="$tmp/better-sqlite3-$pkg_version.tgz"
if [ "$(sha "$tgz")" != "$sha_tgz" ]; then
  echo "fetch-sqlite: CHECKSUM MISMATCH for $(basename "$tgz") (expected $sha_tgz, got $(sha "$tgz"))" >&2
  exit 1
fi
tar xzf "$tgz" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
for f in sqlite3.c:$sha_c sqlite3.h:$sha_h; do
  name=${f%%:*} want=${f#*:}
  got=$(sha "$tmp/package/deps/sqlite3/$name")
  if [ "$got" != "$want" ]; then
    echo "fetch-sqlite: CHECKSUM MISMATCH for $name (expected $want, got $got)" >&2
    exit 1
  fi
done
mkdir -p "$dest"
cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/"
verified || { echo "fetch-sqlite: copied files fail verification" >&2; exit 1; }
echo "fetch-sqlite: SQLite amalgamation $pkg_version fetched and verified"
