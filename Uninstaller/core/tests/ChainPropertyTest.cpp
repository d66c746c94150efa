// The fast plans against the literal sweep over thousands of random small inputs: shared
// prefixes, duplicates, two roots, case differences, paths naming no directory or a root key.
#include "LiteralSweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

using Tuples = std::vector<std::tuple<std::int32_t, std::string>>;
Tuples AsTuples(const std::vector<ChainEntry>& list, bool sorted) {
    Tuples out;
    for (const auto& e : list) out.emplace_back(e.Root, e.Path);
    if (sorted) std::sort(out.begin(), out.end());
    return out;
}

TEST(ChainCompletion, FastPlansMatchTheLiteralSweep) {
    static const char* const names[] = {"a", "b", "A", "ab", "a b"};
    static const char* const starts[] = {"C:\\", "c:\\", "D:\\", "\\\\srv\\sh\\", "", "%windir%\\", "\\"};
    static const char* const keyStarts[] = {"", "\\", "S\\", "S\\"};
    auto deeper = [](const ChainEntry& a, const ChainEntry& b) { return a.Path.size() > b.Path.size(); };
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 rng(seed);
        auto below = [&](unsigned n) { return static_cast<int>(rng() % n); };
        auto levels = [&](unsigned maxDepth) {
            std::string out;
            for (int i = below(maxDepth + 1); i > 0; --i) out += std::string(names[below(5)]) + "\\";
            return out;
        };
        std::vector<FileRecord> files(static_cast<std::size_t>(1 + below(24)));
        for (auto& f : files) f = {"", starts[below(7)] + levels(5) + (below(4) ? "f" : ""), below(7) ? BooleanFalse : BooleanTrue};
        std::vector<RegKeyRecord> keys(static_cast<std::size_t>(1 + below(24)));
        for (auto& k : keys) {
            k = {static_cast<std::int32_t>(0x80000001u + below(2)), keyStarts[below(4)] + levels(5), "x", ""};
            if (!k.KeyPath.empty() && below(2)) k.KeyPath.pop_back();
        }
        std::vector<ChainEntry> dirs, regs;
        for (const auto& d : DirectoryPlan_Make(files)) dirs.push_back({0, d});
        for (const auto& k : RegistryKeyPlan_Make(keys)) regs.push_back({k.RootKey, k.KeyPath});
        ASSERT_EQ(AsTuples(dirs, true), AsTuples(LiteralSweep_DirectoryPlan(files), true)) << "seed " << seed;
        ASSERT_EQ(AsTuples(regs, true), AsTuples(LiteralSweep_RegistryKeyPlan(keys), true)) << "seed " << seed;
        ASSERT_TRUE(std::is_sorted(dirs.begin(), dirs.end(), deeper) && std::is_sorted(regs.begin(), regs.end(), deeper)) << seed;

        // At the limit, which parents make it in depends on the order of the appends.
        std::vector<ChainEntry> fast;
        for (int i = below(16); i >= 0; --i) fast.push_back({below(2), "C:\\" + levels(6)});
        std::vector<ChainEntry> literal = fast;
        const std::size_t limit = fast.size() + static_cast<std::size_t>(below(6));
        Chains_Complete(fast, limit);
        LiteralSweep_Complete(literal, limit);
        ASSERT_EQ(AsTuples(fast, false), AsTuples(literal, false)) << "seed " << seed;
    }
}

}  // namespace
