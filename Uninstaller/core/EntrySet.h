// The uninstall data file's content in memory: what an installation put on the machine.
#pragma once

#include "Text.h"

#include <cstdint>
#include <string>
#include <vector>

// The lists' counts are 16-bit in the stored format's world; a list never holds more.
constexpr std::size_t EntrySet_MaxRecords = 32767;

struct InfoRecord {
    std::string ExtraPath;
    std::string AppName;
    std::string AppFile;
    std::string GroupFolder;
};

struct FileRecord {
    std::string ExtraPath;
    std::string FilePath;
    Boolean Keep = BooleanFalse;
};

struct RegKeyRecord {
    std::int32_t RootKey = 0;
    std::string KeyPath;
    std::string ExtraText1;
    std::string ExtraText2;
};

struct ShortcutRecord {
    std::string Folder;
    std::string LinkName;
    std::string ExtraPath;
};

// Each list keeps the order of its records in the file.
struct EntrySet {
    InfoRecord Info;
    std::vector<FileRecord> Files;
    std::vector<RegKeyRecord> RegKeys;
    std::vector<ShortcutRecord> Shortcuts;
};

bool operator==(const InfoRecord& a, const InfoRecord& b);
bool operator==(const FileRecord& a, const FileRecord& b);
bool operator==(const RegKeyRecord& a, const RegKeyRecord& b);
bool operator==(const ShortcutRecord& a, const ShortcutRecord& b);
bool operator==(const EntrySet& a, const EntrySet& b);
