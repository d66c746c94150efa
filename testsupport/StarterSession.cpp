#include "StarterSession.h"

#include "Handles.h"

#include <algorithm>

namespace startertest {
namespace {

std::wstring W(const std::string& text) { return Wide_FromText(text); }

// Replaced whole on restore, with the values saved from them.
const std::string kOwnedKeys[] = {kStartUpKey, kStartStationKey, "Software\\Classes\\VembrolTestHtml"};

}  // namespace

void StandIn_Copy(const std::string& path) {
    wintest::Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
    CopyFileW(W(STANDIN_EXE).c_str(), W(path).c_str(), FALSE);
}

Lines Started(const std::string& exe, std::string cwd, const std::string& commandLine, const Lines& arguments) {
    if (cwd.size() > 3 && cwd.back() == '\\') cwd.pop_back();  // as GetCurrentDirectory gives it
    std::string argv = "argv|";
    for (const std::string& argument : arguments) argv += "[" + argument + "]";
    return {"start|" + exe + "|" + cwd + "|" + commandLine, argv};
}

Lines StandInLog(const std::string& directory, size_t events) {
    Lines lines;
    Eventually([&] {
        const std::string text = wintest::File_Read(directory + "standin.log");
        lines.clear();
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
                   return line.rfind("argv|", 0) != 0;
               })) >= events;
    }, 10000);
    return lines;
}

HWND StandInWindow(const std::string& title) {
    HWND window = nullptr;
    Eventually([&] { return (window = FindWindowW(L"VembrolStandIn", W(title).c_str())) != nullptr; }, 10000);
    return window;
}

void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    wintest::Registry_WriteStored(root, key, name, REG_SZ, wintest::Utf16_Bytes(text) + std::string(2, '\0'));
}

std::string Registry_String(HKEY root, const std::string& key, const std::string& name) {
    std::string data;
    if (!wintest::Registry_ReadStored(root, key, name, nullptr, &data)) return "(none)";
    return Text_FromWideBuffer(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
}

bool TrayIcon(HWND owner, DWORD operation) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE, data.hWnd = owner, data.uID = 1;
    return Shell_NotifyIconW(operation, &data) != FALSE;
}

void Process_EndById(DWORD processId) {
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (process && TerminateProcess(process.get(), 0)) WaitForSingleObject(process.get(), 5000);
}

std::vector<WORD> Keys(int n, int k) {
    std::vector<WORD> keys(static_cast<size_t>(n), VK_DOWN);
    if (k > 0) keys.push_back(VK_RIGHT);  // opens the submenu with its first item selected
    keys.insert(keys.end(), static_cast<size_t>(std::max(k - 1, 0)), VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

StarterTest::StarterTest() : productKeyExisted_(wintest::Registry_KeyExists(HKEY_LOCAL_MACHINE, "Software\\Vembrol")) {
    auto save = [this](const std::string& path, const std::string& name) {
        Saved& s = values_.emplace_back(Saved{path, name, false, 0, {}});
        s.existed = wintest::Registry_ReadRaw(HKEY_LOCAL_MACHINE, path, name, &s.type, &s.data);
    };
    save("Software\\Classes\\.html", "");  // HKEY_CLASSES_ROOT's machine half
    for (const std::string& key : {kRunKey, kRunKeyNt}) {
        save(key, kRunValue);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, W(key).c_str(), W(kRunValue).c_str());
    }
    for (const std::string& path : kOwnedKeys) {
        for (const std::string& name : wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, path)) save(path, name);
        wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, path);
    }
}

StarterTest::~StarterTest() {
    if (starter_.Running() && PostMessageW(main_, WM_CLOSE, 0, 0)) starter_.WaitExit();
    // Stand-ins the Starter started; a hung one is ended by the test that started it.
    DWORD_PTR ignored;
    for (int pass = 0; pass < 5 && FindWindowW(L"VembrolStandIn", nullptr); ++pass)
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"VembrolStandIn", nullptr)) != nullptr;)
            SendMessageTimeoutW(w, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
    for (const std::string& path : kOwnedKeys) wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, path);
    for (const Saved& v : values_) {
        if (v.existed) wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, v.path, v.name, v.type, v.data);
        if (!v.existed) RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, W(v.path).c_str(), W(v.name).c_str());
    }
    // The Starter creates the product key on the way to its own; a prefix without it gets none.
    if (!productKeyExisted_) wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Vembrol");
}

