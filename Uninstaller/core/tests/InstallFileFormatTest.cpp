// A damaged data file must be refused without reading past its end or keeping any record.
#include "InstallFileFormat.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using S = InstallFileStatus;

std::string Text(const std::string& s) { return Int32_ToBytes(static_cast<std::int32_t>(s.size())) + s; }
const std::string kMagic = "InstallFile";
const std::string kLink = "\x04" + Text("F") + Text("x") + Text("");

TEST(InstallFile, ReadsOnlyIntactFiles) {
    const std::string file = kMagic + "\x02" + Text("") + Text("C:\\a") + Int32_ToBytes(0);
    std::string full = kMagic;
    for (int i = 0; i < 32767; ++i) full += kLink;  // the most of one kind a reader takes
    const std::pair<std::string, S> cases[] = {
        {"", S::WrongMagic},
        {"InstallFil", S::WrongMagic},
        {"installfile" + kLink, S::WrongMagic},
        {file.substr(0, file.size() - 1), S::RecordCutShort},
        {kMagic + "\x03\x02", S::RecordCutShort},
        {kMagic + "\x04" + Int32_ToBytes(-1) + "abc", S::NegativeCount},
        {file.substr(0, file.size() - 6), S::CountBeyondData},
        {kMagic + "\x02" + Int32_ToBytes(INT32_MAX) + "x", S::CountBeyondData},
        {full + kLink, S::TooManyRecords},
        {full, S::Valid},
    };
    for (const auto& [bytes, status] : cases) {
        EntrySet set;
        set.Info.AppName = "untouched";
        set.Files.resize(1);
        InstallFileParse result = InstallFile_Parse(bytes, set);
        EXPECT_EQ(result.Status, status) << bytes.size();
        EXPECT_LE(result.Offset, bytes.size());
        EXPECT_TRUE(set.Info.AppName == "untouched" && set.Files.empty());
        EXPECT_EQ(set.Shortcuts.size(), status == S::Valid ? 32767u : 0u);
    }
}

TEST(InstallFile, WritesTheLayoutInstallersWriteAndReadsItBack) {
    EntrySet set, back;
    set.Info = {"%windir%\\", "App", "", "G"};
    set.Files = {{"", "C:\\x y.txt", BooleanTrue}, {"", "\xE4.txt", BooleanFalse}};
    set.RegKeys = {{static_cast<std::int32_t>(0x80000002u), "Software\\Firm", "e1", ""}};
    set.Shortcuts = {{"G", "App", ""}};
    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
    EXPECT_EQ(bytes, kMagic + "\r\n\x01" + Text("%windir%\\") + Text("App") + Text("") + Text("G") + "\x02" + Text("") +
                         Text("C:\\x y.txt") + Int32_ToBytes(-1) + "\x02" + Text("") + Text("\xE4.txt") + Int32_ToBytes(0) +
                         "\x03" + Int32_ToBytes(static_cast<std::int32_t>(0x80000002u)) + Text("Software\\Firm") +
                         Text("e1") + Text("") + "\x04" + Text("G") + Text("App") + Text(""));
    ASSERT_EQ(InstallFile_Parse(bytes, back).Status, S::Valid);
    EXPECT_TRUE(back == set);
    set.Files.resize(32768);
    EXPECT_FALSE(InstallFile_ToBytes(set, bytes));
}

}  // namespace
