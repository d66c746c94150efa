#!/bin/sh
# Usage: check-dist.sh RELEASE_DIR CHECK_IMPORTS_SCRIPT
# The release folder holds one folder per architecture, x86 and/or x64, each with exactly the
# two programs: GUI programs (a console program would open a window at every logon) of that
# architecture, whose manifests name it too (Wine starts an image whose manifest names another
# architecture, Windows refuses to), importing system DLLs only.
release=$1
sets=$(cd "$release" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | LC_ALL=C sort) || exit 1
[ -n "$sets" ] || { echo "check-dist: $release is empty" >&2; exit 1; }
status=0
for set in $sets; do
  case "$set" in
    x86) magic=010b machine="i386," manifest=x86 objdump=i686-w64-mingw32-objdump ;;
    x64) magic=020b machine="i386:x86-64," manifest=amd64 objdump=x86_64-w64-mingw32-objdump ;;
    *) echo "check-dist: $release/$set is no architecture's folder (x86 or x64)" >&2; status=1; continue ;;
  esac
  dist="$release/$set"
  actual=$(cd "$dist" && find . -mindepth 1 -maxdepth 1 -printf '%P\n' | LC_ALL=C sort) || exit 1
  if [ "$actual" != "$(printf 'Uninstall.exe\nVembrol Starter.exe')" ]; then
    printf 'check-dist: %s holds, instead of exactly the two programs:\n%s\n' "$dist" "$actual" >&2
    status=1
    continue
  fi
  for exe in "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe"; do
    header=$("$objdump" -p "$exe") || { echo "check-dist: $objdump cannot read $exe" >&2; status=1; continue; }
    if [ "$(printf '%s\n' "$header" | grep -c -e "^Magic[[:space:]]*$magic" -e '^Subsystem[[:space:]]*00000002')" != 2 ] ||
       ! "$objdump" -f "$exe" | grep -q "architecture: $machine"; then
      echo "check-dist: $exe is no $set GUI program" >&2
      status=1
    fi
    # Terminal-Server aware (0x8000): otherwise a Remote Desktop host hands the program a per-user
    # copy of the Windows folder, and the uninstaller's guard would look at the wrong one.
    flags=$(printf '%s\n' "$header" | sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\).*/\1/p')
    if [ -z "$flags" ] || [ $((0x$flags & 0x8000)) -eq 0 ]; then
      echo "check-dist: $exe is not Terminal-Server aware (DllCharacteristics $flags)" >&2
      status=1
    fi
    # Both the program's identity and its common-controls dependency name the architecture.
    named=$(grep -ao 'processorArchitecture="[^"]*"' "$exe" | sort | uniq -c | sed 's/^ *//')
    if [ "$named" != "2 processorArchitecture=\"$manifest\"" ]; then
      echo "check-dist: the manifest of $exe names $(printf '%s' "$named" | tr '\n' ' ')instead of $manifest twice" >&2
      status=1
    fi
  done
  OBJDUMP=$objdump sh "$2" "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe" || status=1
  # Both programs still start on Windows 7: the sibling check reads the functions they import.
  OBJDUMP=$objdump sh "$(dirname "$2")/check-win7-imports.sh" "$dist/Uninstall.exe" "$dist/Vembrol Starter.exe" || status=1
done
exit $status
