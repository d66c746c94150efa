// End-to-end helpers for the Starter's tests; see StarterSession.h.
#include "StarterSession.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace startertest {
namespace {

std::string WindowsPath_FromUnix(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

std::string Directory_Of(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }
std::string Path_FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

void Key_Create(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

void Value_Delete(HKEY root, const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

}  // namespace

std::string BuiltStarter_Path() { return WindowsPath_FromUnix(STARTER_EXE_UNIX); }
std::string BuiltStandIn_Path() { return WindowsPath_FromUnix(STANDIN_EXE_UNIX); }

void StandIn_Copy(const std::string& path) {
    wintest::Directory_Create(Directory_Of(path));
    CopyFileA(BuiltStandIn_Path().c_str(), path.c_str(), FALSE);
}

std::vector<std::string> StandInLog_Lines(const std::string& directory) {
    const std::string text = wintest::File_Read(directory + "standin.log");
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> StandInLog_WaitLines(const std::string& directory, size_t count, int timeoutMs) {
    const DWORD begin = GetTickCount();
    for (;;) {
        auto lines = StandInLog_Lines(directory);
        if (lines.size() >= count || static_cast<int>(GetTickCount() - begin) > timeoutMs) return lines;
        Pause(20);
    }
}

bool StandInStart_Parse(const std::string& line, StandInStart& start) {
    if (line.compare(0, 6, "start|") != 0) return false;
    const size_t a = line.find('|', 6);
    if (a == std::string::npos) return false;
    const size_t b = line.find('|', a + 1);
    if (b == std::string::npos) return false;
    start.exe = line.substr(6, a - 6);
    start.cwd = line.substr(a + 1, b - a - 1);
    start.commandLine = line.substr(b + 1);
    return true;
}

bool StandInStart_WaitFirst(const std::string& directory, StandInStart& start, int timeoutMs) {
    auto lines = StandInLog_WaitLines(directory, 1, timeoutMs);
    return !lines.empty() && StandInStart_Parse(lines.front(), start);
}

void StandIns_CloseAll() {
    wintest::WindowQuery q;
    q.className = kStandInClass;
    q.visibleOnly = false;
    for (HWND h : wintest::Window_FindAll(q)) PostMessageA(h, WM_CLOSE, 0, 0);
    // A stand-in whose window is not there yet is ended by its id; only stand-ins live under the
    // scratch root besides the Starter, which its session ends properly.
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                               entry.th32ProcessID);
        if (!p) continue;
        char image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        const std::string root = "C:\\vembrol-tests\\";
        if (QueryFullProcessImageNameA(p, 0, image, &size) && _strnicmp(image, root.c_str(), root.size()) == 0 &&
            Path_FileName(image) != "Vembrol Starter.exe") {
            if (WaitForSingleObject(p, 3000) != WAIT_OBJECT_0) TerminateProcess(p, 1);
            WaitForSingleObject(p, 3000);
        }
        CloseHandle(p);
    }
    CloseHandle(snapshot);
}

StarterInstall::StarterInstall(const std::string& name, bool withTarget, const std::string& subDirectory)
    : scratch_(name) {
    directory_ = scratch_.Path() + subDirectory;
    if (!directory_.empty() && directory_.back() != '\\') directory_ += '\\';
    wintest::Directory_Create(directory_);
    exe_ = directory_ + "Vembrol Starter.exe";
    CopyFileA(BuiltStarter_Path().c_str(), exe_.c_str(), FALSE);
    if (withTarget) StandIn_Copy(TargetPath());
}

RegistryGuard::SavedValue RegistryGuard::Value_Save(HKEY root, const std::string& path, const std::string& name) {
    SavedValue value;
    value.root = root;
    value.path = path;
    value.name = name;
    value.existed = wintest::Registry_ReadRaw(root, path, name, &value.type, &value.data);
    return value;
}

RegistryGuard::SavedKey RegistryGuard::Key_Save(HKEY root, const std::string& path) {
    SavedKey key{root, path, wintest::Registry_KeyExists(root, path), {}};
    for (const std::string& name : wintest::Registry_ValueNames(root, path))
        key.values.push_back(Value_Save(root, path, name));
    return key;
}

RegistryGuard::RegistryGuard() {
    productKeyExisted_ = wintest::Registry_KeyExists(HKEY_LOCAL_MACHINE, kProductKey);
    values_.push_back(Value_Save(HKEY_LOCAL_MACHINE, kRunKey, kRunValue));
    values_.push_back(Value_Save(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue));
    values_.push_back(Value_Save(HKEY_CLASSES_ROOT, ".html", ""));
    keys_.push_back(Key_Save(HKEY_LOCAL_MACHINE, kStartUpKey));
    keys_.push_back(Key_Save(HKEY_LOCAL_MACHINE, kStartStationKey));
    keys_.push_back(Key_Save(HKEY_CLASSES_ROOT, "VembrolTestHtml"));

    Value_Delete(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    Value_Delete(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue);
    wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, kStartUpKey);
    wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, kStartStationKey);
}

RegistryGuard::~RegistryGuard() {
    for (const SavedValue& v : values_) {
        if (v.existed)
            wintest::Registry_WriteRaw(v.root, v.path, v.name, v.type, v.data);
        else
            Value_Delete(v.root, v.path, v.name);
    }
    for (const SavedKey& key : keys_) {
        wintest::Registry_DeleteTree(key.root, key.path);
        if (!key.existed) continue;
        Key_Create(key.root, key.path);  // an empty key comes back too
        for (const SavedValue& v : key.values) wintest::Registry_WriteRaw(v.root, v.path, v.name, v.type, v.data);
    }
    // The Starter creates the product key's parents of what it writes; a prefix without the
    // product gets none left behind.
    if (!productKeyExisted_) wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, kProductKey);
}

