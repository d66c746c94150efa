// Random installations on a MemoryDisk and random data files for them, run through the whole
// removal, and the promise checked afterwards from what the generator knows about the tree:
// nothing goes that the data file does not own, kept files stay, listed files go or the run
// says so, and a run cut short anywhere leaves the data file for a second run. Shared by the
// native test (many seeds) and the fuzz target (bytes from the fuzzer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every random choice of a scenario comes from these bytes; past their end every choice is 0.
class ByteSource {
public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    unsigned Below(unsigned n);
    bool OneIn(unsigned n) { return Below(n) == 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// What the removal promises where it is still being mended; a mend that lands turns its switch
// on and the property test holds the run to the stricter promise.
struct PromiseRules {
    // A search also matches short 8.3 names ("*.htm" finds page.html).
    bool PatternsMatchShortNames = false;
    // A kept file stays even where another record lists it or a pattern matches it.
    bool KeepWinsOverListed = true;
    // Kept files, the data file and the application's file are written under any name of their
    // folder (short names, another drive letter, a link), not only the one the tree was made with.
    bool AnySpellingForKeptAndDataFile = true;
    // A listed hidden or system file goes, or the outcome says it stayed.
    bool ListedHiddenFilesGo = true;
};

struct PromiseCheck {
    std::vector<std::string> Failures;  // what broke the promise, then what explains it; none
    std::size_t Runs = 0;               // uninstall runs made
    // What the scenario put to the test, so that a generator that no longer reaches a case
    // is noticed: the application folder's unlisted files wiped, a kept file that stayed
    // through the wipe, a listed file that stayed, a second run that had work left.
    bool Wiped = false, KeptThroughWipe = false, FileStayed = false, SecondRunFinished = false;
};

// Runs the scenario that bytes describe, whole and cut short after up to maxCuts numbers of
// disk calls spread over the run (each followed by a second run).
PromiseCheck RemovalPromise_Check(const std::uint8_t* data, std::size_t size, const PromiseRules& rules = PromiseRules(),
                                  std::size_t maxCuts = 8);
