// The program part of a command registered for a file type, and the file type's icon text.
#include "StarterModel.h"

#include "Text.h"

std::string FileType_ExtractProgram(const std::string& commandLine) {
    std::string program;
    bool insideQuotes = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '"') {
            if (i == 0) {
                insideQuotes = true;
            } else if (insideQuotes) {
                insideQuotes = false;
            } else {
                break;  // a quote outside the program path starts the arguments
            }
            continue;
        }
        if (c == '%' && i + 1 < commandLine.size() && commandLine[i + 1] == '1') break;
        program += c;
    }
    return Text_TrimBlanks(program);
}

bool FileType_SplitIcon(const std::string& icon, std::string& iconFile, std::int16_t& iconIndex) {
    const std::size_t comma = icon.find(',');
    if (comma == std::string::npos) return false;
    iconFile = icon.substr(0, comma);
    // A handler may register any number here; a huge one saturates rather than failing the lookup.
    iconIndex = Number_ToInt16(Text_ToNumber(icon.substr(comma + 1)));
    return true;
}