void Registry_WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    wintest::Registry_WriteRaw(root, key, name, REG_SZ, text + '\0');
}

bool Registry_ReadString(HKEY root, const std::string& key, const std::string& name, std::string& text) {
    DWORD type = 0;
    std::string data;
    if (!wintest::Registry_ReadRaw(root, key, name, &type, &data)) return false;
    if (!data.empty() && data.back() == '\0') data.pop_back();
    text = data;
    return true;
}

namespace {

NOTIFYICONDATAA TrayIcon_Data(HWND owner) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = 1;
    return data;
}

}  // namespace

bool TrayIcon_Present(HWND owner) {
    NOTIFYICONDATAA data = TrayIcon_Data(owner);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool TrayIcon_Delete(HWND owner) {
    NOTIFYICONDATAA data = TrayIcon_Data(owner);
    return Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
}

StarterSession::~StarterSession() {
    if (process_.Running()) Close();
}

bool StarterSession::Start(const StarterInstall& install) {
    process_ = wintest::Process::Start(install.ExePath(), "", install.Directory());
    if (!process_.Started()) return false;
    wintest::WindowQuery q;
    q.title = kMainCaption;
    q.processId = process_.Id();
    q.visibleOnly = false;
    main_ = wintest::Window_WaitFor(q, 10000);
    if (!main_) return false;
    // The icon comes before the Run entries and the rest of the start-up; the process is idle
    // once start-up is over.
    const DWORD begin = GetTickCount();
    while (!TrayIcon_Present(main_)) {
        if (GetTickCount() - begin > 10000) return false;
        Pause(20);
    }
    WaitForInputIdle(process_.Handle(), 5000);
    return true;
}

HWND StarterSession::Menu_Open(LPARAM mouseMessage, int timeoutMs) {
    wintest::PopupMenu_WaitClosed(5000);
    PostMessageA(main_, RegisterWindowMessageA("KtSystray"), 1, mouseMessage);
    return wintest::PopupMenu_WaitFor(timeoutMs);
}

bool StarterSession::Menu_Choose(const std::vector<WORD>& keys) {
    HWND popup = Menu_Open();
    if (!popup) return false;
    for (WORD key : keys) wintest::PopupMenu_SendKeys(popup, {key});
    return true;
}

bool StarterSession::Close() {
    if (!process_.Running()) return true;
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_.WaitExit(10000);
}

std::vector<WORD> Keys_Item(int n) {
    std::vector<WORD> keys(static_cast<size_t>(n), VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

std::vector<WORD> Keys_SubItem(int n, int k) {
    std::vector<WORD> keys(static_cast<size_t>(n), VK_DOWN);
    keys.push_back(VK_RIGHT);  // opens the submenu with its first item selected
    keys.insert(keys.end(), static_cast<size_t>(k - 1), VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

}  // namespace startertest
