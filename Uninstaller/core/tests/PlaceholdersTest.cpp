#include "Placeholders.h"

#include <gtest/gtest.h>

namespace {

TEST(Placeholders, ExpandOnlyALeadingPlaceholderOfAnyCaseInTableOrder) {
    BaseDirs d = BaseDirs_Make("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM32\\", "D:\\Apps\\Tool\\Uninstall.exe");
    const char* const cases[][3] = {  // path, group folder, expected
        {"%windir%\\win.ini", "", "C:\\WINDOWS\\win.ini"},
        {"%WinDir%win.ini", "", "C:\\WINDOWS\\win.ini"},
        {"%winsysdir%\\a.dll", "", "C:\\WINDOWS\\SYSTEM32\\a.dll"},
        {"%currentdir%", "", "D:\\Apps\\Tool\\"},
        {"%rootdir%Data\\", "", "D:\\Data\\"},
        {"%USERDIR%\\r.txt", "", "D:\\Apps\\Tool\\r.txt"},
        {"%userfolder%\\Readme", "My Group", "My Group\\Readme"},
        {"%userfolder%x", "%windir%\\", "%windir%\\x"},  // tried last: its result is final
        {"x%windir%", "", "x%windir%"},
        {"%unknown%\\x", "", "%unknown%\\x"},
    };
    for (const auto& c : cases) {
        std::string path = c[0];
        Placeholders_Expand(path, d, c[1]);
        EXPECT_EQ(path, c[2]) << c[0];
    }
    d.WindowsDir = "%userfolder%\\";  // an earlier row's result is still open to later rows
    std::string path = "%windir%\\y";
    Placeholders_Expand(path, d, "G");
    EXPECT_EQ(path, "G\\y");
}

}  // namespace
