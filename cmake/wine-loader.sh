# Sourced by every script that starts Wine: picks the loader for an architecture and, when it
# cannot start, says why. /usr/bin/wine (and wineboot, which goes through it) always takes the
# 32-bit loader once it is installed, even on a kernel that cannot run it, so the loader is
# named directly.
#
#   wine_loader x86|x64   sets WINE (the loader to call) and exports WINELOADER; returns 0 when
#                         it starts, else 1 with the cause in WINE_PROBLEM.
# VEMBROL_TEST_NO_32BIT=1 makes the x86 probe answer as a kernel without 32-bit support does,
# so that the scripts' other path can be tried on any machine.
wine_loader() {
  case "$1" in
    x64) WINE=/usr/lib/wine/wine64; package=wine64 ;;
    *) WINE=/usr/lib/wine/wine; package="wine32:i386" ;;
  esac
  WINELOADER=$WINE
  export WINELOADER
  WINE_PROBLEM=""
  if [ ! -x "$WINE" ]; then
    WINE_PROBLEM="$WINE is missing: the package $package is not installed (scripts/setup.sh installs it)"
    return 1
  fi
  if [ "$1" != x64 ] && [ "${VEMBROL_TEST_NO_32BIT:-}" = 1 ]; then
    WINE_PROBLEM="this kernel cannot run 32-bit programs (imitated: VEMBROL_TEST_NO_32BIT=1)"
    return 1
  fi
  if ! said=$("$WINE" --version 2>&1 </dev/null); then
    case "$said" in
      *"Exec format error"*|*"cannot execute binary file"*)
        WINE_PROBLEM="this kernel cannot run 32-bit programs (32-bit emulation is disabled or missing): $said" ;;
      *) WINE_PROBLEM="$WINE does not start: $said" ;;
    esac
    return 1
  fi
  return 0
}
