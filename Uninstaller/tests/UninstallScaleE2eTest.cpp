// 10000 files in 1000 folders and 1000 keys, with unlisted levels between listed ones; prints
// how long the run took from start to its report.
#include "E2eFixture.h"

#include <cstdio>

using namespace wintest;

namespace {

class Scale : public UninstallE2e {};

TEST_F(Scale, UninstallsTenThousandFilesInAThousandFolders) {
    const std::string big = Tree() + "Big\\";
    EntrySet set;
    set.Info.AppName = "Big App";
    set.RegKeys.push_back({E2eHKLM, Key() + "Big", "", ""});
    for (int d = 0; d < 1000; ++d) {
        // Big\aX\ is listed nowhere and joins through the chain.
        const std::string dir = big + "a" + std::to_string(d / 100) + "\\b" + std::to_string(d % 100) + "\\";
        Directory_Create(dir);
        for (int f = d == 0 ? 1 : 0; f < 10; ++f) {  // room for "top"
            File_Write(dir + "f" + std::to_string(f), "x");
            set.Files.push_back(E2eFile(dir + "f" + std::to_string(f)));
        }
        if (d == 0) continue;  // "Big" itself is the thousandth key
        const std::string key = Key() + "Big\\a" + std::to_string(d / 100) + "\\k" + std::to_string(d % 100);
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, key, "v", REG_SZ, "x");
        set.RegKeys.push_back({E2eHKLM, key, "", ""});
    }
    File_Write(big + "top", "x");  // lists Big\ itself, the top of every chain
    set.Files.push_back(E2eFile(big + "top"));
    WriteDataFile(set);

    const DWORD start = GetTickCount();
    Process p = Start();
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    EXPECT_EQ(MessageBox_Answer(p.Id(), "OK", 120000).text, "Application has been removed successfully.");
    std::printf("10000 files, 1000 folders, 1000 keys: %lu ms to the report\n", static_cast<unsigned long>(GetTickCount() - start));
    ExpectEndsCleanly(p);
    EXPECT_FALSE(Directory_Exists(big));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "Big"));
}

}  // namespace
