// Saving, clearing and restoring what the life-cycle test touches; see MachineGuard.h.
#include "MachineGuard.h"

#include "Handles.h"
#include "MachineSnapshot.h"
#include "WinTest.h"

namespace lifecycle {
namespace {

// RegSetValueExA stores one byte more for a string kind when the byte after the data is a NUL,
// so the data goes out followed by another byte: a value comes back with exactly its bytes.
void Value_WriteExact(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
    UniqueKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    std::vector<BYTE> bytes(data.begin(), data.end());
    bytes.push_back(0xFF);
    RegSetValueExA(key.get(), name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(data.size()));
}

void Value_Delete(HKEY root, const std::string& path, const std::string& name) {
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        RegDeleteValueA(key.get(), name.c_str());
}

void Key_Create(HKEY root, const std::string& path) {
    UniqueKey key;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr);
}

void String_Write(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    wintest::Registry_WriteRaw(root, path, name, REG_SZ, text + '\0');
}

void File_Delete(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Only ever below a shell folder that the shell named: an empty one would turn the name into
// a relative path.
bool Folder_Known(const std::string& folder) { return folder.size() > 3; }

}  // namespace

MachineGuard::MachineGuard(const Folders& folders) : folders_(folders) {
    // The product's key and the Starter's Run values are shared with the Starter's own tests and
    // come back as they were; everything else here belongs to this test alone and simply goes,
    // also what an earlier run that was killed half-way left behind.
    trees_.push_back(Tree_Save(HKEY_LOCAL_MACHINE, kProductKey));
    sharedValues_.push_back(SharedValue_Save(HKEY_LOCAL_MACHINE, kRunKey, kRunValue));
    sharedValues_.push_back(SharedValue_Save(HKEY_LOCAL_MACHINE, kRunKeyNt, kRunValue));
    Traces_Remove();
    Neighbour_Install();
}

MachineGuard::~MachineGuard() {
    Traces_Remove();
    for (const SavedTree& tree : trees_) Tree_Restore(tree);
    for (const SavedSharedValue& saved : sharedValues_) SharedValue_Restore(saved);
}

MachineGuard::SavedTree MachineGuard::Tree_Save(HKEY root, const std::string& path) {
    SavedTree tree{root, path, {}};
    std::vector<std::string> pending{path};
    while (!pending.empty()) {
        const std::string key = pending.front();
        pending.erase(pending.begin());
        if (!wintest::Registry_KeyExists(root, key)) continue;
        SavedKey saved{key, {}};
        for (const std::string& name : wintest::Registry_ValueNames(root, key)) {
            SavedValue value{name, 0, {}};
            if (wintest::Registry_ReadRaw(root, key, name, &value.type, &value.data)) saved.values.push_back(value);
        }
        tree.keys.push_back(saved);
        for (const std::string& sub : Registry_SubkeyNames(root, key)) pending.push_back(key + "\\" + sub);
    }
    return tree;
}

void MachineGuard::Tree_Restore(const SavedTree& tree) {
    wintest::Registry_DeleteTree(tree.root, tree.path);
    for (const SavedKey& key : tree.keys) {
        Key_Create(tree.root, key.path);  // an empty key comes back too
        for (const SavedValue& v : key.values) Value_WriteExact(tree.root, key.path, v.name, v.type, v.data);
    }
}

MachineGuard::SavedSharedValue MachineGuard::SharedValue_Save(HKEY root, const std::string& key,
                                                              const std::string& name) {
    SavedSharedValue saved;
    saved.root = root;
    saved.key = key;
    saved.keyExisted = wintest::Registry_KeyExists(root, key);
    saved.value.name = name;
    saved.existed = wintest::Registry_ReadRaw(root, key, name, &saved.value.type, &saved.value.data);
    return saved;
}

void MachineGuard::SharedValue_Restore(const SavedSharedValue& saved) {
    if (saved.existed) {
        Value_WriteExact(saved.root, saved.key, saved.value.name, saved.value.type, saved.value.data);
        return;
    }
    Value_Delete(saved.root, saved.key, saved.value.name);
    // A key that the Starter created (the Windows NT Run key is missing on a fresh system) goes
    // again, but only while nothing else has put anything into it.
    if (!saved.keyExisted && wintest::Registry_ValueNames(saved.root, saved.key).empty() &&
        Registry_SubkeyNames(saved.root, saved.key).empty())
        RegDeleteKeyA(saved.root, saved.key.c_str());
}

void MachineGuard::Traces_Remove() {
    wintest::Directory_DeleteTree(kAppDir);
    wintest::Directory_DeleteTree(kNeighbourDir);
    if (Folder_Known(folders_.programs)) {
        wintest::Directory_DeleteTree(folders_.Group());
        wintest::Directory_DeleteTree(folders_.programs + kNeighbour + "\\");
    }
    if (Folder_Known(folders_.desktop)) {
        File_Delete(folders_.DesktopShortcut());
        File_Delete(folders_.desktop + kNeighbour + ".lnk");
    }
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) wintest::Registry_DeleteTree(root, kFirmKey);
    Value_Delete(HKEY_LOCAL_MACHINE, kRunKey, kNeighbour);
    for (const SavedTree& tree : trees_) wintest::Registry_DeleteTree(tree.root, tree.path);
    for (const SavedSharedValue& saved : sharedValues_) Value_Delete(saved.root, saved.key, saved.value.name);
}

void MachineGuard::Neighbour_Install() {
    const std::string exe = std::string(kNeighbourDir) + "tools.exe";
    wintest::Directory_Create(kNeighbourDir);
    wintest::File_Write(exe, "the neighbour's program");
    String_Write(HKEY_LOCAL_MACHINE, kRunKey, kNeighbour, "\"" + exe + "\" /tray");
    String_Write(HKEY_LOCAL_MACHINE, std::string(kFirmKey) + "\\" + kNeighbour, "Version", "2.1");
    String_Write(HKEY_CURRENT_USER, std::string(kFirmKey) + "\\" + kNeighbour + "\\Recent Files", "1",
                 "C:\\Music\\first.mp3");
    if (Folder_Known(folders_.programs)) {
        wintest::Directory_Create(folders_.programs + kNeighbour);
        wintest::File_Write(folders_.programs + kNeighbour + "\\Tools.lnk", "shortcut to " + exe);
    }
    if (Folder_Known(folders_.desktop)) wintest::File_Write(folders_.desktop + kNeighbour + ".lnk", "shortcut to " + exe);
}

}  // namespace lifecycle
