// Entries that once let a removal climb above the installation.
#include "AppDirWipe.h"
#include "RemovalPlan.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(RemovalGuards, EmptyEntriesAreNeverPlannedNorExtendAChain) {
    EXPECT_EQ(DirectoryPlan_Make({{"", "readme.txt"}, {"", ""}, {"", "C:\\A\\B\\f"}}), std::vector<std::string>{"C:\\A\\B\\"});
    const std::int32_t hklm = static_cast<std::int32_t>(0x80000002u);
    auto keys = RegistryKeyPlan_Make({{hklm, "", "", ""}, {hklm, "\\", "", ""}, {hklm, "\\S\\X\\Y", "", ""}});
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].KeyPath, "\\S\\X\\Y\\");
}

TEST(RemovalGuards, WipeRefusesSystemFoldersAndRoots) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Program Files\\App", true}, {"\\\\srv\\pub\\App\\", true}, {"C:\\WINDOWS2\\", true},
        {"c:\\windows", false},           {"C:\\WINDOWS\\Fonts\\", false}, {"C:\\WINDOWS\\SYSTEM32\\", false},
        {"D:\\SYS\\", false},             {"C:\\", false},                {"c:", false},
        {"\\\\srv\\pub", false},          {"\\", false},                  {"", false},
        {"C:\\Tools\\..\\WINDOWS\\", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Directory_MayBeWiped(c.first, "C:\\WINDOWS\\", "D:\\SYS\\"), c.second) << c.first;
}

}  // namespace
