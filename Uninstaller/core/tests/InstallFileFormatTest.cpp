// The data file's bytes: what installers wrote must read back, and a damaged file must be
// refused without reading past its end or trusting any count.
#include "InstallFileFormat.h"

#include <gtest/gtest.h>

namespace {

using Status = InstallFileStatus;

std::string I32(std::int32_t v) { return Int32_ToBytes(v); }
std::string Text(const std::string& s) { return I32(static_cast<std::int32_t>(s.size())) + s; }
std::string Kind(int k) { return std::string(1, static_cast<char>(k)); }

const std::string kMagic = "InstallFile";

std::string InfoBytes(const std::string& app) { return Kind(1) + Text("x") + Text(app) + Text("C:\\A\\a.exe") + Text("G"); }
std::string FileBytes(const std::string& path, std::int32_t keep) { return Kind(2) + Text("") + Text(path) + I32(keep); }
std::string KeyBytes(std::int32_t root, const std::string& path) { return Kind(3) + I32(root) + Text(path) + Text("") + Text(""); }
std::string LinkBytes(const std::string& name) { return Kind(4) + Text("F") + Text(name) + Text(""); }

TEST(Int32Bytes, AreLittleEndianTwosComplement) {
    const struct {
        std::int32_t value;
        std::string bytes;
    } cases[] = {
        {0, std::string(4, '\0')},
        {1, std::string("\x01\0\0\0", 4)},
        {-1, "\xFF\xFF\xFF\xFF"},
        {static_cast<std::int32_t>(0x80000002u), std::string("\x02\0\0\x80", 4)},
        {0x12345678, "\x78\x56\x34\x12"},
        {INT32_MIN, std::string("\0\0\0\x80", 4)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Int32_ToBytes(c.value), c.bytes) << c.value;
        EXPECT_EQ(Bytes_ToInt32(c.bytes), c.value) << c.value;
        EXPECT_EQ(Bytes_ToInt32(c.bytes + "trailing"), c.value) << "only the first four bytes count";
    }
}

TEST(InstallFileReading, AcceptsWhatInstallersWrite) {
    EntrySet set;
    set.Info.AppName = "before";
    // Line end after the magic, stray bytes between records, records of mixed kinds.
    std::string bytes = kMagic + "\r\n" + KeyBytes(7, "K1") + FileBytes("C:\\a", 0) + "\x05\x00\xff" +
                        InfoBytes("First") + LinkBytes("L1") + FileBytes("C:\\b", 1) + FileBytes("C:\\c", -1) +
                        FileBytes("C:\\d", 65536) + InfoBytes("Second") + KeyBytes(static_cast<std::int32_t>(0x80000002u), "") +
                        Kind(2) + Text("") + Text("") + I32(0);
    ASSERT_EQ(InstallFile_Parse(bytes, set).Status, Status::Valid);
    EXPECT_EQ(set.Info.AppName, "Second");
    ASSERT_EQ(set.Files.size(), 5u);
    EXPECT_EQ(set.Files[0].FilePath, "C:\\a");
    EXPECT_EQ(set.Files[0].Keep, BooleanFalse);
    EXPECT_EQ(set.Files[1].Keep, BooleanTrue);
    EXPECT_EQ(set.Files[2].Keep, BooleanTrue);
    EXPECT_EQ(set.Files[3].Keep, BooleanTrue);
    EXPECT_EQ(set.Files[4].FilePath, "");
    ASSERT_EQ(set.RegKeys.size(), 2u);
    EXPECT_EQ(set.RegKeys[0].RootKey, 7);
    EXPECT_EQ(set.RegKeys[1].RootKey, static_cast<std::int32_t>(0x80000002u));
    EXPECT_EQ(set.RegKeys[1].KeyPath, "");
    ASSERT_EQ(set.Shortcuts.size(), 1u);
    EXPECT_EQ(set.Shortcuts[0].LinkName, "L1");
}

TEST(InstallFileReading, MagicAloneEmptiesTheListsAndKeepsTheInfo) {
    EntrySet set;
    set.Info.AppName = "kept";
    set.Files.resize(3);
    set.RegKeys.resize(2);
    set.Shortcuts.resize(1);
    ASSERT_EQ(InstallFile_Parse(kMagic, set).Status, Status::Valid);
    EXPECT_EQ(set.Info.AppName, "kept");
    EXPECT_TRUE(set.Files.empty() && set.RegKeys.empty() && set.Shortcuts.empty());
}

TEST(InstallFileReading, RefusesDamagedFilesAndKeepsNothingOfThem) {
    const std::string full = kMagic + InfoBytes("App") + FileBytes("C:\\a", 0);
    const struct {
        const char* name;
        std::string bytes;
        Status status;
    } cases[] = {
        {"empty file", "", Status::WrongMagic},
        {"ten bytes of the magic", "InstallFil", Status::WrongMagic},
        {"magic in other case", "installfile" + FileBytes("C:\\a", 0), Status::WrongMagic},
        {"something else entirely", "MZ\x90\x00 not a data file at all", Status::WrongMagic},
        {"cut inside a text's count", full.substr(0, full.size() - 10), Status::RecordCutShort},
        {"cut inside a text", full.substr(0, full.size() - 6), Status::CountBeyondData},
        {"cut inside the Keep field", full.substr(0, full.size() - 1), Status::RecordCutShort},
        {"a kind code and nothing after it", kMagic + Kind(3), Status::RecordCutShort},
        {"a root key cut short", kMagic + Kind(3) + "\x02\x00", Status::RecordCutShort},
        {"negative count", kMagic + Kind(4) + I32(-1) + "abc", Status::NegativeCount},
        {"most negative count", kMagic + Kind(1) + I32(INT32_MIN), Status::NegativeCount},
        {"count one beyond the data", kMagic + Kind(4) + Text("F") + I32(3) + "ab", Status::CountBeyondData},
        {"count that would wrap a 32-bit offset", kMagic + Kind(2) + I32(INT32_MAX) + "x", Status::CountBeyondData},
    };
    for (const auto& c : cases) {
        EntrySet set;
        set.Info.AppName = "untouched";
        set.Files.resize(1);
        InstallFileParse result = InstallFile_Parse(c.bytes, set);
        EXPECT_EQ(result.Status, c.status) << c.name;
        EXPECT_LE(result.Offset, c.bytes.size()) << c.name;
        EXPECT_EQ(set.Info.AppName, "untouched") << c.name;
        EXPECT_TRUE(set.Files.empty()) << c.name;
    }
}

TEST(InstallFileReading, RefusesMoreThan32767RecordsOfOneKind) {
    std::string link = LinkBytes("x");
    std::string bytes = kMagic;
    for (int i = 0; i < 32767; ++i) bytes += link;
    EntrySet set;
    ASSERT_EQ(InstallFile_Parse(bytes, set).Status, Status::Valid);
    EXPECT_EQ(set.Shortcuts.size(), 32767u);
    // 32767 of every kind together is still fine: the limit is per list.
    std::string mixed = bytes;
    for (int i = 0; i < 32767; ++i) mixed += FileBytes("f", 0);
    ASSERT_EQ(InstallFile_Parse(mixed, set).Status, Status::Valid);

    InstallFileParse over = InstallFile_Parse(bytes + link, set);
    EXPECT_EQ(over.Status, Status::TooManyRecords);
    EXPECT_EQ(over.Offset, bytes.size());
    EXPECT_TRUE(set.Shortcuts.empty());
}

TEST(InstallFileWriting, LaysOutRecordsInKindOrderAndReadsBack) {
    EntrySet set;
    set.Info = {"%windir%\\", "My App", "%currentdir%\\app.exe", "My Group"};
    set.Shortcuts.push_back({"My Group", "App", ""});
    set.RegKeys.push_back({static_cast<std::int32_t>(0x80000002u), "Software\\Firm", "e1", ""});
    set.Files.push_back({"", "C:\\A\\x y.txt", BooleanTrue});
    set.Files.push_back({"", "\xE4\xF6\xFC.txt", BooleanFalse});

    std::string bytes;
    ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
    std::string expected = kMagic + "\r\n" + Kind(1) + Text("%windir%\\") + Text("My App") +
                           Text("%currentdir%\\app.exe") + Text("My Group") + Kind(2) + Text("") +
                           Text("C:\\A\\x y.txt") + "\xFF\xFF\xFF\xFF" + Kind(2) + Text("") +
                           Text("\xE4\xF6\xFC.txt") + I32(0) + Kind(3) + std::string("\x02\0\0\x80", 4) +
                           Text("Software\\Firm") + Text("e1") + Text("") + Kind(4) + Text("My Group") +
                           Text("App") + Text("");
    EXPECT_EQ(bytes, expected);

    EntrySet back;
    ASSERT_EQ(InstallFile_Parse(bytes, back).Status, Status::Valid);
    EXPECT_TRUE(back == set);
}

TEST(InstallFileWriting, RefusesWhatNoReaderWouldAccept) {
    EntrySet set;
    set.Files.resize(32768);
    std::string out = "unchanged";
    EXPECT_FALSE(InstallFile_ToBytes(set, out));
    EXPECT_EQ(out, "unchanged");
    set.Files.resize(32767);
    EXPECT_TRUE(InstallFile_ToBytes(set, out));
}

}  // namespace
