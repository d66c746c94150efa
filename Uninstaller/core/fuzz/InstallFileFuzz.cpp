// Fuzz target for the data-file reader: any bytes must be read or refused without touching
// memory outside the data, and whatever is read must survive writing and reading again.
#include "InstallFileFormat.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    EntrySet set;
    InstallFileParse result = InstallFile_Parse(bytes, set);
    if (result.Offset > size) std::abort();
    if (result.Status != InstallFileStatus::Valid) {
        if (!set.Files.empty() || !set.RegKeys.empty() || !set.Shortcuts.empty()) std::abort();
        return 0;
    }
    std::string written;
    if (!InstallFile_ToBytes(set, written)) std::abort();
    EntrySet again;
    if (InstallFile_Parse(written, again).Status != InstallFileStatus::Valid || !(again == set)) std::abort();
    return 0;
}
