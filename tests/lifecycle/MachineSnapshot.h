// A machine's state as named entries (registry keys and values, folders, files with their sizes),
// and the differences between two such states, each reported by name.
#pragma once

#include "Win32.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lifecycle {

inline constexpr char kKeyEntry[] = "key";
inline constexpr char kFolderEntry[] = "folder";

// Entry names: "HKLM\Software\X\" for a key, "HKLM\Software\X\ [name]" for one of its values,
// full paths for files, full paths ending with "\" for folders.
std::string KeyEntry_Name(HKEY root, const std::string& path);
std::string ValueEntry_Name(HKEY root, const std::string& path, const std::string& value);
// What an entry holds: a value's kind and data, a file's size.
std::string StringValue_Describe(const std::string& text);
std::string File_Describe(std::uint64_t size);

class MachineSnapshot {
public:
    // A key, its values and every key below it, with theirs.
    void AddRegistryTree(HKEY root, const std::string& path);
    // A key and its values only, for keys such as Run that other software shares.
    void AddRegistryValues(HKEY root, const std::string& path);
    // The keys directly below path, by name only: a key made or removed in the wrong place shows.
    void AddRegistrySubkeys(HKEY root, const std::string& path);
    // A folder, and every folder and file below it.
    void AddFileTree(const std::string& folder);
    // The shortcut files (*.lnk) directly in folder.
    void AddShortcutFiles(const std::string& folder);

    void Set(const std::string& name, const std::string& what) { entries_[name] = what; }
    bool Has(const std::string& name) const { return entries_.count(name) != 0; }
    size_t Size() const { return entries_.size(); }
    const std::map<std::string, std::string>& Entries() const { return entries_; }

private:
    std::map<std::string, std::string> entries_;
};

// Every entry that is missing from actual, holds something else there, or is there without
// being expected, one line each: "missing: ...", "changed: ...", "unexpected: ...".
std::vector<std::string> Snapshot_Differences(const MachineSnapshot& expected, const MachineSnapshot& actual);

// The names of the keys directly below path; empty when it is missing.
std::vector<std::string> Registry_SubkeyNames(HKEY root, const std::string& path);

}  // namespace lifecycle
