// The real Uninstall.exe with a missing, hidden, damaged or unreadable data file: one message,
// nothing asked, nothing removed, and the program ends.
#include "E2eFixture.h"
#include "Handles.h"
#include "InstallFileFormat.h"

using namespace wintest;

namespace {

class BadData : public UninstallE2e {
protected:
    BadData() : UninstallE2e("e2e-bad-data") {}

    // A listing whose file and key must survive, ending with a shortcut record so that a cut
    // at the end leaves the earlier records whole.
    std::string ValidBytes() {
        Directory_Create(Tree() + "Listed");
        File_Write(Tree() + "Listed\\f.txt", "x");
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, Key() + "\\Listed", "v", REG_SZ, "x");
        EntrySet set;
        set.Info = {"", "Damaged App", "", ""};
        set.Files = {E2eFile(Tree() + "Listed\\f.txt")};
        set.RegKeys = {{E2eHKLM, Key() + "\\Listed", "", ""}};
        set.Shortcuts = {{"Group", "Link", ""}};
        std::string bytes;
        EXPECT_TRUE(InstallFile_ToBytes(set, bytes));
        return bytes;
    }

    // Runs the copy, expects exactly one exclamation box with text, answers it, and checks that
    // the program then ends and that nothing was removed.
    void ExpectOneMessageAndNothingRemoved(const std::string& text, bool windowShown) {
        Process p = Start();
        HWND box = MessageBox_WaitFor(p.Id(), 15000);
        ASSERT_NE(box, nullptr) << text;
        Sleep(100);
        MessageBoxInfo info = MessageBox_Read(box);
        EXPECT_EQ(info.text, text);
        EXPECT_EQ(info.caption, "Uninstall");
        EXPECT_STREQ(BoxIcon_Name(info.icon), "exclamation");
        EXPECT_EQ(info.buttons, std::vector<std::string>{"OK"});
        HWND main = MainWindow(p.Id());
        EXPECT_EQ(main != nullptr && IsWindowVisible(main), windowShown) << text;
        MessageBox_Press(box, "OK");
        ExpectEndsQuietly(p);
        EXPECT_TRUE(File_Exists(Tree() + "Listed\\f.txt")) << text;
        EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key() + "\\Listed")) << text;
        ExpectSentinelsIntact();
    }
};

const char* const kMissing =
    "Sorry, uninstallling is not possible as 'Uninstall.dat' was not found in the current directory. Try to "
    "reinstall the target application and then start uninstall again.";

TEST_F(BadData, MissingDataFileIsReportedBeforeAnyWindowShows) {
    ValidBytes();
    ExpectOneMessageAndNothingRemoved(kMissing, false);
}

TEST_F(BadData, AHiddenDataFileCountsAsMissing) {
    File_Write(DataFile(), ValidBytes());
    File_SetAttributes(DataFile(), FILE_ATTRIBUTE_HIDDEN);
    ExpectOneMessageAndNothingRemoved(kMissing, false);
    EXPECT_TRUE(File_Exists(DataFile()));
}

TEST_F(BadData, AnInvalidDataFileEndsTheRunAfterItsMessage) {
    const std::string valid = ValidBytes();
    std::string negative = valid;
    negative.replace(negative.size() - 4, 4, Int32_ToBytes(-5));  // the last text's count
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"magic in other case", "installfile" + valid.substr(11)},
        {"cut inside the last record", valid.substr(0, valid.size() - 2)},
        {"negative byte count", negative},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        File_Write(DataFile(), c.bytes);
        ExpectOneMessageAndNothingRemoved("Error: the file '" + DataFile() + "' is no valid InstallFile !", true);
    }
}

TEST_F(BadData, AnUnreadableDataFileEndsTheRunAfterItsMessage) {
    File_Write(DataFile(), ValidBytes());
    // Held open with no sharing, as an installer still writing it would.
    UniqueFile lock(CreateFileA(DataFile().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    ExpectOneMessageAndNothingRemoved("Error: the file '" + DataFile() + "' could not be read !", true);
}

}  // namespace
