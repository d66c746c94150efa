// Fuzzes the parsers of stored and registered texts: program extraction, icon text, slot numbers
// and placeholder expansion must never crash, read past the text, or break their promises.
#include "StarterModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string program = FileType_ExtractProgram(text);
    if (program.find('"') != std::string::npos || program.size() > text.size()) std::abort();
    if (!program.empty() && (program.front() == ' ' || program.back() == ' ')) std::abort();
    const std::string quoted = FileType_QuotedProgram(text);
    if (quoted.find('"') != std::string::npos || quoted.size() > text.size()) std::abort();

    std::string iconFile = "keep";
    std::int16_t iconIndex = 0;
    const bool split = FileType_SplitIcon(text, iconFile, iconIndex);
    if (split != (text.find(',') != std::string::npos)) std::abort();
    if (split && iconFile.find(',') != std::string::npos) std::abort();

    StartStation_FileTypeFromText(text);
    const std::int16_t icon = StartStation_IconIndexFromText(text);
    if (icon < -32767) std::abort();

    const std::string expanded = Command_ExpandSystemRoot(text, "C:\\WINDOWS\\");
    if (expanded.size() != text.size() && expanded.size() != text.size() - 12 + 11) std::abort();

    StartStationEntry entry;
    entry.FileType = static_cast<std::int16_t>(size % 4);
    entry.ApplicationName = text;
    const MenuItemText item = StartStationItem_Refresh(entry, text);
    if (item.caption.empty() || (entry.FileType == 1 && item.caption.size() > 50)) std::abort();
    return 0;
}
