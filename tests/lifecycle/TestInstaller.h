// A test installer: lays the product down as an installer of its time did, through the
// registry layer, and writes the Uninstall.dat that lists what it put on the machine.
#pragma once

#include "EntrySet.h"
#include "LifecycleLayout.h"

#include <string>
#include <vector>

namespace lifecycle {

struct InstallSources {
    std::string starter;      // the shipped Vembrol Starter.exe
    std::string uninstaller;  // the shipped Uninstall.exe
    std::string standIn;      // stands in for Vembrol.exe
};

// The files below the application folder that the installer writes, with their contents.
struct InstalledFile {
    const char* path;  // relative to kAppDir
    const char* text;
};
extern const std::vector<InstalledFile> kInstalledFiles;

// Shortcut names in the Start-menu group.
extern const std::vector<std::string> kGroupShortcuts;

// What Uninstall.dat lists, with placeholders as an installer writes them.
EntrySet Installation_Listing();

// Lays everything down; an empty result, or the first step that failed.
std::string Product_Install(const Folders& folders, const InstallSources& sources);

}  // namespace lifecycle
