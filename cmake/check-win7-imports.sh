#!/bin/sh
# Fails when a program imports a function or DLL that Windows 7 lacks: Windows would refuse to
# start it ("The procedure entry point ... could not be located"). Wine exports every function
# whatever Windows version it claims, so only the import table tells. Newer calls (per-monitor
# DPI, ...) are looked up at run time instead, with GetProcAddress.
#
# Usage: check-win7-imports.sh FILE.exe ...
# Exit 0 when no file imports anything of the list below; 1 otherwise (each import printed), or
# when a file cannot be read.
OBJDUMP="${OBJDUMP:-i686-w64-mingw32-objdump}"

# "DLL function", or "DLL *" for a DLL that Windows 7 does not have at all; DLLs in upper case.
LACKING="
SHCORE.DLL *
COMBASE.DLL *
DCOMP.DLL *
UCRTBASE.DLL *
VCRUNTIME140.DLL *
API-MS-WIN-CORE-SYNCH-L1-2-0.DLL *
API-MS-WIN-CORE-PATH-L1-1-0.DLL *
USER32.DLL AdjustWindowRectExForDpi
USER32.DLL AreDpiAwarenessContextsEqual
USER32.DLL EnableNonClientDpiScaling
USER32.DLL GetAwarenessFromDpiAwarenessContext
USER32.DLL GetDpiForSystem
USER32.DLL GetDpiForWindow
USER32.DLL GetDpiFromDpiAwarenessContext
USER32.DLL GetSystemDpiForProcess
USER32.DLL GetSystemMetricsForDpi
USER32.DLL GetThreadDpiAwarenessContext
USER32.DLL GetWindowDpiAwarenessContext
USER32.DLL IsValidDpiAwarenessContext
USER32.DLL LogicalToPhysicalPointForPerMonitorDPI
USER32.DLL PhysicalToLogicalPointForPerMonitorDPI
USER32.DLL SetProcessDpiAwarenessContext
USER32.DLL SetThreadDpiAwarenessContext
USER32.DLL SetThreadDpiHostingBehavior
USER32.DLL SystemParametersInfoForDpi
USER32.DLL GetPointerInfo
USER32.DLL GetPointerType
USER32.DLL EnableMouseInPointer
USER32.DLL GetCurrentInputMessageSource
USER32.DLL IsImmersiveProcess
KERNEL32.DLL AddDllDirectory
KERNEL32.DLL CopyFile2
KERNEL32.DLL CreateFile2
KERNEL32.DLL CreateFileMappingFromApp
KERNEL32.DLL DeleteSynchronizationBarrier
KERNEL32.DLL EnterSynchronizationBarrier
KERNEL32.DLL GetCurrentPackageFullName
KERNEL32.DLL GetCurrentPackageId
KERNEL32.DLL GetCurrentThreadStackLimits
KERNEL32.DLL GetFirmwareType
KERNEL32.DLL GetOverlappedResultEx
KERNEL32.DLL GetProcessInformation
KERNEL32.DLL GetSystemTimePreciseAsFileTime
KERNEL32.DLL GetThreadDescription
KERNEL32.DLL GetThreadInformation
KERNEL32.DLL InitializeSynchronizationBarrier
KERNEL32.DLL MapViewOfFileFromApp
KERNEL32.DLL PrefetchVirtualMemory
KERNEL32.DLL RemoveDllDirectory
KERNEL32.DLL SetDefaultDllDirectories
KERNEL32.DLL SetProcessInformation
KERNEL32.DLL SetThreadDescription
KERNEL32.DLL SetThreadInformation
KERNEL32.DLL WaitOnAddress
KERNEL32.DLL WakeByAddressAll
KERNEL32.DLL WakeByAddressSingle
"

if [ "$#" -eq 0 ]; then
  echo "usage: $0 FILE.exe ..." >&2
  exit 1
fi
failed=0
for exe in "$@"; do
  if ! dump=$("$OBJDUMP" -p "$exe" 2>&1); then
    echo "check-win7-imports: cannot read $exe: $dump" >&2
    failed=1
    continue
  fi
  # Each "DLL Name:" line opens a DLL's list; its functions follow as "vma hint name" lines.
  found=$(printf '%s\n' "$dump" | tr -d '\r' | awk -v lacking="$LACKING" '
    BEGIN { n = split(lacking, lines, "\n"); for (i = 1; i <= n; i++) if (lines[i] != "") bad[lines[i]] = 1 }
    /^[[:space:]]*DLL Name:/ { dll = toupper($3); if ((dll " *") in bad) print dll; next }
    dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { if ((dll " " $3) in bad) print dll " " $3 }')
  if [ -n "$found" ]; then
    printf '%s\n' "$found" | while IFS= read -r line; do
      echo "check-win7-imports: $exe imports $line, which Windows 7 lacks" >&2
    done
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "check-win7-imports: $# program(s) import nothing that Windows 7 lacks"
