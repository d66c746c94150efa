// The directory pass on a real disk: chains are removed deepest first when empty, nothing
// above or beside them goes, and the application-directory wipe stays inside its folder.
#include "FileSearch.h"
#include "RemovalPasses.h"
#include "WinTest.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

FileRecord Listed(const std::string& path) { return {"", path, BooleanFalse}; }

BaseDirs RealDirs() {
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    return {std::string(windows) + "\\", std::string(system) + "\\", "C:\\vembrol-tests\\", "C:\\vembrol-tests\\Uninstall.dat"};
}

TEST(DirectoriesPass, RemovesEmptiedChainsDeepestFirstAndNothingAboveOrBeside) {
    ScratchDir dir("dirs-pass-chain");
    const std::string t = dir.Path() + "Tree\\";
    for (const char* sub : {"Top\\Mid\\Low", "Top\\Mid2\\Low", "Top\\Full\\Low", "Sibling", "Top2"}) Directory_Create(t + sub);
    File_Write(t + "Top\\Full\\stays.txt", "x");

    Directories_Remove({Listed(t + "Top\\Mid\\Low\\f1"), Listed(t + "Top\\Mid2\\Low\\f2"), Listed(t + "Top\\Full\\Low\\f3"),
                        Listed(t + "Top\\f4")},
                       InfoRecord{}, RealDirs());

    EXPECT_FALSE(Directory_Exists(t + "Top\\Mid\\Low"));
    EXPECT_FALSE(Directory_Exists(t + "Top\\Mid"));
    EXPECT_FALSE(Directory_Exists(t + "Top\\Mid2"));
    EXPECT_FALSE(Directory_Exists(t + "Top\\Full\\Low"));
    EXPECT_TRUE(File_Exists(t + "Top\\Full\\stays.txt"));
    EXPECT_TRUE(Directory_Exists(t + "Top")) << "holds a folder that holds a file";
    EXPECT_TRUE(Directory_Exists(t + "Sibling"));
    EXPECT_TRUE(Directory_Exists(t + "Top2"));
    EXPECT_TRUE(Directory_Exists(t));
}

TEST(DirectoriesPass, AFileNamedWithoutAFolderRemovesNothingAboveTheListedOnes) {
    ScratchDir dir("dirs-pass-bare-name");
    const std::string d = dir.Path();
    Directory_Create(d + "Above\\Listed");
    Directory_Create(d + "cwd");
    // Relative names resolve against the current directory; make that an empty folder too.
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA((d + "cwd").c_str());
    Directories_Remove({Listed("readme.txt"), Listed(d + "Above\\Listed\\f")}, InfoRecord{}, RealDirs());
    SetCurrentDirectoryA(previous);

    EXPECT_FALSE(Directory_Exists(d + "Above\\Listed"));
    EXPECT_TRUE(Directory_Exists(d + "Above"));
    EXPECT_TRUE(Directory_Exists(d + "cwd"));
}

TEST(DirectoriesPass, WipesOnlyTheVisibleFilesOfTheApplicationDirectory) {
    ScratchDir dir("dirs-pass-wipe");
    const std::string app = dir.Path() + "App\\";
    Directory_Create(app + "Sub");
    for (const char* name : {"app.exe", "extra.txt", "Uninstall.dat", "hidden.txt", "Sub\\inner.txt"}) File_Write(app + name, "x");
    File_SetAttributes(app + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    InfoRecord info;
    info.AppFile = dir.Path() + "app\\APP.EXE";  // other case: still the application directory

    Directories_Remove({Listed(app + "app.exe")}, info, RealDirs());

    EXPECT_FALSE(File_Exists(app + "app.exe"));
    EXPECT_FALSE(File_Exists(app + "extra.txt"));
    EXPECT_FALSE(File_Exists(app + "Uninstall.dat"));
    EXPECT_TRUE(File_Exists(app + "hidden.txt"));
    EXPECT_TRUE(File_Exists(app + "Sub\\inner.txt"));
    EXPECT_TRUE(Directory_Exists(app)) << "held files when it was listed";
}

TEST(DirectoriesPass, NeverWipesAFolderOfTheWindowsDirectoryHoweverItIsSpelt) {
    const BaseDirs dirs = RealDirs();
    const std::string inside = dirs.WindowsDir + "VembrolWipeTest\\";
    Directory_DeleteTree(inside);
    Directory_Create(inside);
    File_Write(inside + "system-owned.dll", "x");
    // The same folder reached through "..", so that only the resolved path shows where it is.
    const std::string detour = "C:\\vembrol-tests\\..\\" + inside.substr(3);
    for (const std::string& spelling : {inside, detour}) {
        InfoRecord info;
        info.AppFile = spelling + "app.exe";
        Directories_Remove({Listed(spelling + "app.exe")}, info, dirs);
        EXPECT_TRUE(File_Exists(inside + "system-owned.dll")) << spelling;
    }
    Directory_DeleteTree(inside);
}

TEST(DirectoriesPass, FullPathsResolveDotsAndEndWithABackslash) {
    EXPECT_EQ(Directory_GetFullPath("C:\\vembrol-tests\\a\\..\\b"), "C:\\vembrol-tests\\b\\");
    EXPECT_EQ(Directory_GetFullPath("C:\\vembrol-tests\\.\\c\\"), "C:\\vembrol-tests\\c\\");
}

}  // namespace
