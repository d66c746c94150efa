// Which texts of a data file may name something. Windows reads a path or key name only up to a
// NUL, so a text with one names something other than what every rule of the run looked at;
// control characters and the characters no file name may hold (< > ", which a directory search
// also reads as wildcards) name nothing a file system or registry of an installation holds.
#pragma once

#include "EntrySet.h"

#include <cstddef>
#include <string>
#include <vector>

// The part a text plays, which decides what it may hold.
enum class RecordTextKind {
    FilePath,        // a listed file or pattern; also the info record's AppFile
    KeyPath,         // a registry key below its root
    ShortcutFolder,  // a shortcut's folder below the Start menu's Programs folder
    LinkName,        // a shortcut's name, without ".lnk"; also AppName, the desktop shortcut's name
    GroupFolder,     // the program group, below the Programs folder
};

enum class RecordTextFault {
    None,
    Nul,                // U+0000 anywhere
    ControlCharacter,   // any other character below 0x20
    NameCharacter,      // < > " in a file-system name
};

struct RecordTextCheck {
    RecordTextFault Fault = RecordTextFault::None;
    std::size_t Offset = 0;  // the byte of the first offending character
    bool Accepted() const { return Fault == RecordTextFault::None; }
};

RecordTextCheck RecordText_Check(const std::string& text, RecordTextKind kind);

// The reason in the log's words, e.g. "holds a NUL at byte 20".
std::string RecordTextCheck_Describe(const RecordTextCheck& check);

// A record taken out of the run: which list, its place there (0 for the info record), which text
// and why. Text is the record's text as read, for the log to escape.
struct RefusedRecord {
    enum class List { Info, Files, RegKeys, Shortcuts } From = List::Files;
    std::size_t Index = 0;
    const char* Field = "";
    std::string Text;
    RecordTextCheck Check;
};

struct EntrySetScreening {
    std::vector<RefusedRecord> Refused;  // in the order of the lists, then of their records
    std::size_t FilesRefused = 0;        // each counts as a file that stayed (exit code 3)
    bool AppNameRefused = false;         // the desktop step is skipped
    bool AppFileRefused = false;         // the application folder is not wiped
    bool GroupFolderRefused = false;     // the group step is skipped
};

// Takes every record with a refused text out of the lists (the others keep their order). The
// info record's refused texts stay as they are but are reported, so that the run skips the
// steps that use them. To screen what reaches the system, screen after placeholders have been
// expanded (a placeholder's own value is the system's, or GroupFolder, which is screened too).
// ExtraPath and the registry records' extra texts name nothing and are not screened.
EntrySetScreening EntrySet_Screen(EntrySet& set);

// One log line for a refused record, its text escaped as the log writes texts.
std::string RefusedRecord_Describe(const RefusedRecord& refused);
