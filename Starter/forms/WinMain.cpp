// Entry point of Vembrol Starter: load the main form, then serve its window messages.
#include "DllSearch.h"
#include "Mfrm.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    DllSearch_RestrictToSystem();
    MainForm().Form_Load();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Nothing posts WM_QUIT, but should anything do so, leave the tray as a closing Starter does.
    MainForm().Form_Unload(0);
}
