// Which program the file-type associations in HKEY_CLASSES_ROOT name for a verb on a file.
#include "StarterShell.h"

#include "Rmod.h"

bool FileType_Lookup(const std::string& fileName, const std::string& verb, std::string& typeDescription,
                     std::string& commandLine, std::string& program, std::string& iconFile,
                     std::int16_t& iconIndex) {
    const std::string typeName = Registry_GetValue(RegRoot_ClassesRoot, "." + Path_GetExtension(fileName), "");
    if (typeName.empty()) return false;

    typeDescription = Registry_GetValue(RegRoot_ClassesRoot, typeName, "");
    const std::string typeKey = Path_WithTrailingBackslash(typeName);
    // Only the verb asked for: the "shell" key's default verb belongs to the shell's own use.
    const std::string command =
        Text_TrimBlanks(Registry_GetValue(RegRoot_ClassesRoot, typeKey + "shell\\" + verb + "\\command", ""));
    const std::string icon = Text_TrimBlanks(Registry_GetValue(RegRoot_ClassesRoot, typeKey + "DefaultIcon", ""));

    commandLine = command;
    program = FileType_ExtractProgram(command);
    FileType_SplitIcon(icon, iconFile, iconIndex);
    iconFile = Text_TrimBlanks(iconFile);
    return true;
}
