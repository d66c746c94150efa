// The application-directory wipe may only ever empty the application's own folder.
#include "AppDirWipe.h"

#include <gtest/gtest.h>

namespace {

const std::string kWin = "C:\\WINDOWS\\";
const std::string kSys = "C:\\WINDOWS\\system32\\";

TEST(AppDirWipe, RecognisesTheApplicationDirectoryWhateverTheCase) {
    const struct {
        const char* listed;
        const char* appFile;
        bool isAppDir;
    } cases[] = {
        {"C:\\Program Files\\App\\", "C:\\Program Files\\App\\app.exe", true},
        {"c:\\program files\\app\\", "C:\\PROGRAM FILES\\APP\\APP.EXE", true},
        {"C:\\Program Files\\App", "C:\\Program Files\\App\\app.exe", true},
        {"C:\\Program Files\\App\\Sub\\", "C:\\Program Files\\App\\app.exe", false},
        {"C:\\Program Files\\", "C:\\Program Files\\App\\app.exe", false},
        {"C:\\App\\", "app.exe", false},
        {"C:\\App\\", "", false},
        {"", "C:\\App\\app.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Directory_IsAppDir(c.listed, c.appFile), c.isAppDir) << c.listed << " / " << c.appFile;
}

TEST(AppDirWipe, NeverEmptiesSystemFoldersRootsOrUnclearPaths) {
    const struct {
        const char* dir;
        bool allowed;
    } cases[] = {
        {"C:\\Program Files\\App\\", true},
        {"C:\\Program Files\\App", true},
        {"D:\\App\\", true},
        {"\\\\srv\\pub\\App\\", true},
        {"C:\\WINDOWS2\\", true},
        {"C:\\WINDOWS\\", false},
        {"c:\\windows", false},
        {"C:\\WINDOWS\\Fonts\\", false},
        {"C:\\WINDOWS\\SYSTEM32\\", false},
        {"C:\\", false},
        {"c:", false},
        {"\\\\srv\\pub\\", false},
        {"\\\\srv\\pub", false},
        {"\\\\srv\\", false},
        {"", false},
        {"\\", false},
        {"App\\", false},
        {"\\App\\", false},
        {"C:App\\", false},
        {"C:\\Tools\\..\\WINDOWS\\", false},
        {"C:\\.\\App\\", false},
        {"C:\\\\WINDOWS\\", false},
        {"C:/WINDOWS/", false},
        {"\\\\?\\C:\\App\\", false},
        {"\\\\.\\C:\\App\\", false},
        {"C:\\App*\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Directory_MayBeWiped(c.dir, kWin, kSys), c.allowed) << c.dir;
}

TEST(AppDirWipe, ProtectsASystemDirectoryOutsideTheWindowsDirectory) {
    EXPECT_FALSE(Directory_MayBeWiped("D:\\SYS\\", kWin, "D:\\SYS\\"));
    EXPECT_FALSE(Directory_MayBeWiped("D:\\SYS\\drivers\\", kWin, "D:\\SYS"));
    EXPECT_TRUE(Directory_MayBeWiped("D:\\SYSTEM\\", kWin, "D:\\SYS\\"));
}

TEST(AppDirWipe, WipesNothingWhenTheSystemFoldersAreUnknown) {
    // A failed directory query yields "\" alone; then no folder can be told safe.
    EXPECT_FALSE(Directory_MayBeWiped("D:\\App\\", "\\", kSys));
    EXPECT_FALSE(Directory_MayBeWiped("D:\\App\\", kWin, ""));
}

}  // namespace
