// What the directory and registry-key passes remove, and in which order: the listed entries,
// completed with the levels between a listed entry and a listed ancestor, deepest first.
#pragma once

#include "EntrySet.h"

#include <cstdint>
#include <string>
#include <vector>

// A working list never grows beyond this many entries (its count is 16-bit).
constexpr std::size_t RemovalPlan_MaxEntries = 32767;

// One entry of a working list: a path ending with "\" below a root (0 for directories).
struct ChainEntry {
    std::int32_t Root = 0;
    std::string Path;
};

// Appends, for every entry that has a listed ancestor (same root, shorter, a prefix of it),
// each level between it and that ancestor that is not listed yet, until the list holds
// limit entries (a longer list is cut to limit first). Every entry must end with "\".
// Duplicates stay.
void Chains_Complete(std::vector<ChainEntry>& list, std::size_t limit = RemovalPlan_MaxEntries);
// Longest path first, so that every entry comes before its ancestors; equal lengths keep their
// list order.
void Chains_OrderDeepestFirst(std::vector<ChainEntry>& list);

// The directories that held the listed files, on their canonical paths, completed and ordered
// for removal. Kept files and paths that name nothing (relative, drive-relative, an unexpanded
// placeholder) contribute nothing.
std::vector<std::string> DirectoryPlan_Make(const std::vector<FileRecord>& files);

// The keys to delete, completed and ordered; every KeyPath ends with "\". A KeyPath that is
// empty or made of "\" only names a root key and is dropped, never deleted; so is a record
// whose RootKey is none of the predefined roots.
std::vector<RegKeyRecord> RegistryKeyPlan_Make(const std::vector<RegKeyRecord>& keys);
