// The registry-key and shortcut passes against the real registry and Start menu.
#include "KtShellRegistration.h"
#include "RemovalPasses.h"
#include "WinTest.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

constexpr std::int32_t HKLM = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t HKCU = static_cast<std::int32_t>(0x80000001u);
constexpr int kCsidlPrograms = 2;

RegKeyRecord Key(std::int32_t root, const std::string& path) { return {root, path, "", ""}; }

void CreateKey(HKEY root, const std::string& path) { Registry_WriteRaw(root, path, "v", REG_SZ, "x"); }

TEST(RegistryKeysPass, DeletesListedChainsUnderBothRootsAndNothingElse) {
    ScratchKey scratch("regkeys-pass");
    const std::string k = scratch.Path() + "\\";
    for (const char* sub : {"Firm\\App\\Deep", "Other", "Busy\\Unlisted"}) CreateKey(HKEY_LOCAL_MACHINE, k + sub);
    for (const char* sub : {"Firm\\App", "Kept"}) CreateKey(HKEY_CURRENT_USER, k + sub);

    RegistryKeys_Remove({Key(HKLM, k + "Firm\\App\\Deep"), Key(HKLM, k + "Firm"), Key(HKLM, k + "Busy"),
                         Key(HKCU, k + "Firm\\App"), Key(HKCU, k + "Firm\\"), Key(HKLM, ""), Key(HKCU, "\\")});

    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Firm"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_CURRENT_USER, k + "Firm"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Other"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, k + "Busy\\Unlisted")) << "subkeys are never deleted unlisted";
    EXPECT_TRUE(Registry_KeyExists(HKEY_CURRENT_USER, k + "Kept"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, scratch.Path()));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, "Software"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_CURRENT_USER, "Software"));
    Registry_DeleteTree(HKEY_CURRENT_USER, scratch.Path());
}

class ShortcutsPass : public ::testing::Test {
protected:
    void SetUp() override {
        programs_ = SpecialFolder_GetPath(kCsidlPrograms);
        ASSERT_FALSE(programs_.empty());
        Cleanup();
    }
    void TearDown() override { Cleanup(); }
    void Cleanup() {
        for (const char* group : {"Vembrol Busy Group", "Vembrol Empty"}) Directory_DeleteTree(programs_ + group);
    }
    std::string programs_;
};

TEST_F(ShortcutsPass, KeepsAGroupThatStillHoldsSomethingAndNeverClimbsOutOfPrograms) {
    Directory_Create(programs_ + "Vembrol Busy Group");
    File_Write(programs_ + "Vembrol Busy Group\\App.lnk", "link");
    File_Write(programs_ + "Vembrol Busy Group\\Users own.lnk", "link");
    Directory_Create(programs_ + "Vembrol Empty");
    InfoRecord info;
    info.GroupFolder = "Vembrol Busy Group";
    Shortcuts_Remove({{"Vembrol Busy Group", "App", ""}}, info);
    EXPECT_FALSE(File_Exists(programs_ + "Vembrol Busy Group\\App.lnk"));
    EXPECT_TRUE(File_Exists(programs_ + "Vembrol Busy Group\\Users own.lnk"));

    for (const char* group : {"Vembrol Busy Group\\..\\Vembrol Empty", "..\\Programs\\Vembrol Empty"}) {
        info.GroupFolder = group;
        Shortcuts_Remove({}, info);
        EXPECT_TRUE(Directory_Exists(programs_ + "Vembrol Empty")) << group;
    }
}

}  // namespace
