// The fast plans against the literal sweep over thousands of random small inputs: shared
// prefixes, duplicates, two roots, case differences, paths naming no directory or a root key.
#include "LiteralSweep.h"
#include "RemovalPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Levels(int maxDepth) {
        static const char* const names[] = {"a", "b", "A", "ab", "a b"};
        std::string out;
        int depth = Below(maxDepth + 1);
        for (int i = 0; i < depth; ++i) out += std::string(names[Below(5)]) + "\\";
        return out;
    }

    FileRecord File() {
        static const char* const starts[] = {"C:\\", "c:\\", "D:\\", "\\\\srv\\sh\\", "", "%windir%\\", "\\"};
        FileRecord f;
        f.FilePath = std::string(starts[Below(7)]) + Levels(5) + (Below(4) ? "f.txt" : "");
        f.Keep = Below(7) == 0 ? BooleanTrue : BooleanFalse;
        return f;
    }

    RegKeyRecord Key() {
        RegKeyRecord k;
        k.RootKey = Below(2) ? static_cast<std::int32_t>(0x80000002u) : static_cast<std::int32_t>(0x80000001u);
        switch (Below(10)) {
            case 0: k.KeyPath = ""; break;
            case 1: k.KeyPath = "\\"; break;
            case 2: k.KeyPath = "\\" + Levels(4); break;
            default: k.KeyPath = "S\\" + Levels(5); break;
        }
        if (!k.KeyPath.empty() && Below(2)) k.KeyPath.pop_back();  // with and without trailing "\"
        k.ExtraText1 = "x";
        return k;
    }

private:
    std::mt19937 rng_;
};

template <typename T>
std::vector<T> Sorted(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<std::tuple<std::int32_t, std::string>> Keys(const std::vector<RegKeyRecord>& plan) {
    std::vector<std::tuple<std::int32_t, std::string>> out;
    for (const auto& k : plan) out.emplace_back(k.RootKey, k.KeyPath);
    return out;
}

template <typename T, typename Length>
bool DeepestFirst(const std::vector<T>& plan, Length length) {
    for (std::size_t i = 1; i < plan.size(); ++i)
        if (length(plan[i - 1]) < length(plan[i])) return false;
    return true;
}

TEST(ChainCompletion, DirectoryPlanMatchesTheLiteralSweep) {
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Generator g(seed);
        std::vector<FileRecord> files(static_cast<std::size_t>(1 + g.Below(24)));
        for (auto& f : files) f = g.File();
        auto fast = DirectoryPlan_Make(files);
        auto literal = LiteralSweep_DirectoryPlan(files);
        ASSERT_EQ(Sorted(fast), Sorted(literal)) << "seed " << seed;
        ASSERT_TRUE(DeepestFirst(fast, [](const std::string& d) { return d.size(); })) << "seed " << seed;
    }
}

TEST(ChainCompletion, RegistryPlanMatchesTheLiteralSweep) {
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Generator g(seed);
        std::vector<RegKeyRecord> keys(static_cast<std::size_t>(1 + g.Below(24)));
        for (auto& k : keys) k = g.Key();
        auto fast = RegistryKeyPlan_Make(keys);
        auto literal = LiteralSweep_RegistryKeyPlan(keys);
        ASSERT_EQ(Sorted(Keys(fast)), Sorted(Keys(literal))) << "seed " << seed;
        ASSERT_TRUE(DeepestFirst(fast, [](const RegKeyRecord& k) { return k.KeyPath.size(); })) << "seed " << seed;
    }
}

// Below the limit the set is all that matters; at the limit, which parents made it in depends
// on the order of the appends, so there the lists must agree entry by entry.
TEST(ChainCompletion, AppendsInTheLiteralOrderUpToTheLimit) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        Generator g(seed);
        std::vector<ChainEntry> list;
        int n = 1 + g.Below(16);
        for (int i = 0; i < n; ++i) {
            std::string dir = "C:\\" + g.Levels(6);
            list.push_back({g.Below(2), dir});
        }
        std::size_t limit = list.size() + static_cast<std::size_t>(g.Below(6));
        auto fast = list;
        auto literal = list;
        Chains_Complete(fast, limit);
        LiteralSweep_Complete(literal, limit);
        ASSERT_EQ(fast.size(), literal.size()) << "seed " << seed;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            ASSERT_EQ(fast[i].Root, literal[i].Root) << "seed " << seed << " entry " << i;
            ASSERT_EQ(fast[i].Path, literal[i].Path) << "seed " << seed << " entry " << i;
        }
    }
}

}  // namespace
