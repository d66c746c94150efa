// Puts the machine into the state it had before the product was ever installed, with a
// neighbouring product of the same firm on it, and gives the machine back as it was found,
// however the test ends: the test's own keys, files and shortcuts are removed, the product's
// keys that other tests share are restored.
#pragma once

#include "LifecycleLayout.h"
#include "Win32.h"

#include <string>
#include <vector>

namespace lifecycle {

class MachineGuard {
public:
    explicit MachineGuard(const Folders& folders);
    ~MachineGuard();
    MachineGuard(const MachineGuard&) = delete;
    MachineGuard& operator=(const MachineGuard&) = delete;

private:
    struct SavedValue {
        std::string name;
        DWORD type = 0;
        std::string data;
    };
    struct SavedKey {
        std::string path;
        std::vector<SavedValue> values;
    };
    // A subtree in pre-order, parents before children; no keys when it was absent.
    struct SavedTree {
        HKEY root = nullptr;
        std::string path;
        std::vector<SavedKey> keys;
    };
    // One value in a key that the whole system shares.
    struct SavedSharedValue {
        HKEY root = nullptr;
        std::string key;
        bool keyExisted = false;
        bool existed = false;
        SavedValue value;
    };

    static SavedTree Tree_Save(HKEY root, const std::string& path);
    static void Tree_Restore(const SavedTree& tree);
    static SavedSharedValue SharedValue_Save(HKEY root, const std::string& key, const std::string& name);
    static void SharedValue_Restore(const SavedSharedValue& saved);

    // Every trace of the product and of the neighbour, files and registry.
    void Traces_Remove();
    void Neighbour_Install();

    Folders folders_;
    std::vector<SavedTree> trees_;
    std::vector<SavedSharedValue> sharedValues_;
};

}  // namespace lifecycle
