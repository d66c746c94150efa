// Any bytes must be read or refused within the data, and whatever is read must survive writing
// and reading again.
#include "InstallFileFormat.h"

#include <cstdlib>

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
    return 0;
}
