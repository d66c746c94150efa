// A stand-in for programs the Starter starts (Vembrol, browsers, Start Station applications).
// Every start appends one line to standin.log beside the executable:
//   start|<exe path>|<current directory>|<command line>
// Copied as Vembrol.exe it opens a main window titled as Vembrol would for the mode its
// command line names, and logs "closed|<title>" when that window is closed.
#include "Win32.h"

#include <cstring>
#include <string>

namespace {

std::string g_logPath;
std::string g_title;

void Log(const std::string& line) {
    HANDLE f = CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::string data = line + "\r\n";
    DWORD written = 0;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(f);
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && lstrcmpiA(s.c_str() + s.size() - n, tail) == 0;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        Log("closed|" + g_title);
        DestroyWindow(hwnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string exePath = exe;
    g_logPath = exePath.substr(0, exePath.find_last_of('\\') + 1) + "standin.log";
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    std::string cmd = GetCommandLineA();
    Log("start|" + exePath + "|" + cwd + "|" + cmd);

    if (!EndsWithNoCase(exePath, "\\Vembrol.exe")) return 0;

    g_title = "Vembrol";
    if (cmd.find("/FastRead") != std::string::npos) g_title = "FastRead - Vembrol";
    if (cmd.find("/FastSort") != std::string::npos) g_title = "FastSort - Vembrol";
    if (cmd.find("/ExtendedHelp") != std::string::npos) g_title = "Vembrol (extended help mode)";

    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.lpszClassName = "VembrolStandIn";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("VembrolStandIn", g_title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 320, 200,
                              nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, show);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
