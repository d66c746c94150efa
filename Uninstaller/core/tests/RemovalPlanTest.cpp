// Entries that once let a removal climb above the installation or reach beyond the registry's
// roots.
#include "RemovalPlan.h"

#include <gtest/gtest.h>

namespace {

TEST(RemovalGuards, PathsThatNameNothingAreNeverPlannedNorExtendAChain) {
    const std::vector<FileRecord> files = {
        {"", "readme.txt"}, {"", ""}, {"", "D:x.txt"}, {"", "\\x\\y.txt"}, {"", "%windir%\\a\\b.txt"}, {"", "C:\\A\\B\\f"}};
    EXPECT_EQ(DirectoryPlan_Make(files), std::vector<std::string>{"C:\\A\\B\\"});
    const std::int32_t hklm = static_cast<std::int32_t>(0x80000002u);
    auto keys = RegistryKeyPlan_Make({{hklm, "", "", ""}, {hklm, "\\", "", ""}, {hklm, "\\S\\X\\Y", "", ""}});
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].KeyPath, "\\S\\X\\Y\\");
}

// Installers write "%currentdir%\..\Shared\x.dll" and "/": the chain must join only folders
// that really lie one in the other.
TEST(RemovalGuards, ChainsAreCompletedOnCanonicalPaths) {
    // By text, the first path would pull in "C:\Firm\App\..\" (C:\Firm\) and the drive root.
    const std::vector<FileRecord> files = {{"", "C:\\Firm\\App\\..\\..\\Other\\x.dll"},
                                           {"", "C:/Firm/App//bin/a.exe"},
                                           {"", "C:\\Firm\\App\\.\\b.txt"},
                                           {"", "C:\\Firm\\Shared\\..\\App\\Deep\\Er\\c.txt"}};
    EXPECT_EQ(DirectoryPlan_Make(files), (std::vector<std::string>{"C:\\Firm\\App\\Deep\\Er\\", "C:\\Firm\\App\\Deep\\",
                                                                   "C:\\Firm\\App\\bin\\", "C:\\Firm\\App\\", "C:\\Other\\"}));
}

TEST(RemovalGuards, OnlyPredefinedRootKeysAreUsed) {
    std::vector<RegKeyRecord> keys;
    for (std::uint32_t root : {0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u, 0x80000004u, 0x80000005u,
                               0x80000006u, 0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000050u})
        keys.push_back({static_cast<std::int32_t>(root), "Software\\Firm", "", ""});
    std::vector<std::uint32_t> planned;
    for (const auto& k : RegistryKeyPlan_Make(keys)) planned.push_back(static_cast<std::uint32_t>(k.RootKey));
    EXPECT_EQ(planned, (std::vector<std::uint32_t>{0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u, 0x80000005u}));
}

}  // namespace
