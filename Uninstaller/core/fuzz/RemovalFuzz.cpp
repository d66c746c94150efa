// The removal's promise for the installation and data file the fuzzer's bytes describe: any
// failure is printed with the records and the run's log, then aborts.
#include "RemovalProperty.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PromiseCheck check = RemovalPromise_Check(data, size);
    if (check.Failures.empty()) return 0;
    for (const auto& line : check.Failures) std::fprintf(stderr, "%s\n", line.c_str());
    std::abort();
}
