#!/bin/sh
# Builds both programs and shows them working under Wine, in a prefix of the demo's own: lays
# out a sample installation, starts the Starter, opens its tray menu and the Start Station
# submenu, runs the uninstaller through its question, a file that cannot be deleted and its
# final message, and saves a screenshot of each. The x86 programs where this machine runs 32-bit
# programs, else the x64 ones; it says which.
# With a DISPLAY it runs where you can watch; without one it starts Xvfb. It stops everything
# it started, and when a step fails it says which one and why.
set -eu
. "$(dirname "$0")/env.sh"

STEP="start"
XVFB_PID=""
STARTER_PID=""
UNINSTALL_PID=""
cleanup() {
  status=$?
  [ -n "$STARTER_PID" ] && kill "$STARTER_PID" 2>/dev/null || true
  [ -n "$UNINSTALL_PID" ] && kill "$UNINSTALL_PID" 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  if [ "$status" -ne 0 ]; then
    echo "demo.sh: stopped at \"$STEP\" (exit code $status)" >&2
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

STEP="choosing the architecture"
if wine_loader x86; then
  ARCH=x86
  echo "== The x86 programs, under 32-bit Wine"
else
  echo "== The x64 programs, under 64-bit Wine: x86 cannot run here, since $WINE_PROBLEM"
  ARCH=x64
  if ! wine_loader x64; then
    echo "demo.sh: 64-bit Wine cannot start either: $WINE_PROBLEM" >&2
    exit 1
  fi
fi
WIN="$(win_dir "$ARCH")"

STEP="building"
cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$B/native" -j"$JOBS" --target installfile
win_build "$ARCH" "" dist demodriver standin

DEMO="$B/demo-$ARCH"
SHOTS="$B/demo/screenshots"
rm -rf "$SHOTS"
mkdir -p "$SHOTS" "$DEMO"
export WINEPREFIX="$DEMO/wineprefix"
export WINEDEBUG=-all

STEP="starting the display"
if [ -z "${DISPLAY:-}" ]; then
  n=$(( 400 + $$ % 400 ))
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  i=0; while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "demo.sh: Xvfb did not start on :$n" >&2; exit 1; }
fi

STEP="preparing the Wine prefix $WINEPREFIX"
echo "== Wine prefix $WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  if ! said=$("$WINE" wineboot.exe -i 2>&1 </dev/null); then
    echo "demo.sh: wineboot failed: $said" >&2
    exit 1
  fi
fi
# Wine draws the caption buttons with the Marlett font, which it takes from the prefix's
# Fonts folder only (without it they show letters: "r" for close).
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# The profile's folders of its own, not links into the Linux home.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done
# One virtual desktop with a taskbar, so that the notification area is on screen.
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Demo /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Demo /d 1024x768 /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w || true
wineserver -p >/dev/null 2>&1 </dev/null || true
"$WINE" cmd.exe /c exit 0 >/dev/null 2>&1 </dev/null

STEP="laying out the sample installation"
echo "== Sample installation in C:\\Program Files\\Vembrol"
APP="$WINEPREFIX/drive_c/Program Files/Vembrol"
rm -rf "$APP"
mkdir -p "$APP/Skins" "$APP/Tag Editor"
cp "$WIN/dist/$ARCH/Vembrol Starter.exe" "$WIN/dist/$ARCH/Uninstall.exe" "$APP/"
cp "$WIN/testsupport/standin.exe" "$APP/Vembrol.exe"
cp "$WIN/testsupport/standin.exe" "$APP/Tag Editor/Tag Editor.exe"
cp "$WIN/testsupport/standin.exe" "$APP/Browser.exe"
mkdir -p "$WINEPREFIX/drive_c/users/Public/Music/Collection"
# A few thousand skin files, one of them read-only part-way through the list, so that the
# uninstaller stops there with its progress bar part-way.
i=0
while [ $i -lt 3000 ]; do echo "skin $i" > "$APP/Skins/skin$i.skin"; i=$((i + 1)); done
{
  echo '# What the Vembrol installer put on this machine'
  echo 'info|%currentdir%\|Vembrol|%currentdir%\Vembrol.exe|Vembrol'
  echo 'file||%currentdir%\Vembrol.exe'
  echo 'file||%currentdir%\Vembrol Starter.exe'
  echo 'file||%currentdir%\Tag Editor\Tag Editor.exe'
  echo 'file||%currentdir%\Browser.exe'
  i=0
  while [ $i -lt 3000 ]; do echo "file||%currentdir%\\Skins\\skin$i.skin"; i=$((i + 1)); done
  echo 'regkey|HKLM|Software\Vembrol\KtStartStation||'
  echo 'regkey|HKLM|Software\Vembrol||'
  echo 'shortcut|Vembrol|Vembrol|'
  echo 'shortcut|Vembrol|Uninstall Vembrol|'
} | "$B/native/tools/installfile" write - "$APP/Uninstall.dat"
"$WINE" cmd.exe /c attrib +r 'C:\Program Files\Vembrol\Skins\skin1800.skin' >/dev/null 2>&1

