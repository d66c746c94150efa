// Directories and special folders as Wine reports them, and which files a shortcut removal may
// delete in the real Start menu and on the real desktop.
#include "KtShellRegistration.h"

#include "PathRules.h"
#include "WideText.h"
#include "WinTest.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wintest;

namespace {

// Callers append names directly: every folder ends with one "\", and a folder with no path on
// disk (Wine names some "::{GUID}") is none.
TEST(Folders, FileSystemOnesEndInOneBackslashAndVirtualOnesAreEmpty) {
    // What the system reports through other calls than the ones under test, with one "\".
    auto withBackslash = [](const wchar_t* path) {
        const std::string text = Text_FromWide(std::wstring(path));
        return !text.empty() && text.back() == '\\' ? text : text + "\\";
    };
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {}, programs[MAX_PATH] = {};
    ASSERT_TRUE(GetSystemWindowsDirectoryW(windows, MAX_PATH) && GetSystemDirectoryW(system, MAX_PATH));
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs), S_OK);
    EXPECT_EQ(WindowsDir_Get(), withBackslash(windows));
    EXPECT_EQ(SystemDir_Get(), withBackslash(system));
    EXPECT_EQ(SpecialFolder_GetPath(CSIDL_PROGRAMS), withBackslash(programs));
    for (int folder : {CSIDL_DRIVES, CSIDL_NETWORK}) EXPECT_EQ(SpecialFolder_GetPath(folder), "") << folder;
}

// The portable rule must name what the system names, or a plan made on its text would touch
// another folder than it means to.
TEST(Folders, CanonicalPathsAreWhatTheSystemResolves) {
    for (const char* path : {"C:\\a\\b\\..\\c", "C:/a//b\\", "C:\\..\\..\\x", "C:\\a\\..", "C:\\a\\.", "C:\\a\\b \\.",
                             "C:\\a\\b.\\c", "C:\\a\\b. \\c", "C:\\a\\Tips...", "C:\\a\\...", "C:\\a\\   ",
                             "//srv/sh/../../x", "C:\\\xD0\x9F\\b."}) {
        wchar_t full[MAX_PATH] = {};
        ASSERT_GT(GetFullPathNameW(Wide_FromText(path).c_str(), MAX_PATH, full, nullptr), 0u) << path;
        EXPECT_EQ(Path_Canonical(path), Text_FromWideBuffer(full, MAX_PATH)) << path;
    }
}

// Shortcuts are made in the real Programs folder and on the real desktop, and removed after.
class Shortcuts : public ::testing::Test {
protected:
    const std::string programs = SpecialFolder_GetPath(CSIDL_PROGRAMS), group = "VembrolTest Group";
    std::vector<std::string> made;
    ~Shortcuts() override {
        for (const auto& path : made) DeleteFileW(Wide_FromText(path).c_str());
        Directory_DeleteTree(programs + group);
    }
    std::string Make(const std::string& path) {
        Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
        File_Write(path, "L shortcut");
        made.push_back(path);
        return path;
    }
};

// Folder and link name come from a data file: nothing may lead out of the folder it names.
TEST_F(Shortcuts, RemoveDeletesOnlyTheNamedShortcutInsideItsFolder) {
    const std::string dir = programs + group + "\\";
    const std::string removed[] = {Make(dir + "App.lnk"), Make(dir + "Tips....lnk"), Make(programs + "VembrolTest Top.lnk")};
    const std::string kept[] = {Make(dir + "App.txt"), Make(dir + "Dir.lnk\\x"), Make(dir + ".lnk"), Make(dir + "...lnk"),
                                Make(dir + "Sub\\App.lnk"), Make(programs + "..\\VembrolTest Out.lnk")};
    for (const std::string name : {"", "App.txt", "Dir", "Sub\\App", ".."})
        EXPECT_FALSE(ShellLink_Remove(group, name)) << '"' << name << '"';
    for (const char* folder : {"..", "VembrolTest Group\\..\\..", "..\\..\\Start Menu"})
        EXPECT_FALSE(ShellLink_Remove(folder, "VembrolTest Out")) << folder;
    EXPECT_TRUE(ShellLink_Remove("Sub\\..\\" + group + "/\\", "App"));
    EXPECT_FALSE(ShellLink_Remove(group, "App")) << "already removed";
    EXPECT_TRUE(ShellLink_Remove(group, "Tips..."));
    EXPECT_TRUE(ShellLink_Remove("", "VembrolTest Top"));
    for (const auto& path : removed) EXPECT_FALSE(File_Exists(path)) << path;
    for (const auto& path : kept) EXPECT_TRUE(File_Exists(path)) << path;
}

// Installers wrote the desktop as "..\..\Desktop" from Programs. On this profile layout that
// path is a folder in the roaming application data, not the desktop the user sees.
TEST_F(Shortcuts, OldDesktopPathReachesTheUsersRealDesktop) {
    const std::string literal = programs + "..\\..\\Desktop\\";
    const bool literalExisted = Directory_Exists(literal);
    const std::string onDesktop = Make(SpecialFolder_GetPath(CSIDL_DESKTOPDIRECTORY) + "VembrolTest App.lnk");
    const std::string decoy = Make(literal + "VembrolTest App.lnk");
    EXPECT_TRUE(ShellLink_Remove("..\\..\\Desktop", "VembrolTest App")) << onDesktop;
    EXPECT_FALSE(File_Exists(onDesktop)) << onDesktop;
    EXPECT_TRUE(File_Exists(decoy));
    DeleteFileW(Wide_FromText(decoy).c_str());
    if (!literalExisted) RemoveDirectoryW(Wide_FromText(literal).c_str());
}

}  // namespace
