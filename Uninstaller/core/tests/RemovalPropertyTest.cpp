// The removal's promise over thousands of random installations and data files, each run whole
// and cut short at several places, then run again.
#include "RemovalProperty.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Under the sanitizers a run costs some fifty times more: fewer seeds there, the fuzz target
// goes further.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VEMBROL_SLOW_BUILD 1
#endif
#endif
#ifdef VEMBROL_SLOW_BUILD
constexpr unsigned kSeeds = 400;
#else
constexpr unsigned kSeeds = 2000;
#endif

TEST(RemovalPromise, HoldsForRandomInstallationsAndDataFiles) {
    std::size_t runs = 0;
    unsigned wiped = 0, keptThroughWipe = 0, stayed = 0, secondRuns = 0;
    // One failure, fully explained, is enough: the rest would mostly repeat it.
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> bytes(512);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
        const PromiseCheck check = RemovalPromise_Check(bytes.data(), bytes.size());
        runs += check.Runs;
        wiped += check.Wiped;
        keptThroughWipe += check.KeptThroughWipe;
        stayed += check.FileStayed;
        secondRuns += check.SecondRunFinished;
        if (check.Failures.empty()) continue;
        std::string all;
        for (const auto& f : check.Failures) all += "\n" + f;
        FAIL() << "seed " << seed << ", after " << runs << " runs:" << all;
    }
    RecordProperty("runs", static_cast<int>(runs));
    // A promise checked only on runs that touch nothing proves nothing: each case the oracle
    // must judge comes up in a fair share of the scenarios.
    EXPECT_GT(runs, kSeeds * 8u) << "most scenarios should be cut short several times";
    for (unsigned count : {wiped, keptThroughWipe, stayed, secondRuns}) EXPECT_GT(count, kSeeds / 20) << count;
    RecordProperty("wiped", static_cast<int>(wiped));
    RecordProperty("kept_through_wipe", static_cast<int>(keptThroughWipe));
    RecordProperty("stayed", static_cast<int>(stayed));
    RecordProperty("second_runs", static_cast<int>(secondRuns));
}

}  // namespace
