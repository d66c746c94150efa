#!/bin/sh
# The release folder as it ships: exactly the two programs, each a 32-bit Windows GUI executable
# (a console program would open a console window at every logon) that needs no DLL beside it.
#
# Usage: check-dist.sh DIST_DIR CHECK_IMPORTS_SCRIPT
OBJDUMP="${OBJDUMP:-i686-w64-mingw32-objdump}"
dist=$1
check_imports=$2

if [ ! -d "$dist" ]; then
  echo "check-dist: no release folder $dist (build the dist target first)" >&2
  exit 1
fi

failed=0
expected="Uninstall.exe
Vembrol Starter.exe"
actual=$(cd "$dist" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  echo "check-dist: $dist holds:" >&2
  printf '  %s\n' "$actual" >&2
  echo "check-dist: expected exactly: Uninstall.exe, Vembrol Starter.exe" >&2
  failed=1
fi

for name in "Uninstall.exe" "Vembrol Starter.exe"; do
  exe="$dist/$name"
  if [ ! -f "$exe" ]; then
    echo "check-dist: $name is missing or not a file" >&2
    failed=1
    continue
  fi
  header=$("$OBJDUMP" -f "$exe" 2>&1)
  private=$("$OBJDUMP" -p "$exe" 2>&1)
  if ! printf '%s\n' "$header" | grep -q 'file format pei-i386$'; then
    echo "check-dist: $name is not a 32-bit PE image:" >&2
    printf '%s\n' "$header" >&2
    failed=1
  fi
  if ! printf '%s\n' "$header" | grep -q '^architecture: i386,'; then
    echo "check-dist: $name is not built for i386" >&2
    failed=1
  fi
  if ! printf '%s\n' "$private" | grep -q '^Magic[[:space:]]*010b'; then
    echo "check-dist: $name lacks the PE32 (32-bit) optional header" >&2
    failed=1
  fi
  if ! printf '%s\n' "$private" | grep -q '^Subsystem[[:space:]]*00000002'; then
    echo "check-dist: $name is not a Windows GUI program:" >&2
    printf '%s\n' "$private" | grep '^Subsystem' >&2
    failed=1
  fi
  if printf '%s\n' "$private" | grep -qx '[[:space:]]*DLL'; then
    echo "check-dist: $name is built as a DLL" >&2
    failed=1
  fi
done

if ! sh "$check_imports" "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe"; then
  failed=1
fi

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "check-dist: $dist holds the two programs, 32-bit GUI executables importing system DLLs only"
exit 0
