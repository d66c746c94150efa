#include "StarterSession.h"

#include <algorithm>

namespace startertest {
namespace {

// Replaced whole on restore, with the values saved from them.
const std::pair<HKEY, std::string> kOwnedKeys[] = {
    {HKEY_LOCAL_MACHINE, kStartUpKey}, {HKEY_LOCAL_MACHINE, kStartStationKey}, {HKEY_CLASSES_ROOT, "VembrolTestHtml"}};

}  // namespace

void StandIn_Copy(const std::string& path) {
    wintest::Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
    CopyFileA(STANDIN_EXE, path.c_str(), FALSE);
}

std::string StartLine(const std::string& exe, std::string cwd, const std::string& commandLine) {
    if (cwd.size() > 3 && cwd.back() == '\\') cwd.pop_back();  // as GetCurrentDirectory gives it
    return "start|" + exe + "|" + cwd + "|" + commandLine;
}

std::vector<std::string> StandInLog(const std::string& directory, size_t count) {
    std::vector<std::string> lines;
    Eventually([&] {
        const std::string text = wintest::File_Read(directory + "standin.log");
        lines.clear();
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return lines.size() >= count;
    }, 10000);
    return lines;
}

void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    wintest::Registry_WriteRaw(root, key, name, REG_SZ, text + '\0');
}

std::string Registry_String(HKEY root, const std::string& key, const std::string& name) {
    std::string data;
    return wintest::Registry_ReadRaw(root, key, name, nullptr, &data) ? data.substr(0, data.find('\0')) : "(none)";
}

bool TrayIcon(HWND owner, DWORD operation) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    return Shell_NotifyIconA(operation, &data) != FALSE;
}

StarterInstall::StarterInstall(const std::string& name, bool withTarget, const std::string& sub)
    : scratch(name), dir(scratch.Path() + (sub.empty() ? "" : sub + "\\")), exe(dir + "Vembrol Starter.exe") {
    wintest::Directory_Create(dir);
    CopyFileA(STARTER_EXE, exe.c_str(), FALSE);
    if (withTarget) StandIn_Copy(dir + TargetFileName);
}

std::vector<WORD> Keys(int n, int k) {
    std::vector<WORD> keys(static_cast<size_t>(n), VK_DOWN);
    if (k > 0) keys.push_back(VK_RIGHT);  // opens the submenu with its first item selected
    keys.insert(keys.end(), static_cast<size_t>(std::max(k - 1, 0)), VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

StarterTest::StarterTest() : productKeyExisted_(wintest::Registry_KeyExists(HKEY_LOCAL_MACHINE, Key(ProductKey))) {
    auto save = [this](HKEY root, const std::string& path, const std::string& name) {
        Saved s{root, path, name, false, 0, {}};
        s.existed = wintest::Registry_ReadRaw(root, path, name, &s.type, &s.data);
        values_.push_back(s);
    };
    save(HKEY_CLASSES_ROOT, ".html", "");
    for (const char* key : {RunKey, RunKeyNt}) {
        save(HKEY_LOCAL_MACHINE, key, RunValueName);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key, RunValueName);
    }
    for (const auto& [root, path] : kOwnedKeys) {
        for (const std::string& name : wintest::Registry_ValueNames(root, path)) save(root, path, name);
        wintest::Registry_DeleteTree(root, path);
    }
}

StarterTest::~StarterTest() {
    if (starter_.Running() && PostMessageA(main_, WM_CLOSE, 0, 0)) starter_.WaitExit();
    HWND standIn;
    for (int i = 0; i < 20 && (standIn = FindWindowA("VembrolStandIn", nullptr)); ++i)
        SendMessageTimeoutA(standIn, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 3000, nullptr);
    for (const auto& [root, path] : kOwnedKeys) wintest::Registry_DeleteTree(root, path);
    for (const Saved& v : values_) {
        if (v.existed)
            wintest::Registry_WriteRaw(v.root, v.path, v.name, v.type, v.data);
        else
            RegDeleteKeyValueA(v.root, v.path.c_str(), v.name.c_str());
    }
    // The Starter creates the product key on the way to its own; a prefix without it gets none.
    if (!productKeyExisted_) wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, Key(ProductKey));
}

const StarterInstall& StarterTest::Install(const std::string& name, bool withTarget, const std::string& sub) {
    install_ = std::make_unique<StarterInstall>(name, withTarget, sub);
    return *install_;
}

bool StarterTest::Start() {
    starter_ = wintest::Process::Start(install_->exe, "", install_->dir);
    // The icon comes first, then the Run entries and the rest of the start-up, ending in idleness.
    const bool up = Eventually([&] {
        main_ = FindWindowA(nullptr, MainCaption);
        return main_ && wintest::Window_GetProcessId(main_) == starter_.Id() && TrayIcon(main_);
    }, 10000);
    return up && WaitForInputIdle(starter_.Handle(), 5000) == 0;
}

HWND StarterTest::Menu_Open(LPARAM mouseMessage) {
    wintest::PopupMenu_WaitClosed();
    PostMessageA(main_, RegisterWindowMessageA(TrayMessageName), 1, mouseMessage);
    return wintest::PopupMenu_WaitFor();
}

bool StarterTest::Menu_Choose(const std::vector<WORD>& keys) {
    HWND popup = Menu_Open();
    if (!popup) return false;
    for (WORD key : keys) wintest::PopupMenu_SendKeys(popup, {key});
    return true;
}

}  // namespace startertest
