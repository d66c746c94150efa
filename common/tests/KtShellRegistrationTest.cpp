// Directories and special folders as Wine reports them, and which files a shortcut removal may
// delete in the real Start menu and on the real desktop.
#include "KtShellRegistration.h"

#include "PathRules.h"
#include "WideText.h"
#include "WinTest.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

using namespace wintest;

namespace {

// Callers append names directly: every folder ends with one "\", and a folder with no path on
// disk (Wine names some "::{GUID}") is none.
TEST(Folders, FileSystemOnesEndInOneBackslashAndVirtualOnesAreEmpty) {
    EXPECT_EQ(WindowsDir_Get(), "C:\\windows\\");
    EXPECT_EQ(SystemDir_Get(), "C:\\windows\\system32\\");
    const std::string programs = SpecialFolder_GetPath(CSIDL_PROGRAMS), tail = "\\Start Menu\\Programs\\";
    EXPECT_TRUE(programs.rfind("C:\\users\\", 0) == 0 && programs.size() > tail.size() &&
                programs.compare(programs.size() - tail.size(), tail.size(), tail) == 0)
        << programs;
    EXPECT_EQ(SpecialFolder_GetPath(CSIDL_DRIVES), "");
}

// The portable rule must name what the system names, or a plan made on its text would touch
// another folder than it means to.
TEST(Folders, CanonicalPathsAreWhatTheSystemResolves) {
    for (const char* path : {"C:\\a\\b\\..\\c", "C:/a/b", "C:\\a\\\\b\\", "C:\\a\\.\\b", "C:\\..\\..\\x", "C:\\a\\..",
                             "C:\\a\\.", "C:\\a\\b.\\c", "C:\\a\\b. \\c", "C:\\a\\ .\\b", "C:\\a\\Tips...", "C:\\a\\x .",
                             "C:\\a\\...", "C:\\a\\b \\.", "C:\\a\\   ", "C:\\a\\*.", "\\\\srv\\sh\\..\\..\\x", "//srv/sh/a/", "C:\\\xD0\x9F\\b."}) {
        const std::string canonical = Path_Canonical(path);
        wchar_t full[MAX_PATH] = {};
        ASSERT_GT(GetFullPathNameW(Wide_FromText(path).c_str(), MAX_PATH, full, nullptr), 0u) << path;
        EXPECT_EQ(canonical, Text_FromWideBuffer(full, MAX_PATH)) << path;
        EXPECT_EQ(Path_Canonical(canonical), canonical) << path;
    }
}

// The group folder is made in the real Programs folder and removed with everything in it.
class Shortcuts : public ::testing::Test {
protected:
    const std::string programs = SpecialFolder_GetPath(CSIDL_PROGRAMS);
    const std::string group = "VembrolTest Group", dir = programs + group + "\\";
    void SetUp() override { Directory_DeleteTree(dir); }
    ~Shortcuts() override { Directory_DeleteTree(dir); }
    std::string Make(const std::string& path) {
        Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
        File_Write(path, "L shortcut");
        return path;
    }
};

// Folder and link name come from a data file: nothing may lead out of the folder it names.
TEST_F(Shortcuts, RemoveDeletesOnlyTheNamedShortcutInsideItsFolder) {
    const std::string link = Make(dir + "App.lnk"), nested = Make(dir + "Sub\\App.lnk");
    const std::string tips = Make(dir + "Tips....lnk"), inPrograms = Make(programs + "VembrolTest Top.lnk");
    const std::string kept[] = {Make(dir + "App.txt"), Make(dir + "Dir.lnk\\x"), Make(dir + ".lnk"), Make(dir + "...lnk"), nested};
    const std::string refused[] = {"", "App.txt", "Dir", "Sub\\App", "Sub/App", "Sub\\..\\App", "..", "..\\" + group + "\\App", " . "};
    for (const auto& name : refused)
        EXPECT_FALSE(ShellLink_Remove(group, name)) << '"' << name << '"';
    for (const char* folder : {"..\\VembrolTest Group", "...\\VembrolTest Group", "C:\\"})
        EXPECT_FALSE(ShellLink_Remove(folder, "App")) << folder;
    EXPECT_TRUE(File_Exists(link));
    EXPECT_TRUE(ShellLink_Remove("Sub\\..\\" + group + "/\\", "App"));
    EXPECT_FALSE(File_Exists(link));
    EXPECT_FALSE(ShellLink_Remove(group, "App")) << "already removed";
    EXPECT_TRUE(ShellLink_Remove(group, "Tips..."));
    EXPECT_FALSE(File_Exists(tips));
    EXPECT_TRUE(ShellLink_Remove("", "VembrolTest Top"));
    EXPECT_FALSE(File_Exists(inPrograms));
    for (const auto& path : kept) EXPECT_TRUE(File_Exists(path)) << path;
}

// Installers wrote the desktop as "..\..\Desktop" from Programs. On this profile layout that
// path is a folder in the roaming application data, not the desktop the user sees.
TEST_F(Shortcuts, OldDesktopPathReachesTheUsersRealDesktop) {
    const std::string desktop = SpecialFolder_GetPath(CSIDL_DESKTOPDIRECTORY);
    std::string literal = programs.substr(0, programs.size() - 1);
    for (int up = 0; up < 2; ++up) literal.erase(literal.find_last_of('\\'));
    literal += "\\Desktop\\";
    const bool literalExisted = Directory_Exists(literal);
    const std::string onDesktop = Make(desktop + "VembrolTest App.lnk"), decoy = Make(literal + "VembrolTest App.lnk");
    EXPECT_TRUE(ShellLink_Remove("..\\..\\Desktop", "VembrolTest App"));
    EXPECT_FALSE(File_Exists(onDesktop));
    EXPECT_TRUE(File_Exists(decoy));
    DeleteFileW(Wide_FromText(onDesktop).c_str());
    DeleteFileW(Wide_FromText(decoy).c_str());
    if (!literalExisted) RemoveDirectoryW(Wide_FromText(literal).c_str());
}

}  // namespace
