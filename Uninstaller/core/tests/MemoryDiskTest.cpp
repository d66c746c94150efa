// The in-memory disk behaves as the system's file functions do where the run's rules depend on
// it; a wrong answer here would let the native run tests pass on behaviour Windows never shows.
#include "DiskSearch.h"
#include "MemoryDisk.h"

#include <gtest/gtest.h>

namespace {

MemoryDisk Disk_Make() {
    MemoryDisk disk;
    disk.AddVolume("C:\\", 7);
    disk.AddFile("C:\\Dir\\page.html");
    disk.AddFile("C:\\Dir\\Report 2024.txt");
    disk.AddFile("C:\\Dir\\a.log");
    disk.AddFile("C:\\Dir\\secret.log", FileAttribute::Hidden);
    disk.AddFile("C:\\Dir\\locked.txt", FileAttribute::ReadOnly);
    disk.AddFolder("C:\\Dir\\Sub.log");
    return disk;
}

// Patterns mean what users mean: the last level against long names only, never a folder, never
// what a hidden or system file is.
TEST(MemoryDisk, PatternsMatchLongNamesOnlyAndHideWhatTheSystemHides) {
    struct Case {
        const char* pattern;
        std::vector<std::string> visible;
    };
    const Case cases[] = {
        {"C:\\Dir\\*.htm", {}},                       // not page.html through its short name PAGE~1.HTM
        {"C:\\Dir\\*.html", {"C:\\Dir\\page.html"}},
        {"C:\\Dir\\*.", {"C:\\Dir\\README"}},          // names without an extension
        {"C:\\Dir\\*.log", {"C:\\Dir\\a.log"}},      // not the hidden file, not the folder
        {"C:\\Dir\\REPORT~1.TXT", {"C:\\Dir\\Report 2024.txt"}},
        {"c:\\dir\\A.LOG", {"c:\\dir\\a.log"}},  // the folder as asked, the name as stored
        {"C:\\Dir\\?.log", {"C:\\Dir\\a.log"}},
        {"C:\\Dir\\*.*", {"C:\\Dir\\page.html", "C:\\Dir\\Report 2024.txt", "C:\\Dir\\a.log", "C:\\Dir\\locked.txt", "C:\\Dir\\README"}},
        {"C:\\Dir\\", {}},
        {"C:\\Nowhere\\*", {}},
        {"Q:\\Dir\\*", {}},
    };
    MemoryDisk disk = Disk_Make();
    disk.AddFile("C:\\Dir\\README");
    for (const auto& c : cases) EXPECT_EQ(File_FindMatching(disk, c.pattern), c.visible) << c.pattern;
    // The search itself widens a pattern through short names, as the system's does.
    std::vector<std::string> found;
    disk.Find("C:\\Dir\\*.htm", [&](const DiskEntry& e) { return found.push_back(e.Name), true; });
    EXPECT_EQ(found, std::vector<std::string>{"page.html"});
    EXPECT_FALSE(File_IsThere(disk, "C:\\Dir\\secret.log"));
    EXPECT_TRUE(File_IsThere(disk, "C:\\Dir\\PAGE~1.HTM"));
    EXPECT_FALSE(File_IsThere(disk, "C:\\Dir\\a.log\\"));
}

TEST(MemoryDisk, DeletionsFailAsTheSystemsDo) {
    MemoryDisk disk = Disk_Make();
    EXPECT_EQ(disk.RemoveFile("C:\\Dir\\locked.txt"), DiskError::AccessDenied);
    EXPECT_EQ(disk.RemoveFile("C:\\Dir\\gone.txt"), DiskError::FileNotFound);
    EXPECT_EQ(disk.RemoveFile("C:\\Dir\\Sub.log"), DiskError::AccessDenied) << "a folder is no file";
    EXPECT_FALSE(disk.RemoveFolder("C:\\Dir\\")) << "not empty";
    EXPECT_FALSE(disk.RemoveFolder("C:\\")) << "a root";
    EXPECT_TRUE(disk.ClearAttributes("C:\\Dir\\locked.txt", FileAttribute::ReadOnly));
    EXPECT_EQ(disk.RemoveFile("C:\\Dir\\locked.txt"), 0u);
    EXPECT_TRUE(disk.ClearAttributes("C:\\Dir\\secret.log", FileAttribute::Hidden));
    EXPECT_TRUE(File_IsThere(disk, "C:\\Dir\\secret.log"));
    EXPECT_TRUE(disk.SetUndeletable("C:\\Dir\\a.log"));
    EXPECT_EQ(disk.RemoveFile("C:\\Dir\\a.log"), DiskError::AccessDenied);
    EXPECT_TRUE(disk.RemoveFolder("C:\\Dir\\Sub.log\\"));
    EXPECT_EQ(disk.Removed(), (std::vector<std::string>{"C:\\Dir\\locked.txt", "C:\\Dir\\Sub.log\\"}));
}

TEST(MemoryDisk, OtherNamesOfAFolderShareItsIdentity) {
    MemoryDisk disk = Disk_Make();
    disk.AddVolume("D:\\", 9);
    disk.AddFolder("D:\\Links");
    ASSERT_TRUE(disk.MapRoot("S:\\", "C:\\Dir"));
    ASSERT_TRUE(disk.AddLink("D:\\Links\\ToDir", "C:\\Dir"));
    DiskIdentity byName, byDrive, byLink, other;
    ASSERT_TRUE(disk.Identify("C:\\Dir\\", byName));
    ASSERT_TRUE(disk.Identify("S:\\", byDrive));
    ASSERT_TRUE(disk.Identify("D:\\Links\\ToDir\\", byLink));
    ASSERT_TRUE(disk.Identify("D:\\Links\\", other));
    EXPECT_EQ(byName, byDrive);
    EXPECT_EQ(byName, byLink);
    EXPECT_NE(byName, other);
    EXPECT_EQ(disk.GetAttributes("D:\\Links\\ToDir"), FileAttribute::Directory | FileAttribute::ReparsePoint);
    EXPECT_EQ(disk.FinalPath("D:\\Links\\ToDir\\"), "C:\\Dir\\");
    EXPECT_EQ(disk.VolumeRoot("D:\\Links\\ToDir\\a.log"), "C:\\");
    EXPECT_EQ(File_FindMatching(disk, "S:\\a.*"), std::vector<std::string>{"S:\\a.log"});
    // A link goes by itself, whatever its folder holds.
    EXPECT_TRUE(disk.RemoveFolder("D:\\Links\\ToDir"));
    EXPECT_TRUE(disk.Exists("C:\\Dir\\a.log"));
}

TEST(MemoryDisk, EveryCallAfterTheKthFails) {
    MemoryDisk disk = Disk_Make();
    disk.FailAfter(1);
    EXPECT_TRUE(File_IsThere(disk, "C:\\Dir\\a.log"));
    EXPECT_FALSE(File_IsThere(disk, "C:\\Dir\\a.log"));
    EXPECT_NE(disk.RemoveFile("C:\\Dir\\a.log"), 0u);
    DiskIdentity id;
    EXPECT_FALSE(disk.Identify("C:\\Dir\\", id));
    EXPECT_TRUE(disk.Exists("C:\\Dir\\a.log"));
    EXPECT_EQ(disk.Calls(), 4u);
}

}  // namespace
