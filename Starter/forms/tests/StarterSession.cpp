#include "StarterSession.h"

#include <algorithm>

namespace startertest {
namespace {

std::wstring W(const std::string& text) { return Wide_FromText(text); }

// Replaced whole on restore, with the values saved from them.
const std::pair<HKEY, std::string> kOwnedKeys[] = {
    {HKEY_LOCAL_MACHINE, kStartUpKey}, {HKEY_LOCAL_MACHINE, kStartStationKey}, {HKEY_CLASSES_ROOT, "VembrolTestHtml"}};

}  // namespace

void StandIn_Copy(const std::string& path) {
    wintest::Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
    CopyFileW(W(STANDIN_EXE).c_str(), W(path).c_str(), FALSE);
}

std::string StartLine(const std::string& exe, std::string cwd, const std::string& commandLine) {
    if (cwd.size() > 3 && cwd.back() == '\\') cwd.pop_back();  // as GetCurrentDirectory gives it
    return "start|" + exe + "|" + cwd + "|" + commandLine;
}

Lines StandInLog(const std::string& directory, size_t count) {
    Lines lines;
    Eventually([&] {
        const std::string text = wintest::File_Read(directory + "standin.log");
        lines.clear();
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return lines.size() >= count;
    }, 10000);
    return lines;
}

HWND StandInWindow(const std::string& title) {
    HWND window = nullptr;
    Eventually([&] { return (window = FindWindowW(L"VembrolStandIn", W(title).c_str())) != nullptr; }, 10000);
    return window;
}

void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    const std::wstring data = W(text);
    RegSetKeyValueW(root, W(key).c_str(), W(name).c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

std::string Registry_String(HKEY root, const std::string& key, const std::string& name) {
    wchar_t data[2048] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, W(key).c_str(), W(name).c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return Text_FromWideBuffer(data, 2048);
}

bool TrayIcon(HWND owner, DWORD operation) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    return Shell_NotifyIconW(operation, &data) != FALSE;
}

// ---- the Starter -------------------------------------------------------------------------------

StarterInstall::StarterInstall(const std::string& rootFolder, bool withTarget, const std::string& sub)
    : root(rootFolder), dir(root + (sub.empty() ? "" : sub + "\\")), exe(dir + "Vembrol Starter.exe") {
    wintest::Directory_DeleteTree(root);
    wintest::Directory_Create(dir);
    CopyFileW(W(STARTER_EXE).c_str(), W(exe).c_str(), FALSE);
    if (withTarget) StandIn_Copy(dir + "Vembrol.exe");
}

std::vector<WORD> Keys(int n, int k) {
    std::vector<WORD> keys(static_cast<size_t>(n), VK_DOWN);
    if (k > 0) keys.push_back(VK_RIGHT);  // opens the submenu with its first item selected
    keys.insert(keys.end(), static_cast<size_t>(std::max(k - 1, 0)), VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

StarterTest::StarterTest() : productKeyExisted_(wintest::Registry_KeyExists(HKEY_LOCAL_MACHINE, "Software\\Vembrol")) {
    auto save = [this](HKEY root, const std::string& path, const std::string& name) {
        Saved s{root, path, name, false, 0, {}};
        s.existed = wintest::Registry_ReadRaw(root, path, name, &s.type, &s.data);
        values_.push_back(s);
    };
    save(HKEY_CLASSES_ROOT, ".html", "");
    for (const std::string& key : {kRunKey, kRunKeyNt}) {
        save(HKEY_LOCAL_MACHINE, key, kRunValue);
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, W(key).c_str(), W(kRunValue).c_str());
    }
    for (const auto& [root, path] : kOwnedKeys) {
        for (const std::string& name : wintest::Registry_ValueNames(root, path)) save(root, path, name);
        wintest::Registry_DeleteTree(root, path);
    }
}

StarterTest::~StarterTest() {
    if (starter_.Running() && PostMessageW(main_, WM_CLOSE, 0, 0)) starter_.WaitExit();
    // Stand-ins the Starter started; a hung one is ended by the test that started it.
    for (int pass = 0; pass < 5 && FindWindowW(L"VembrolStandIn", nullptr); ++pass) {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"VembrolStandIn", nullptr)) != nullptr;) {
            DWORD_PTR ignored;
            SendMessageTimeoutW(w, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
        }
    }
    for (const auto& [root, path] : kOwnedKeys) wintest::Registry_DeleteTree(root, path);
    for (const Saved& v : values_) {
        if (v.existed)
            wintest::Registry_WriteRaw(v.root, v.path, v.name, v.type, v.data);
        else
            RegDeleteKeyValueW(v.root, W(v.path).c_str(), W(v.name).c_str());
    }
    // The Starter creates the product key on the way to its own; a prefix without it gets none.
    if (!productKeyExisted_) wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Vembrol");
}

const StarterInstall& StarterTest::Install(const std::string& name, bool withTarget, const std::string& sub) {
    install_.reset();
    const std::string root = name.size() > 2 && name[1] == ':' ? name : "C:\\vembrol-tests\\" + name + "\\";
    install_ = std::make_unique<StarterInstall>(root, withTarget, sub);
    return *install_;
}

bool StarterTest::Start() {
    starter_ = wintest::Process::Start(install_->exe, "", install_->dir);
    // The icon comes first, then the Run entries and the rest of the start-up, ending in idleness.
    const bool up = Eventually([&] {
        main_ = FindWindowW(nullptr, L"Vembrol Starter v1.0");
        return main_ && wintest::Window_GetProcessId(main_) == starter_.Id() && TrayIcon(main_);
    }, 10000);
    return up && WaitForInputIdle(starter_.Handle(), 5000) == 0;
}

void StarterTest::Tray_Post(LPARAM mouseMessage) {
    PostMessageW(main_, RegisterWindowMessageW(L"KtSystray"), 1, mouseMessage);
}

HWND StarterTest::Menu_Open(LPARAM mouseMessage) {
    wintest::PopupMenu_WaitClosed();
    Tray_Post(mouseMessage);
    return wintest::PopupMenu_WaitFor();
}

bool StarterTest::Menu_Choose(const std::vector<WORD>& keys) {
    HWND popup = Menu_Open();
    if (!popup) return false;
    for (WORD key : keys) wintest::PopupMenu_SendKeys(popup, {key});
    return true;
}

bool StarterTest::Starter_Drain() {
    if (!TrayIcon(main_, NIM_DELETE)) return false;
    PostMessageW(main_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return Eventually([&] { return TrayIcon(main_); });
}

}  // namespace startertest
