// The Start Station slots as the product stores them: value names, the numbers read from their
// texts, the menu caption of a slot, and the "%systemroot%" placeholder of its command line.
#include "StarterModel.h"

#include "StarterTexts.h"
#include "Text.h"

#include <algorithm>

// The value names are shared with the product's other programs, which write the slots; the
// slot number follows the name directly, without a blank.
std::string StartStationValue_FileType(int n) { return "file type" + std::to_string(n); }
std::string StartStationValue_FileTypeDescription(int n) { return "file type description" + std::to_string(n); }
std::string StartStationValue_ApplicationCommand(int n) { return "application command" + std::to_string(n); }
std::string StartStationValue_ApplicationName(int n) { return "application name" + std::to_string(n); }
std::string StartStationValue_IconFile(int n) { return "icon file" + std::to_string(n); }
std::string StartStationValue_IconIndex(int n) { return "icon index" + std::to_string(n); }

// Only the first 4 (icon index: 8) characters count, as the stored slots have always been
// read; a number out of range, such as 9E99, saturates instead of failing the whole load.
std::int16_t StartStation_FileTypeFromText(const std::string& text) {
    return Number_ToInt16(Text_ToNumber(Text_FirstChars(text, 4)));
}

std::int16_t StartStation_IconIndexFromText(const std::string& text) {
    // Limited to -32767, not -32768, as the index has always been.
    const std::int32_t wide = Number_ToInt32(Text_ToNumber(Text_FirstChars(text, 8)));
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(wide, -32767, 32767));
}

namespace {

std::string SlotCaption(const StartStationEntry& entry, const std::string& currentCaption) {
    const std::string& name = entry.ApplicationName;
    switch (entry.FileType) {
        case StartStationType_None:
            return "";
        case StartStationType_Application:
            // The last dot and backslash of the whole command line count, arguments included.
            return MenuCaption_FromText(Text_Shorten(Path_GetFileName(Path_RemoveExtension(name)), 50));
        case StartStationType_Folder: {
            if (name.empty()) return "";
            // The stored folder ends with "\"; a drive root has no name of its own and shows whole.
            std::string caption = Path_GetFileName(name.substr(0, name.size() - 1));
            return MenuCaption_FromText(caption.empty() ? name : caption);
        }
        default:
            return currentCaption;
    }
}

}  // namespace

std::string MenuCaption_FromText(const std::string& text) {
    std::string caption;
    for (char c : text) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

MenuItemText StartStationItem_Refresh(const StartStationEntry& entry, const std::string& currentCaption) {
    MenuItemText item;
    item.caption = SlotCaption(entry, currentCaption);
    item.enabled = !item.caption.empty();
    if (!item.enabled) item.caption = StarterText::CaptionNotDefined;
    // A slot of a type this Starter cannot start keeps its old caption; when that caption is the
    // "[not defined]" of an earlier refresh, it must not turn into an enabled item that does nothing.
    const bool knownType = entry.FileType == StartStationType_None || entry.FileType == StartStationType_Application ||
                           entry.FileType == StartStationType_Folder;
    if (!knownType && item.caption == StarterText::CaptionNotDefined) item.enabled = false;
    return item;
}

std::string Command_ExpandSystemRoot(const std::string& command, const std::string& windowsDir) {
    const std::string placeholder = StarterText::SystemRootPlaceholder;
    const std::size_t at = Ascii_ToLower(command).find(placeholder);
    if (at == std::string::npos) return command;
    // The Windows directory ends with "\", so "%systemroot%\x" gets a doubled backslash; Windows
    // accepts it, and the product's stored commands have always been run that way.
    return command.substr(0, at) + windowsDir + command.substr(at + placeholder.size());
}