const StarterInstall& StarterTest::Install(const std::string& name, bool withTarget, const std::string& sub) {
    const std::string root = name.size() > 2 && name[1] == ':' ? name : "C:\\vembrol-tests\\" + name + "\\";
    install_.reset(new StarterInstall{root, root + (sub.empty() ? "" : sub + "\\"), ""});
    install_->exe = install_->dir + "Vembrol Starter.exe";
    wintest::Directory_DeleteTree(root);
    wintest::Directory_Create(install_->dir);
    CopyFileW(W(STARTER_EXE).c_str(), W(install_->exe).c_str(), FALSE);
    if (withTarget) StandIn_Copy(install_->dir + "Vembrol.exe");
    return *install_;
}

bool StarterTest::Start(const std::string& currentDir) {
    starter_ = wintest::Process::Start(install_->exe, "", currentDir.empty() ? install_->dir : currentDir);
    // The icon comes first, then the Run entries and the rest of the start-up, ending in idleness.
    const bool up = Eventually([&] {
        main_ = FindWindowW(nullptr, L"Vembrol Starter v1.0");
        return main_ && wintest::Window_GetProcessId(main_) == starter_.Id() && TrayIcon(main_);
    }, 10000);
    return up && WaitForInputIdle(starter_.Handle(), 5000) == 0;
}

void StarterTest::Tray_Post(UINT event) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    Tray_Post(event, cursor);
}

void StarterTest::Tray_Post(UINT event, POINT anchor) {
    PostMessageW(main_, RegisterWindowMessageW(L"KtSystray"), MAKEWPARAM(anchor.x, anchor.y), MAKELPARAM(event, 1));
}

HWND StarterTest::Menu_Open(UINT event) {
    wintest::PopupMenu_WaitClosed();
    Tray_Post(event);
    return wintest::PopupMenu_WaitFor();
}

bool StarterTest::Menu_Choose(const std::vector<WORD>& keys) {
    // Now and then the menu loop misses a key while windows of the session come and go, and the
    // other submenu opens: they tell apart by their size, as the Start Station's holds five items
    // and the Special Modes' one. Such a try is closed and made again, so no other item is chosen.
    wintest::WindowQuery menus;
    menus.className = "#32768";
    for (int attempt = 0; attempt < 3; ++attempt) {
        HWND popup = Menu_Open();
        if (!popup) return false;
        auto key = keys.begin();
        for (; key != keys.end() && *key != VK_RIGHT; ++key) wintest::PopupMenu_SendKeys(popup, {*key});
        if (key == keys.end()) return true;
        wintest::PopupMenu_SendKeys(popup, {VK_RIGHT});
        RECT submenu = {};
        Eventually([&] {
            for (HWND menu : wintest::Window_FindAll(menus))
                if (menu != popup) GetWindowRect(menu, &submenu);
            return submenu.bottom > submenu.top;
        }, 2000);
        const bool startStation = key - keys.begin() == Item_StartStation;
        if ((submenu.bottom - submenu.top >= 2 * GetSystemMetrics(SM_CYMENU)) != startStation) {
            wintest::PopupMenu_SendKeys(popup, {VK_ESCAPE, VK_ESCAPE});
            continue;
        }
        for (++key; key != keys.end(); ++key) wintest::PopupMenu_SendKeys(popup, {*key});
        return true;
    }
    return false;
}

bool StarterTest::Starter_Drain() {
    if (!TrayIcon(main_, NIM_DELETE)) return false;
    PostMessageW(main_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return Eventually([&] { return TrayIcon(main_); });
}

}  // namespace startertest
