// Cost of planning the directory and registry passes for large data files with deep shared
// chains, and of the literal sweep on small ones for comparison.
#include "LiteralSweep.h"
#include "RemovalPlan.h"

#include <benchmark/benchmark.h>

namespace {

// n files, four to a directory, five levels below one listed top directory whose
// intermediate levels are not listed; n keys shaped the same way under two roots.
struct Input {
    std::vector<FileRecord> files;
    std::vector<RegKeyRecord> keys;
};

std::string Levels(int d) {
    return "a" + std::to_string(d % 8) + "\\b" + std::to_string(d / 8 % 8) + "\\c" + std::to_string(d / 64 % 8) +
           "\\d" + std::to_string(d / 512 % 8) + "\\e" + std::to_string(d / 4096) + "\\";
}

Input MakeInput(int n) {
    Input in;
    in.files.push_back({"", "C:\\Program Files\\Firm\\readme.txt", BooleanFalse});
    in.keys.push_back({static_cast<std::int32_t>(0x80000002u), "Software\\Firm", "", ""});
    in.keys.push_back({static_cast<std::int32_t>(0x80000001u), "Software\\Firm", "", ""});
    for (int i = 1; static_cast<int>(in.files.size()) < n; ++i)
        in.files.push_back({"", "C:\\Program Files\\Firm\\" + Levels(i / 4) + "f" + std::to_string(i) + ".dat", BooleanFalse});
    for (int i = 1; static_cast<int>(in.keys.size()) < n; ++i) {
        auto root = static_cast<std::int32_t>(i % 2 ? 0x80000002u : 0x80000001u);
        in.keys.push_back({root, "Software\\Firm\\" + Levels(i / 4) + "k" + std::to_string(i), "", ""});
    }
    return in;
}

void BM_Plans(benchmark::State& state) {
    Input in = MakeInput(static_cast<int>(state.range(0)));
    std::size_t planned = 0;
    for (auto _ : state) {
        auto dirs = DirectoryPlan_Make(in.files);
        auto keys = RegistryKeyPlan_Make(in.keys);
        planned = dirs.size() + keys.size();
        benchmark::DoNotOptimize(dirs.data());
        benchmark::DoNotOptimize(keys.data());
    }
    state.counters["planned_entries"] = static_cast<double>(planned);
}
BENCHMARK(BM_Plans)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);

// With 32767 files the working list is full before any level can be added, so the series above
// stops completing at once there. Here the completion does all its work: a listed top folder
// and the leaves of a binary tree below it, every inner level missing, n entries in the end.
std::vector<ChainEntry> BinaryTree(int n) {
    int depth = 0;
    while ((2 << depth) - 1 <= n) ++depth;  // 2^depth - 1 folders: top, inner levels, leaves
    std::vector<ChainEntry> list{{0, "C:\\Top\\"}};
    const int leaves = 1 << (depth - 1);
    for (int leaf = 0; leaf < leaves; ++leaf) {
        std::string path = "C:\\Top\\";
        for (int level = depth - 2; level >= 0; --level) path += (leaf >> level & 1) ? "r\\" : "l\\";
        list.push_back({0, path});
    }
    return list;
}

void BM_ChainsCompleteFully(benchmark::State& state) {
    const std::vector<ChainEntry> start = BinaryTree(static_cast<int>(state.range(0)));
    std::size_t entries = 0;
    for (auto _ : state) {
        std::vector<ChainEntry> list = start;
        Chains_Complete(list);
        Chains_OrderDeepestFirst(list);
        entries = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["listed"] = static_cast<double>(start.size());
    state.counters["planned_entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ChainsCompleteFully)->Arg(4096)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_LiteralSweep(benchmark::State& state) {
    Input in = MakeInput(static_cast<int>(state.range(0)));
    std::size_t planned = 0;
    for (auto _ : state) {
        auto dirs = LiteralSweep_DirectoryPlan(in.files);
        auto keys = LiteralSweep_RegistryKeyPlan(in.keys);
        planned = dirs.size() + keys.size();
        benchmark::DoNotOptimize(dirs.data());
        benchmark::DoNotOptimize(keys.data());
    }
    state.counters["planned_entries"] = static_cast<double>(planned);
}
BENCHMARK(BM_LiteralSweep)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