KEY='HKLM\Software\Vembrol\KtStartStation'
"$WINE" reg add "$KEY" /v "browse application" /d "explorer.exe" /f >/dev/null 2>&1
slot() { # n type name
  "$WINE" reg add "$KEY" /v "file type$1" /d "$2" /f >/dev/null 2>&1
  "$WINE" reg add "$KEY" /v "application name$1" /d "$3" /f >/dev/null 2>&1
  "$WINE" reg add "$KEY" /v "icon index$1" /d 0 /f >/dev/null 2>&1
}
slot 1 1 'C:\Program Files\Vembrol\Tag Editor\Tag Editor.exe'
slot 2 1 '%SystemRoot%\notepad.exe'
slot 3 2 'C:\users\Public\Music\Collection\'
"$WINE" reg add 'HKCR\.html' /ve /d VembrolDemo.html /f >/dev/null 2>&1
"$WINE" reg add 'HKCR\VembrolDemo.html\shell\open\command' /ve \
  /d '"C:\Program Files\Vembrol\Browser.exe" "%1"' /f >/dev/null 2>&1

shot() {
  sleep 0.5
  import -window root "$SHOTS/$1.png"
  echo "   screenshot $SHOTS/$1.png"
}
driver() { "$WINE" "$WIN/tools/demo/demodriver.exe" "$@"; }

STEP="opening the Starter's tray menu"
echo "== Vembrol Starter: tray menu"
(cd "$APP" && exec "$WINE" "C:\\Program Files\\Vembrol\\Vembrol Starter.exe") >/dev/null 2>&1 &
STARTER_PID=$!
driver open-tray-menu
shot 1-starter-tray-menu
STEP="opening the Start Station submenu"
echo "== Vembrol Starter: Start Station submenu"
driver keys down down down right
shot 2-starter-start-station
driver keys escape escape escape

STEP="asking the uninstaller's question"
echo "== Uninstall: the question"
(cd "$APP" && exec "$WINE" "C:\\Program Files\\Vembrol\\Uninstall.exe") >/dev/null 2>&1 &
UNINSTALL_PID=$!
driver wait-box "Do you really want to remove"
shot 3-uninstall-question
driver press Yes
STEP="waiting for the read-only file's question"
echo "== Uninstall: a read-only file part-way through"
driver wait-box "Error deleting file"
driver move-box-below
shot 4-uninstall-progress
# The user makes the file deletable, then answers Retry.
"$WINE" cmd.exe /c attrib -r 'C:\Program Files\Vembrol\Skins\skin1800.skin' >/dev/null 2>&1
driver press Retry
STEP="waiting for the uninstaller's final message"
echo "== Uninstall: the final message"
driver wait-box "Application has been removed"
shot 5-uninstall-done
driver press OK
wait "$UNINSTALL_PID" 2>/dev/null || true
UNINSTALL_PID=""

echo
echo "Screenshots: $SHOTS ($ARCH programs)"
echo "Programs:    $WIN/dist/$ARCH"
STEP="done"
