// The uninstaller's user-visible texts. Installers' documentation and support answers quote
// them, so they stay character for character, "uninstallling" included.
#pragma once

#include <string>

inline const char* const UninstallTitle = "Uninstall";
inline const char* const WaitCaption = "Please wait, uninstalling...";

inline const char* const Text_DataFileMissing =
    "Sorry, uninstallling is not possible as 'Uninstall.dat' was not found in the current directory. "
    "Try to reinstall the target application and then start uninstall again.";
inline const char* const Text_RemovedAll = "Application has been removed successfully.";
inline const char* const Text_NotAllRemoved = "Uninstalling finished, not all files have been removed.";

inline std::string Text_ReadNotFound(const std::string& path) {
    return "internal error in InstallFile_Read(): file '" + path + "' not found !";
}
inline std::string Text_WriteNotFound(const std::string& path) {
    return "internal error in InstallFile_Write(): file '" + path + " not found !";
}
inline std::string Text_InvalidFile(const std::string& path) {
    return "Error: the file '" + path + "' is no valid InstallFile !";
}
inline std::string Text_Unreadable(const std::string& path) {
    return "Error: the file '" + path + "' could not be read !";
}
inline std::string Text_ConfirmRemoval(const std::string& appName) {
    return "Do you really want to remove '" + appName + "' from this computer ?";
}
inline std::string Text_DeleteFailed(const std::string& filePath) {
    return "Error deleting file: " + filePath + "\nPress 'Cancel' to skip this file.";
}
