// Drives the programs for the demo, one step per run, so that the demo script can take a
// screenshot between steps while the programs keep their menus and boxes open.
//   demodriver open-tray-menu        post the tray click to the Starter, wait for its menu
//   demodriver keys <vk> ...         press keys on the open menu (down, right, left, enter, escape)
//   demodriver wait-box <text start> wait for a message box whose text begins so
//   demodriver press <button>        press a button of the visible message box
//   demodriver move-box-below        move the visible message box below its owner window, as a
//                                    user drags it aside to watch the window behind it
#include "WinTest.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace wintest;

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "demodriver: %s\n", what);
    return 1;
}

WORD KeyByName(const char* name) {
    if (!std::strcmp(name, "down")) return VK_DOWN;
    if (!std::strcmp(name, "up")) return VK_UP;
    if (!std::strcmp(name, "right")) return VK_RIGHT;
    if (!std::strcmp(name, "left")) return VK_LEFT;
    if (!std::strcmp(name, "enter")) return VK_RETURN;
    if (!std::strcmp(name, "escape")) return VK_ESCAPE;
    return 0;
}

int OpenTrayMenu() {
    WindowQuery q;
    q.title = "Vembrol Starter v1.0";
    q.visibleOnly = false;
    HWND main = Window_WaitFor(q, 20000);
    if (!main) return Fail("the Starter's window did not appear");
    // The menu opens at the cursor and is moved to fit the screen; start it high enough that
    // it ends above the taskbar and the icon stays in view.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 12, GetSystemMetrics(SM_CYSCREEN) - 190);
    PostMessageA(main, RegisterWindowMessageA("KtSystray"), 1, WM_RBUTTONUP);
    if (!PopupMenu_WaitFor(10000)) return Fail("the tray menu did not open");
    Sleep(300);
    return 0;
}

int Keys(int argc, char** argv) {
    HWND popup = PopupMenu_WaitFor(5000);
    if (!popup) return Fail("no menu is open");
    for (int i = 2; i < argc; ++i) {
        WORD vk = KeyByName(argv[i]);
        if (!vk) return Fail("unknown key");
        // A submenu opens as a further popup window; keys go to the newest one.
        auto popups = Window_FindAll([] {
            WindowQuery m;
            m.className = "#32768";
            return m;
        }());
        HWND target = popups.empty() ? popup : popups.front();
        PopupMenu_SendKeys(target, {vk});
    }
    Sleep(300);
    return 0;
}

int WaitBox(const char* textStart) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000) {
        if (HWND box = MessageBox_WaitFor(0, 1000)) {
            MessageBoxInfo info = MessageBox_Read(box);
            if (info.text.rfind(textStart, 0) == 0) {
                Sleep(300);
                return 0;
            }
        }
        Sleep(100);
    }
    return Fail("the message box did not appear");
}

int Press(const char* button) {
    HWND box = MessageBox_WaitFor(0, 10000);
    if (!box || !MessageBox_Press(box, button)) return Fail("no such button");
    Window_WaitGone(box, 5000);
    return 0;
}

int MoveBoxBelow() {
    HWND box = MessageBox_WaitFor(0, 10000);
    HWND owner = box ? GetWindow(box, GW_OWNER) : nullptr;
    RECT boxRect{}, ownerRect{};
    if (!owner || !GetWindowRect(box, &boxRect) || !GetWindowRect(owner, &ownerRect)) return Fail("no box with a window behind it");
    SetWindowPos(box, nullptr, boxRect.left, ownerRect.bottom + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && !std::strcmp(argv[1], "open-tray-menu")) return OpenTrayMenu();
    if (argc >= 3 && !std::strcmp(argv[1], "keys")) return Keys(argc, argv);
    if (argc == 3 && !std::strcmp(argv[1], "wait-box")) return WaitBox(argv[2]);
    if (argc == 3 && !std::strcmp(argv[1], "press")) return Press(argv[2]);
    if (argc == 2 && !std::strcmp(argv[1], "move-box-below")) return MoveBoxBelow();
    return Fail("usage: demodriver open-tray-menu | keys <key>... | wait-box <text> | press <button> | move-box-below");
}
