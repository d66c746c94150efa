#!/bin/sh
# Fails when a built .exe imports a DLL that is not part of Windows itself: the programs ship
# as single static executables and must start on a bare system, with no runtime DLL beside them.
#
# Usage: check-imports.sh FILE.exe|DIRECTORY ...
#   A directory is searched (recursively) for *.exe files, skipping CMakeFiles/ and the
#   drive_c/ of a Wine prefix inside it. Exit 0 when every .exe imports only
#   system DLLs; exit 1 on any other DLL (each offender printed), on a file objdump cannot
#   read, or when no .exe was given or found at all.
OBJDUMP="${OBJDUMP:-i686-w64-mingw32-objdump}"

# Windows system DLLs, upper case. The C runtime is the system's own msvcrt.dll only: the
# api-ms-win-crt-* and ucrtbase DLLs are missing on older systems the programs support.
ALLOWED="
ADVAPI32.DLL
BCRYPT.DLL
COMCTL32.DLL
COMDLG32.DLL
CRYPT32.DLL
DWMAPI.DLL
GDI32.DLL
IMM32.DLL
IPHLPAPI.DLL
KERNEL32.DLL
MPR.DLL
MSIMG32.DLL
MSVCRT.DLL
NETAPI32.DLL
NTDLL.DLL
OLE32.DLL
OLEAUT32.DLL
PSAPI.DLL
RPCRT4.DLL
SECUR32.DLL
SETUPAPI.DLL
SHELL32.DLL
SHFOLDER.DLL
SHLWAPI.DLL
USER32.DLL
USERENV.DLL
UXTHEME.DLL
VERSION.DLL
WININET.DLL
WINMM.DLL
WINSPOOL.DRV
WS2_32.DLL
WSOCK32.DLL
"

if [ "$#" -eq 0 ]; then
  echo "usage: $0 FILE.exe|DIRECTORY ..." >&2
  exit 1
fi
if ! command -v "$OBJDUMP" >/dev/null 2>&1; then
  echo "check-imports: $OBJDUMP not found" >&2
  exit 1
fi

list=$(mktemp) || exit 1
trap 'rm -f "$list"' EXIT
for arg in "$@"; do
  if [ -d "$arg" ]; then
    # Not built programs: CMake's compiler probes, and the Windows of a Wine test prefix.
    find "$arg" \( -name CMakeFiles -o -name drive_c \) -prune -o -type f -iname '*.exe' -print >>"$list"
  elif [ -f "$arg" ]; then
    printf '%s\n' "$arg" >>"$list"
  else
    echo "check-imports: no such file or directory: $arg" >&2
    exit 1
  fi
done

count=0
failed=0
while IFS= read -r exe; do
  count=$((count + 1))
  # Import and delay-import tables both list their DLLs as "DLL Name: x.dll".
  if ! dump=$("$OBJDUMP" -p "$exe" 2>&1); then
    echo "check-imports: cannot read $exe: $dump" >&2
    failed=1
    continue
  fi
  dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr -d '\r')
  if [ -z "$dlls" ]; then
    echo "check-imports: $exe: no import table found" >&2
    failed=1
    continue
  fi
  set -f
  saved_ifs=$IFS
  IFS='
'
  for dll in $dlls; do
    upper=$(printf '%s' "$dll" | tr '[:lower:]' '[:upper:]')
    if ! printf '%s\n' "$ALLOWED" | grep -qxF "$upper"; then
      echo "check-imports: $exe imports $dll, which is not a Windows system DLL" >&2
      failed=1
    fi
  done
  IFS=$saved_ifs
  set +f
done <"$list"

if [ "$count" -eq 0 ]; then
  echo "check-imports: no .exe file in: $*" >&2
  exit 1
fi
if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "check-imports: $count .exe file(s) import only Windows system DLLs"
exit 0
