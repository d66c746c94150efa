// Placeholder expansion against known base directories, and the two path helpers.
#include "Placeholders.h"

#include <gtest/gtest.h>

namespace {

BaseDirs Dirs(const std::string& exe) { return BaseDirs_Make("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM32\\", exe); }

TEST(Placeholders, ReplaceALeadingPlaceholderWithoutDoublingTheSeparator) {
    const BaseDirs d = Dirs("D:\\Apps\\Tool\\Uninstall.exe");
    const struct {
        const char* path;
        const char* group;
        const char* expected;
    } cases[] = {
        {"%windir%\\win.ini", "", "C:\\WINDOWS\\win.ini"},
        {"%windir%win.ini", "", "C:\\WINDOWS\\win.ini"},
        {"%WinDir%\\System\\X.dll", "", "C:\\WINDOWS\\System\\X.dll"},
        {"%windir%", "", "C:\\WINDOWS\\"},
        {"%winsysdir%\\a.dll", "", "C:\\WINDOWS\\SYSTEM32\\a.dll"},
        {"%currentdir%\\Data\\", "", "D:\\Apps\\Tool\\Data\\"},
        {"%currentdir%", "", "D:\\Apps\\Tool\\"},
        {"%rootdir%Data\\", "", "D:\\Data\\"},
        {"%userdir%\\readme.txt", "", "D:\\Apps\\Tool\\readme.txt"},
        {"%userdir%", "", "D:\\Apps\\Tool\\"},
        {"%userfolder%\\Readme", "My Group", "My Group\\Readme"},
        {"%userfolder%\\Readme", "", "\\Readme"},
        {"C:\\%windir%\\x", "", "C:\\%windir%\\x"},
        {"x%windir%", "", "x%windir%"},
        {"%win", "", "%win"},
        {"", "", ""},
        {"%unknown%\\x", "", "%unknown%\\x"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        Placeholders_Expand(path, d, c.group);
        EXPECT_EQ(path, c.expected) << c.path;
    }
}

TEST(Placeholders, LaterRowsStillApplyToWhatAnEarlierRowProduced) {
    const BaseDirs d = Dirs("D:\\Tool\\Uninstall.exe");
    // "%userfolder%" is tried last, so a group folder that starts with an earlier placeholder
    // stays as it is, while an expansion starting with "%userfolder%" is expanded again.
    std::string path = "%userfolder%x";
    Placeholders_Expand(path, d, "%windir%\\");
    EXPECT_EQ(path, "%windir%\\x");

    BaseDirs odd = d;
    odd.WindowsDir = "%userfolder%\\";
    path = "%windir%\\y";
    Placeholders_Expand(path, odd, "G");
    EXPECT_EQ(path, "G\\y");
}

TEST(Placeholders, ExpandAllTouchesExactlyThePathFields) {
    EntrySet set;
    set.Info = {"%windir%\\i", "%windir%\\name", "%currentdir%\\app.exe", "%windir%\\grp"};
    set.Files.push_back({"%windir%\\e", "%userfolder%\\f", BooleanFalse});
    set.RegKeys.push_back({1, "%windir%\\k", "%windir%\\1", "%windir%\\2"});
    set.Shortcuts.push_back({"%userfolder%", "%windir%\\link", "%winsysdir%\\x"});
    Placeholders_ExpandAll(set, Dirs("E:\\U\\Uninstall.exe"));

    EXPECT_EQ(set.Info.ExtraPath, "C:\\WINDOWS\\i");
    EXPECT_EQ(set.Info.AppName, "%windir%\\name");
    EXPECT_EQ(set.Info.AppFile, "E:\\U\\app.exe");
    EXPECT_EQ(set.Info.GroupFolder, "%windir%\\grp");
    EXPECT_EQ(set.Files[0].ExtraPath, "C:\\WINDOWS\\e");
    EXPECT_EQ(set.Files[0].FilePath, "%windir%\\grp\\f");
    EXPECT_EQ(set.RegKeys[0].KeyPath, "%windir%\\k");
    EXPECT_EQ(set.RegKeys[0].ExtraText1, "%windir%\\1");
    EXPECT_EQ(set.Shortcuts[0].Folder, "%windir%\\grp");
    EXPECT_EQ(set.Shortcuts[0].LinkName, "%windir%\\link");
    EXPECT_EQ(set.Shortcuts[0].ExtraPath, "C:\\WINDOWS\\SYSTEM32\\x");
}

TEST(BaseDirectories, ComeFromTheUninstallersOwnPath) {
    const struct {
        const char* exe;
        const char* appDir;
        const char* root;
    } cases[] = {
        {"D:\\Apps\\Tool\\Uninstall.exe", "D:\\Apps\\Tool\\", "D:\\"},
        {"C:\\Uninstall.exe", "C:\\", "C:\\"},
        {"\\\\srv\\pub\\Tool\\Uninstall.exe", "\\\\srv\\pub\\Tool\\", "\\\\srv\\pub\\"},
    };
    for (const auto& c : cases) {
        BaseDirs d = Dirs(c.exe);
        EXPECT_EQ(d.AppDir, c.appDir);
        EXPECT_EQ(d.DataFilePath, std::string(c.appDir) + "Uninstall.dat");
        std::string path = "%rootdir%Data\\";
        Placeholders_Expand(path, d, "");
        EXPECT_EQ(path, std::string(c.root) + "Data\\") << c.exe;
    }
}

TEST(PathHelpers, FindRootsAndParents) {
    const struct {
        const char* path;
        const char* root;
        const char* parent;
    } cases[] = {
        {"C:\\a\\b.txt", "C:\\", "C:\\a\\"},
        {"C:\\a\\", "C:\\", "C:\\a\\"},
        {"b.txt", "b.t", ""},
        {"C:", "C:", ""},
        {"", "", ""},
        {"\\\\server\\share\\dir\\f", "\\\\server\\share\\", "\\\\server\\share\\dir\\"},
        {"\\\\server\\share", "\\\\server\\share\\", "\\\\server\\"},
        {"\\\\server", "", "\\\\"},
        {"\\\\", "", "\\\\"},
        {"\\a", "\\a", "\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Path_GetRoot(c.path), c.root) << c.path;
        EXPECT_EQ(Path_GetParent(c.path), c.parent) << c.path;
    }
}

}  // namespace
