// The screening of a data file's texts before the run acts on them.
#include "RecordTexts.h"

#include "LogText.h"

#include <cstring>

RecordTextCheck RecordText_Check(const std::string& text, RecordTextKind kind) {
    // Registry key names may hold < > "; no file name may.
    const bool fileSystemName = kind != RecordTextKind::KeyPath;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0) return {RecordTextFault::Nul, i};
        if (c < 0x20) return {RecordTextFault::ControlCharacter, i};
        if (fileSystemName && (c == '<' || c == '>' || c == '"')) return {RecordTextFault::NameCharacter, i};
    }
    return {};
}

std::string RecordTextCheck_Describe(const RecordTextCheck& check) {
    const std::string at = " at byte " + std::to_string(check.Offset);
    switch (check.Fault) {
        case RecordTextFault::None: return "accepted";
        case RecordTextFault::Nul: return "holds a NUL" + at;
        case RecordTextFault::ControlCharacter: return "holds a control character" + at;
        case RecordTextFault::NameCharacter: return "holds a character no file name may hold" + at;
    }
    return "refused";
}

namespace {

template <typename Record, typename Checks>
void Screen(std::vector<Record>& list, RefusedRecord::List from, Checks checks, EntrySetScreening& out) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        bool refused = false;
        for (const auto& [field, text, kind] : checks(list[i])) {
            const RecordTextCheck check = RecordText_Check(*text, kind);
            if (check.Accepted()) continue;
            out.Refused.push_back({from, i, field, *text, check});
            refused = true;
            break;  // one reason a record is enough
        }
        if (refused) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

struct Field {
    const char* name;
    const std::string* text;
    RecordTextKind kind;
};

}  // namespace

EntrySetScreening EntrySet_Screen(EntrySet& set) {
    EntrySetScreening out;
    const InfoRecord& info = set.Info;
    for (const Field& f : {Field{"AppName", &info.AppName, RecordTextKind::LinkName},
                           Field{"AppFile", &info.AppFile, RecordTextKind::FilePath},
                           Field{"GroupFolder", &info.GroupFolder, RecordTextKind::GroupFolder}}) {
        const RecordTextCheck check = RecordText_Check(*f.text, f.kind);
        if (check.Accepted()) continue;
        out.Refused.push_back({RefusedRecord::List::Info, 0, f.name, *f.text, check});
        if (f.text == &info.AppName) out.AppNameRefused = true;
        if (f.text == &info.AppFile) out.AppFileRefused = true;
        if (f.text == &info.GroupFolder) out.GroupFolderRefused = true;
    }
    const std::size_t before = out.Refused.size();
    Screen(set.Files, RefusedRecord::List::Files,
           [](const FileRecord& r) { return std::vector<Field>{{"FilePath", &r.FilePath, RecordTextKind::FilePath}}; }, out);
    out.FilesRefused = out.Refused.size() - before;
    Screen(set.RegKeys, RefusedRecord::List::RegKeys,
           [](const RegKeyRecord& r) { return std::vector<Field>{{"KeyPath", &r.KeyPath, RecordTextKind::KeyPath}}; }, out);
    Screen(set.Shortcuts, RefusedRecord::List::Shortcuts,
           [](const ShortcutRecord& r) {
               return std::vector<Field>{{"Folder", &r.Folder, RecordTextKind::ShortcutFolder},
                                         {"LinkName", &r.LinkName, RecordTextKind::LinkName}};
           },
           out);
    return out;
}

std::string RefusedRecord_Describe(const RefusedRecord& refused) {
    static const char* const kLists[] = {"Info record", "File record", "Key record", "Shortcut record"};
    std::string line = kLists[static_cast<int>(refused.From)];
    if (refused.From != RefusedRecord::List::Info) line += " " + std::to_string(refused.Index + 1);
    return line + ": refused, its " + refused.Field + " " + RecordTextCheck_Describe(refused.Check) + ": " +
           LogText_Escape(refused.Text);
}
