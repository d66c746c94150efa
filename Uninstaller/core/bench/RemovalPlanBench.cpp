// Cost of planning the directory and registry passes for data files with deep shared chains,
// beside the literal sweep on small ones.
#include "LiteralSweep.h"

#include <benchmark/benchmark.h>

namespace {

// n files, four to a folder, five unlisted levels below one listed top folder; n keys shaped
// the same way under two roots.
void MakeInput(int n, std::vector<FileRecord>& files, std::vector<RegKeyRecord>& keys) {
    files = {{"", "C:\\Firm\\readme.txt", BooleanFalse}};
    const auto hkcu = static_cast<std::int32_t>(0x80000001u);
    keys = {{hkcu, "Software\\Firm", "", ""}, {hkcu + 1, "Software\\Firm", "", ""}};
    for (int i = 1; static_cast<int>(keys.size()) < n; ++i) {
        const int d = i / 4;
        const std::string levels = "a" + std::to_string(d % 8) + "\\b" + std::to_string(d / 8 % 8) + "\\c" +
                                   std::to_string(d / 64 % 8) + "\\d" + std::to_string(d / 512) + "\\";
        files.push_back({"", "C:\\Firm\\" + levels + "f" + std::to_string(i), BooleanFalse});
        keys.push_back({hkcu + i % 2, "Software\\Firm\\" + levels + "k" + std::to_string(i), "", ""});
    }
}

template <bool Literal>
void BM_Plans(benchmark::State& state) {
    std::vector<FileRecord> files;
    std::vector<RegKeyRecord> keys;
    MakeInput(static_cast<int>(state.range(0)), files, keys);
    for (auto _ : state) {
        if (Literal) {
            benchmark::DoNotOptimize(LiteralSweep_DirectoryPlan(files).size() + LiteralSweep_RegistryKeyPlan(keys).size());
        } else {
            benchmark::DoNotOptimize(DirectoryPlan_Make(files).size() + RegistryKeyPlan_Make(keys).size());
        }
    }
}
BENCHMARK_TEMPLATE(BM_Plans, false)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Plans, true)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

// At 32767 files the list is full before any level can be added, so the series above stops
// completing there. Here completion does all its work: a listed top folder and the leaves of a
// binary tree below it, every inner level missing, n entries in the end.
void BM_ChainsCompleteFully(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    int depth = 0;
    while ((2 << depth) - 1 <= n) ++depth;
    std::vector<ChainEntry> start{{0, "C:\\Top\\"}};
    for (int leaf = 0; leaf < 1 << (depth - 1); ++leaf) {
        std::string path = "C:\\Top\\";
        for (int level = depth - 2; level >= 0; --level) path += (leaf >> level & 1) ? "r\\" : "l\\";
        start.push_back({0, path});
    }
    for (auto _ : state) {
        std::vector<ChainEntry> list = start;
        Chains_Complete(list);
        Chains_OrderDeepestFirst(list);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_ChainsCompleteFully)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
