// Helpers of the launch tests; see LaunchTestSupport.h.
#include "LaunchTestSupport.h"

#include <algorithm>

#ifndef VEMBROL_STANDIN_EXE
#error "VEMBROL_STANDIN_EXE must name the built stand-in program"
#endif

PlantedProgram::PlantedProgram(std::string path, bool emptyFile) : path_(std::move(path)) {
    wintest::Directory_Create(path_.substr(0, path_.find_last_of('\\') + 1));
    if (emptyFile) {
        wintest::File_Write(path_, "");
    } else {
        CopyFileA(VEMBROL_STANDIN_EXE, path_.c_str(), FALSE);
    }
    DeleteFileA(LogPath().c_str());
}

PlantedProgram::~PlantedProgram() {
    // A stand-in that logs and exits may still hold its file for a moment.
    for (int i = 0; i < 50 && wintest::File_Exists(path_); ++i) {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path_.c_str())) Sleep(100);
    }
    DeleteFileA(LogPath().c_str());
}

std::string PlantedProgram::LogPath() const { return path_.substr(0, path_.find_last_of('\\') + 1) + "standin.log"; }

std::vector<StartRecord> StartLog_Read(const std::string& logPath) {
    std::vector<StartRecord> records;
    const std::string text = wintest::File_Read(logPath);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 2;
        if (line.rfind("start|", 0) != 0) continue;
        const std::size_t a = line.find('|', 6), b = line.find('|', a + 1);
        if (a == std::string::npos || b == std::string::npos) continue;
        records.push_back({line.substr(6, a - 6), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return records;
}

std::vector<StartRecord> StartLog_WaitFor(const std::string& logPath, std::size_t count, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        auto records = StartLog_Read(logPath);
        if (records.size() >= count || static_cast<int>(GetTickCount() - start) > timeoutMs) return records;
        Sleep(20);
    }
}

bool TextContains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

ClassesRootGuard::ClassesRootGuard(std::string keyWithDefault, std::vector<std::string> scratchKeys)
    : key_(std::move(keyWithDefault)), scratch_(std::move(scratchKeys)) {
    had_ = wintest::Registry_ReadRaw(HKEY_CLASSES_ROOT, key_, "", &type_, &data_);
    for (const auto& k : scratch_) wintest::Registry_DeleteTree(HKEY_CLASSES_ROOT, k);
}

ClassesRootGuard::~ClassesRootGuard() {
    for (const auto& k : scratch_) wintest::Registry_DeleteTree(HKEY_CLASSES_ROOT, k);
    if (had_) {
        wintest::Registry_WriteRaw(HKEY_CLASSES_ROOT, key_, "", type_, data_);
    } else if (std::find(scratch_.begin(), scratch_.end(), key_) == scratch_.end()) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "");
            RegCloseKey(key);
        }
    }
}

void ClassesRoot_SetDefault(const std::string& key, const std::string& text) {
    wintest::Registry_WriteRaw(HKEY_CLASSES_ROOT, key, "", REG_SZ, text + '\0');
}

CurrentDirectoryGuard::CurrentDirectoryGuard(const std::string& directory) : before_(CurrentDirectory_Get()) {
    SetCurrentDirectoryA(directory.c_str());
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() { SetCurrentDirectoryA(before_.c_str()); }

std::string CurrentDirectory_Get() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string directory = buffer;
    if (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
    return directory;
}

void Windows_CloseTitled(const char* title) {
    wintest::WindowQuery q;
    q.title = title;
    q.visibleOnly = false;
    for (HWND hwnd : wintest::Window_FindAll(q)) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        wintest::Window_WaitGone(hwnd, 5000);
    }
}
