// The text form must carry every data file exactly: blanks, empty texts, "|", line ends, any
// byte and any root key.
#include "InstallFileFormat.h"
#include "InstallFileText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(InstallFileText, AnyDataFileSurvivesTheText) {
    std::mt19937 rng(7);
    auto text = [&] {
        std::string s(static_cast<std::size_t>(rng() % 6), '\0');
        for (auto& c : s) c = static_cast<char>(rng() % 256);
        return s;
    };
    for (int round = 0; round < 500; ++round) {
        EntrySet set, back;
        set.Info = {text(), text(), text(), text()};
        for (unsigned i = rng() % 4; i > 0; --i) set.Files.push_back({text(), text(), rng() % 2 ? BooleanTrue : BooleanFalse});
        for (unsigned i = rng() % 4; i > 0; --i) set.RegKeys.push_back({static_cast<std::int32_t>(rng()), text(), text(), text()});
        for (unsigned i = rng() % 4; i > 0; --i) set.Shortcuts.push_back({text(), text(), text()});
        std::string error;
        ASSERT_TRUE(InstallFileText_Parse(InstallFileText_Print(set), back, error)) << error;
        ASSERT_TRUE(back == set) << "round " << round;
    }
}

}  // namespace
