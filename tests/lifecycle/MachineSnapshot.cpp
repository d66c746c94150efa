// Snapshots of registry keys and folders, read with the platform's functions only, so that no
// code under test has a say in what the test sees.
#include "MachineSnapshot.h"

#include "Handles.h"
#include "WinTest.h"

#include <cstdio>

namespace lifecycle {
namespace {

const char* Root_Name(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    if (root == HKEY_CURRENT_USER) return "HKCU";
    if (root == HKEY_CLASSES_ROOT) return "HKCR";
    if (root == HKEY_USERS) return "HKU";
    return "HK?";
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char part[4];
    for (unsigned char b : bytes) {
        std::snprintf(part, sizeof part, "%02X ", b);
        out += part;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

// Strings are compared without their terminating NULs: writers differ in whether they store one,
// and a reader of the value sees the same text either way.
std::string Value_Describe(DWORD type, const std::string& data) {
    std::string text = data;
    switch (type) {
        case REG_SZ:
            return StringValue_Describe(text.erase(text.find_last_not_of('\0') + 1));
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ \"" + text.erase(text.find_last_not_of('\0') + 1) + "\"";
        case REG_DWORD:
            if (data.size() == 4) {
                DWORD number = 0;
                for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
                return "REG_DWORD " + std::to_string(number);
            }
            break;
        default:
            break;
    }
    return "type " + std::to_string(type) + " [" + Hex(data) + "]";
}

std::string Path_Join(const std::string& path, const std::string& name) {
    if (path.empty()) return name;
    return path.back() == '\\' ? path + name : path + "\\" + name;
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
    const size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && lstrcmpiA(s.c_str() + s.size() - n, tail) == 0;
}

}  // namespace

std::string KeyEntry_Name(HKEY root, const std::string& path) {
    std::string name = std::string(Root_Name(root)) + "\\" + path;
    if (name.back() != '\\') name += '\\';
    return name;
}

std::string ValueEntry_Name(HKEY root, const std::string& path, const std::string& value) {
    return KeyEntry_Name(root, path) + " [" + value + "]";
}

std::string StringValue_Describe(const std::string& text) { return "REG_SZ \"" + text + "\""; }

std::string File_Describe(std::uint64_t size) { return "file, " + std::to_string(size) + " bytes"; }

std::vector<std::string> Registry_SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

void MachineSnapshot::AddRegistryValues(HKEY root, const std::string& path) {
    if (!wintest::Registry_KeyExists(root, path)) return;
    Set(KeyEntry_Name(root, path), kKeyEntry);
    for (const std::string& value : wintest::Registry_ValueNames(root, path)) {
        DWORD type = 0;
        std::string data;
        if (wintest::Registry_ReadRaw(root, path, value, &type, &data))
            Set(ValueEntry_Name(root, path, value), Value_Describe(type, data));
        else
            Set(ValueEntry_Name(root, path, value), "(unreadable)");
    }
}

void MachineSnapshot::AddRegistryTree(HKEY root, const std::string& path) {
    if (!wintest::Registry_KeyExists(root, path)) return;
    AddRegistryValues(root, path);
    for (const std::string& sub : Registry_SubkeyNames(root, path)) AddRegistryTree(root, Path_Join(path, sub));
}

void MachineSnapshot::AddRegistrySubkeys(HKEY root, const std::string& path) {
    for (const std::string& sub : Registry_SubkeyNames(root, path)) Set(KeyEntry_Name(root, Path_Join(path, sub)), kKeyEntry);
}

void MachineSnapshot::AddFileTree(const std::string& folder) {
    std::string dir = folder;
    if (dir.empty()) return;
    if (dir.back() != '\\') dir += '\\';
    if (!wintest::Directory_Exists(dir)) return;
    Set(dir, kFolderEntry);
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((dir + "*").c_str(), &found));
    if (!find) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddFileTree(dir + name + "\\");
        else
            Set(dir + name, File_Describe(static_cast<std::uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow));
    } while (FindNextFileA(find.get(), &found));
}

void MachineSnapshot::AddShortcutFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    // Matched here rather than by the pattern "*.lnk", which also finds longer extensions
    // through short names.
    UniqueFind find(FindFirstFileA((folder + "*").c_str(), &found));
    if (!find) return;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !EndsWithNoCase(name, ".lnk")) continue;
        Set(folder + name, File_Describe(static_cast<std::uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow));
    } while (FindNextFileA(find.get(), &found));
}

std::vector<std::string> Snapshot_Differences(const MachineSnapshot& expected, const MachineSnapshot& actual) {
    std::vector<std::string> lines;
    const auto& want = expected.Entries();
    const auto& got = actual.Entries();
    for (const auto& [name, what] : want) {
        auto it = got.find(name);
        if (it == got.end())
            lines.push_back("missing: " + name + " (" + what + ")");
        else if (it->second != what)
            lines.push_back("changed: " + name + ": expected " + what + ", found " + it->second);
    }
    for (const auto& [name, what] : got)
        if (want.count(name) == 0) lines.push_back("unexpected: " + name + " (" + what + ")");
    return lines;
}

}  // namespace lifecycle
