// Any bytes must be read or refused within the data, and whatever is read must survive writing
// and reading again. Whatever the screening lets through holds no NUL, control character or
// file-name-forbidden character where a name is expected, the records it refuses add up, and
// the log's escaping of any text is one line.
#include "InstallFileFormat.h"
#include "LogText.h"
#include "NamePattern.h"
#include "RecordTexts.h"
#include "Text.h"

#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Clean(const std::string& text, bool fileName) {
    for (unsigned char c : text)
        if (c < 0x20 || (fileName && (c == '<' || c == '>' || c == '"'))) return false;
    return true;
}

void CheckScreening(const EntrySet& read) {
    EntrySet set = read;
    const EntrySetScreening s = EntrySet_Screen(set);
    Check(set.Files.size() + s.FilesRefused == read.Files.size());
    Check(set.Files.size() + set.RegKeys.size() + set.Shortcuts.size() + s.Refused.size() ==
          read.Files.size() + read.RegKeys.size() + read.Shortcuts.size() + (s.AppNameRefused + s.AppFileRefused + s.GroupFolderRefused));
    Check(s.AppNameRefused != Clean(read.Info.AppName, true) && s.GroupFolderRefused != Clean(read.Info.GroupFolder, true));
    for (const auto& f : set.Files) {
        Check(Clean(f.FilePath, true));
        // A last level without wildcards is a name, and a name matches itself.
        const std::string last = Path_GetFileName(f.FilePath);
        if (!last.empty() && last != "." && last != ".." && last.find_first_of("*?") == std::string::npos)
            Check(NamePattern_Matches(last, last));
    }
    for (const auto& k : set.RegKeys) Check(Clean(k.KeyPath, false));
    for (const auto& sc : set.Shortcuts) Check(Clean(sc.Folder, true) && Clean(sc.LinkName, true));
    for (const auto& r : s.Refused) {
        const std::string line = RefusedRecord_Describe(r);
        Check(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EntrySet set, again;
    InstallFileParse result = InstallFile_Parse(std::string_view(reinterpret_cast<const char*>(data), size), set);
    std::string written;
    bool ok = result.Offset <= size;
    if (result.Status != InstallFileStatus::Valid)
        ok = ok && set.Files.empty() && set.RegKeys.empty() && set.Shortcuts.empty();
    else
        ok = ok && InstallFile_ToBytes(set, written) && InstallFile_Parse(written, again).Status == InstallFileStatus::Valid &&
             again == set;
    if (!ok) std::abort();
    if (result.Status == InstallFileStatus::Valid) CheckScreening(set);
    const std::string escaped = LogText_Escape(std::string(reinterpret_cast<const char*>(data), size));
    Check(escaped.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    return 0;
}
