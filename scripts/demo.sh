#!/bin/sh
# Builds both programs and shows them working under Wine, in a prefix of the demo's own: lays
# out a sample installation, starts the Starter, opens its tray menu and the Start Station
# submenu, runs the uninstaller up to its question, and saves a screenshot of each.
# With a DISPLAY it runs where you can watch; without one it starts Xvfb. It stops everything
# it started.
set -eu
. "$(dirname "$0")/env.sh"

cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$B/native" -j"$JOBS" --target installfile
cmake -S . -B "$B/win32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$B/win32" -j"$JOBS" --target dist demodriver standin

DEMO="$B/demo"
SHOTS="$DEMO/screenshots"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
export WINEPREFIX="$DEMO/wineprefix"
export WINEDEBUG=-all
XVFB_PID=""
STARTER_PID=""
UNINSTALL_PID=""

cleanup() {
  [ -n "$STARTER_PID" ] && kill "$STARTER_PID" 2>/dev/null || true
  [ -n "$UNINSTALL_PID" ] && kill "$UNINSTALL_PID" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
  n=$(( 400 + $$ % 400 ))
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  i=0; while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
fi

echo "== Wine prefix $WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 </dev/null
# The profile's folders of its own, not links into the Linux home.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done
# One virtual desktop with a taskbar, so that the notification area is on screen.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Demo /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Demo /d 1024x768 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w || true
wineserver -p >/dev/null 2>&1 </dev/null || true
wine cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null

echo "== Sample installation in C:\\Program Files\\Vembrol"
APP="$WINEPREFIX/drive_c/Program Files/Vembrol"
rm -rf "$APP"
mkdir -p "$APP/Skins" "$APP/Tag Editor"
cp "$B/win32/dist/Vembrol Starter.exe" "$B/win32/dist/Uninstall.exe" "$APP/"
cp "$B/win32/testsupport/standin.exe" "$APP/Vembrol.exe"
cp "$B/win32/testsupport/standin.exe" "$APP/Tag Editor/Tag Editor.exe"
cp "$B/win32/testsupport/standin.exe" "$APP/Browser.exe"
echo "classic" > "$APP/Skins/classic.skin"
mkdir -p "$WINEPREFIX/drive_c/users/Public/Music/Collection"
"$B/native/tools/installfile" write - "$APP/Uninstall.dat" <<'DAT'
# What the Vembrol installer put on this machine
info|%currentdir%\|Vembrol|%currentdir%\Vembrol.exe|Vembrol
file||%currentdir%\Vembrol.exe
file||%currentdir%\Vembrol Starter.exe
file||%currentdir%\Skins\classic.skin
file||%currentdir%\Tag Editor\Tag Editor.exe
regkey|HKLM|Software\Vembrol\KtStartStation||
regkey|HKLM|Software\Vembrol||
shortcut|Vembrol|Vembrol|
shortcut|Vembrol|Uninstall Vembrol|
DAT

KEY='HKLM\Software\Vembrol\KtStartStation'
wine reg add "$KEY" /v "browse application" /d "explorer.exe" /f >/dev/null 2>&1
slot() { # n type name
  wine reg add "$KEY" /v "file type$1" /d "$2" /f >/dev/null 2>&1
  wine reg add "$KEY" /v "application name$1" /d "$3" /f >/dev/null 2>&1
  wine reg add "$KEY" /v "icon index$1" /d 0 /f >/dev/null 2>&1
}
slot 1 1 'C:\Program Files\Vembrol\Tag Editor\Tag Editor.exe'
slot 2 1 '%SystemRoot%\notepad.exe'
slot 3 2 'C:\users\Public\Music\Collection\'
wine reg add 'HKCR\.html' /ve /d VembrolDemo.html /f >/dev/null 2>&1
wine reg add 'HKCR\VembrolDemo.html\shell\open\command' /ve \
  /d '"C:\Program Files\Vembrol\Browser.exe" "%1"' /f >/dev/null 2>&1

shot() {
  sleep 0.5
  import -window root "$SHOTS/$1.png"
  echo "   screenshot $SHOTS/$1.png"
}
driver() { wine "$B/win32/tools/demo/demodriver.exe" "$@"; }

echo "== Vembrol Starter: tray menu"
(cd "$APP" && exec wine "C:\\Program Files\\Vembrol\\Vembrol Starter.exe") >/dev/null 2>&1 &
STARTER_PID=$!
driver open-tray-menu
shot 1-starter-tray-menu
echo "== Vembrol Starter: Start Station submenu"
driver keys down down down right
shot 2-starter-start-station
driver keys escape escape escape

echo "== Uninstall: the question"
(cd "$APP" && exec wine "C:\\Program Files\\Vembrol\\Uninstall.exe") >/dev/null 2>&1 &
UNINSTALL_PID=$!
driver wait-box "Do you really want to remove"
shot 3-uninstall-question
driver press No

echo
echo "Screenshots: $SHOTS"
echo "Programs:    $B/win32/dist"
