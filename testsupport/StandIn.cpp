// A stand-in for programs the Starter starts (Vembrol, browsers, Start Station applications).
// Every start appends two lines, in UTF-8, to standin.log beside the executable:
//   start|<exe path>|<current directory>|<command line>
//   argv|[<argument 0>][<argument 1>]...
// the second with the command line split as programs split it (CommandLineToArgvW), so that a
// test sees whether an argument arrived whole.
// Copied as Vembrol.exe it opens a main window titled as Vembrol would for the mode its
// command line names, and logs "closed|<title>|front" (or "|behind") when that window is closed
// while it is (or is not) the foreground window.
// Under any name, "/Window=<title>" (the rest of the command line) opens a window of that title,
// "/Minimized" shows that window minimized, and "/Hang" makes the program stop answering
// messages once its window shows.
#include "WideText.h"

#include <shellapi.h>

#include <string>

namespace {

std::string g_logPath;
std::string g_title;

void Log(const std::string& line) {
    HANDLE f = CreateFileW(Wide_FromText(g_logPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::string data = line + "\r\n";
    DWORD written = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(f);
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    const std::string t = tail;
    return s.size() >= t.size() && lstrcmpiW(Wide_FromText(s.substr(s.size() - t.size())).c_str(),
                                             Wide_FromText(t).c_str()) == 0;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        Log("closed|" + g_title + (GetForegroundWindow() == hwnd ? "|front" : "|behind"));
        DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    const std::string exePath = Module_GetPath();
    g_logPath = exePath.substr(0, exePath.find_last_of('\\') + 1) + "standin.log";
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    const std::string cmd = Text_FromWide(GetCommandLineW());
    std::string argv = "argv|";
    int count = 0;
    if (LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) argv += "[" + Text_FromWide(args[i]) + "]";
        LocalFree(args);
    }
    // One write, so that a reader never sees a start without its arguments.
    Log("start|" + exePath + "|" + Text_FromWideBuffer(cwd, MAX_PATH) + "|" + cmd + "\r\n" + argv);

    const size_t window = cmd.find("/Window=");
    if (window != std::string::npos) {
        g_title = cmd.substr(window + 8);
    } else if (EndsWithNoCase(exePath, "\\Vembrol.exe")) {
        g_title = "Vembrol";
        if (cmd.find("/FastRead") != std::string::npos) g_title = "FastRead - Vembrol";
        if (cmd.find("/FastSort") != std::string::npos) g_title = "FastSort - Vembrol";
        if (cmd.find("/ExtendedHelp") != std::string::npos) g_title = "Vembrol (extended help mode)";
    } else {
        return 0;
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"VembrolStandIn";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"VembrolStandIn", Wide_FromText(g_title).c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 320,
                              200, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, cmd.find("/Minimized") != std::string::npos ? SW_SHOWMINNOACTIVE : show);
    UpdateWindow(hwnd);
    if (cmd.find("/Hang") != std::string::npos) {
        Log("hanging|" + g_title);
        Sleep(INFINITE);
    }
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
