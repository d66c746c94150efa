// A large installation end to end: 10000 files in 1000 folders and 1000 registry keys, with
// unlisted levels between listed ones. Prints how long the run took from start to its report.
#include "E2eFixture.h"

#include <cstdio>

using namespace wintest;

namespace {

class ScaleRun : public UninstallE2e {
protected:
    ScaleRun() : UninstallE2e("e2e-scale") {}
};

TEST_F(ScaleRun, UninstallsTenThousandFilesInAThousandFolders) {
    const std::string big = Tree() + "Big\\", k = Key() + "\\Big\\";
    EntrySet set;
    set.Info.AppName = "Big App";
    set.Files.push_back(E2eFile(big + "top.txt"));
    File_Write(big + "top.txt", "x");
    set.RegKeys.push_back({E2eHKLM, Key() + "\\Big", "", ""});
    for (int d = 0; d < 1000; ++d) {
        // Big\aX\bY\ holds the files; Big\aX\ is listed nowhere and joins through the chain.
        const std::string dir = big + "a" + std::to_string(d / 100) + "\\b" + std::to_string(d % 100) + "\\";
        Directory_Create(dir);
        for (int f = 0; f < (d == 0 ? 9 : 10); ++f) {
            File_Write(dir + "f" + std::to_string(f) + ".dat", "x");
            set.Files.push_back(E2eFile(dir + "f" + std::to_string(f) + ".dat"));
        }
        const std::string key = k + "a" + std::to_string(d / 100) + "\\k" + std::to_string(d % 100);
        if (d == 0) continue;  // "Big" itself is the thousandth key
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, key, "v", REG_SZ, "x");
        set.RegKeys.push_back({E2eHKLM, key, "", ""});
    }
    ASSERT_EQ(set.Files.size(), 10000u);
    ASSERT_EQ(set.RegKeys.size(), 1000u);
    WriteDataFile(set);

    const DWORD start = GetTickCount();
    Process p = Start();
    ASSERT_NE(MessageBox_Answer(p.Id(), "Yes", 15000).hwnd, nullptr);
    MessageBoxInfo report = MessageBox_Answer(p.Id(), "OK", 120000);
    const DWORD elapsed = GetTickCount() - start;
    std::printf("10000 files, 1000 folders, 1000 keys: %lu ms from start to the report (2 s pause included)\n",
                static_cast<unsigned long>(elapsed));
    EXPECT_EQ(report.text, "Application has been removed successfully.");
    ExpectEndsQuietly(p);

    EXPECT_FALSE(Directory_Exists(big));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "\\Big"));
    ExpectSentinelsIntact();
}

}  // namespace
