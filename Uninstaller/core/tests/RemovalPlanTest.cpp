// Which directories and keys the removal passes touch, and in which order.
#include "RemovalPlan.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::int32_t HKLM = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t HKCU = static_cast<std::int32_t>(0x80000001u);

FileRecord File(const std::string& path, bool keep = false) {
    FileRecord f;
    f.FilePath = path;
    f.Keep = keep ? BooleanTrue : BooleanFalse;
    return f;
}

RegKeyRecord Key(std::int32_t root, const std::string& path, const std::string& extra = "") {
    RegKeyRecord k;
    k.RootKey = root;
    k.KeyPath = path;
    k.ExtraText1 = extra;
    return k;
}

using Dirs = std::vector<std::string>;

TEST(DirectoryPlan, CompletesChainsBetweenListedDirectoriesOnlyAndGoesDeepestFirst) {
    const struct {
        const char* name;
        std::vector<FileRecord> files;
        Dirs expected;
    } cases[] = {
        {"levels between two listed dirs are added",
         {File("C:\\App\\Sub\\Deep\\a.txt"), File("C:\\App\\b.txt")},
         {"C:\\App\\Sub\\Deep\\", "C:\\App\\Sub\\", "C:\\App\\"}},
        {"nothing above the highest listed dir", {File("C:\\App\\Sub\\a.txt")}, {"C:\\App\\Sub\\"}},
        {"kept files and unexpanded placeholders contribute nothing",
         {File("C:\\App\\Keep\\k.txt", true), File("%windir%\\x\\y.txt"), File("C:\\App\\x.txt")},
         {"C:\\App\\"}},
        {"a file without a directory neither lists nor extends anything",
         {File("readme.txt"), File(""), File("C:\\App\\Sub\\a.txt")},
         {"C:\\App\\Sub\\"}},
        {"the comparison is exact: other case, no chain",
         {File("C:\\App\\Sub\\Deep\\a.txt"), File("c:\\app\\b.txt")},
         {"C:\\App\\Sub\\Deep\\", "c:\\app\\"}},
        {"a name that merely starts like a listed dir is no descendant",
         {File("C:\\Apple\\Sub\\a.txt"), File("C:\\App\\b.txt")},
         {"C:\\Apple\\Sub\\", "C:\\App\\"}},
        {"duplicates stay, and the chain is added once",
         {File("C:\\A\\B\\C\\1"), File("C:\\A\\B\\C\\2"), File("C:\\A\\3")},
         {"C:\\A\\B\\C\\", "C:\\A\\B\\C\\", "C:\\A\\B\\", "C:\\A\\"}},
        {"share paths chain like drive paths",
         {File("\\\\srv\\pub\\App\\x\\y\\f"), File("\\\\srv\\pub\\App\\g")},
         {"\\\\srv\\pub\\App\\x\\y\\", "\\\\srv\\pub\\App\\x\\", "\\\\srv\\pub\\App\\"}},
    };
    for (const auto& c : cases) EXPECT_EQ(DirectoryPlan_Make(c.files), c.expected) << c.name;
}

TEST(RegistryKeyPlan, CompletesChainsPerRootAndNeverNamesARoot) {
    const struct {
        const char* name;
        std::vector<RegKeyRecord> keys;
        std::vector<std::pair<std::int32_t, std::string>> expected;
    } cases[] = {
        {"a listed key and its listed ancestor get trailing backslashes",
         {Key(HKLM, "Software\\Firm\\App"), Key(HKLM, "Software\\Firm")},
         {{HKLM, "Software\\Firm\\App\\"}, {HKLM, "Software\\Firm\\"}}},
        {"levels between are added, nothing above",
         {Key(HKLM, "Software\\Firm\\App\\Deep\\Er"), Key(HKLM, "Software\\Firm\\")},
         {{HKLM, "Software\\Firm\\App\\Deep\\Er\\"}, {HKLM, "Software\\Firm\\App\\Deep\\"},
          {HKLM, "Software\\Firm\\App\\"}, {HKLM, "Software\\Firm\\"}}},
        {"another root's key is no ancestor",
         {Key(HKCU, "Software\\Firm\\App\\Deep"), Key(HKLM, "Software\\Firm")},
         {{HKCU, "Software\\Firm\\App\\Deep\\"}, {HKLM, "Software\\Firm\\"}}},
        {"the same path under two roots: both deleted",
         {Key(HKLM, "Software\\Firm"), Key(HKCU, "Software\\Firm")},
         {{HKLM, "Software\\Firm\\"}, {HKCU, "Software\\Firm\\"}}},
        {"empty and backslash-only paths are dropped and pull no chain up",
         {Key(HKLM, ""), Key(HKLM, "\\"), Key(HKLM, "\\\\"), Key(HKLM, "\\Software\\X\\Y")},
         {{HKLM, "\\Software\\X\\Y\\"}}},
    };
    for (const auto& c : cases) {
        auto plan = RegistryKeyPlan_Make(c.keys);
        std::vector<std::pair<std::int32_t, std::string>> got;
        for (const auto& k : plan) got.emplace_back(k.RootKey, k.KeyPath);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(RegistryKeyPlan, ListedKeysKeepTheirExtraTextsAndAddedLevelsHaveNone) {
    auto plan = RegistryKeyPlan_Make({Key(HKLM, "A\\B\\C", "listed deep"), Key(HKLM, "A", "listed top")});
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].ExtraText1, "listed deep");
    EXPECT_EQ(plan[1].KeyPath, "A\\B\\");
    EXPECT_EQ(plan[1].ExtraText1, "");
    EXPECT_EQ(plan[2].ExtraText1, "listed top");
}

TEST(DirectoryPlan, NeverGrowsBeyondTheWorkingListLimit) {
    // 20000 directories four levels below the one listed top directory: completing every chain
    // would need 60000 more entries. The sweep first gives each listed directory its parent,
    // in list order, and runs full before it comes back to the parents it added.
    std::vector<FileRecord> files;
    files.push_back(File("C:\\Top\\f"));
    for (int i = 1; i <= 20000; ++i) files.push_back(File("C:\\Top\\d" + std::to_string(i) + "\\e\\f\\g\\h"));
    auto plan = DirectoryPlan_Make(files);
    auto has = [&](const std::string& dir) { return std::find(plan.begin(), plan.end(), dir) != plan.end(); };
    EXPECT_EQ(plan.size(), RemovalPlan_MaxEntries);
    EXPECT_EQ(plan.back(), "C:\\Top\\");
    EXPECT_TRUE(has("C:\\Top\\d12766\\e\\f\\"));
    EXPECT_FALSE(has("C:\\Top\\d12767\\e\\f\\"));
    EXPECT_FALSE(has("C:\\Top\\d1\\e\\"));
}

}  // namespace
