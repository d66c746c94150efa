#!/bin/sh
# Usage: check-dist.sh DIST_DIR CHECK_IMPORTS_SCRIPT
# 32-bit GUI programs only: a console program would open a window at every logon.
dist=$1
actual=$(cd "$dist" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | LC_ALL=C sort) || exit 1
if [ "$actual" != "$(printf 'Uninstall.exe\nVembrol Starter.exe')" ]; then
  printf 'check-dist: %s holds, instead of exactly the two programs:\n%s\n' "$dist" "$actual" >&2
  exit 1
fi
for exe in "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe"; do
  [ "$("${OBJDUMP:-i686-w64-mingw32-objdump}" -p "$exe" | grep -c -e '^Magic[[:space:]]*010b' \
      -e '^Subsystem[[:space:]]*00000002')" = 2 ] || { echo "check-dist: $exe is no 32-bit GUI program" >&2; exit 1; }
done
sh "$2" "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe"
