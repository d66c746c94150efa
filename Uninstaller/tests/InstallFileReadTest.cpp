// Reading Uninstall.dat from disk: each way it can fail is told to the user, and the content
// of a file that failed is never used.
#include "InstallFile.h"
#include "InstallFileFormat.h"
#include "WinTest.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

EntrySet Sample() {
    EntrySet set;
    set.Info = {"", "Sample App", "C:\\Sample\\app.exe", "Sample"};
    set.Files.push_back({"", "C:\\Sample\\app.exe", BooleanFalse});
    set.RegKeys.push_back({static_cast<std::int32_t>(0x80000002u), "Software\\Sample", "", ""});
    return set;
}

TEST(DataFileOnDisk, WrittenFileReadsBackUnchanged) {
    ScratchDir dir("datafile-roundtrip");
    const std::string path = dir.Path() + "Uninstall.dat";
    ASSERT_TRUE(InstallFile_Write(nullptr, path, Sample()));
    EntrySet back;
    BoxAnswerer none({"OK"}, 1000);
    EXPECT_EQ(InstallFile_Read(nullptr, path, back), InstallFileRead::Read);
    EXPECT_TRUE(none.Boxes().empty());
    EXPECT_TRUE(back == Sample());
}

// Damaged and unreadable files are covered end to end; a missing one only reaches the reader
// when the run's own check has passed, so its internal-error text is checked here.
TEST(DataFileOnDisk, AMissingFileIsToldAsAnInternalError) {
    ScratchDir dir("datafile-missing");
    const std::string d = dir.Path();
    File_Write(d + "hidden.dat", "InstallFile");
    File_SetAttributes(d + "hidden.dat", FILE_ATTRIBUTE_HIDDEN);
    for (const std::string& path : {d + "absent.dat", d + "hidden.dat", d, std::string()}) {
        EntrySet set;
        set.Files.resize(2);
        BoxAnswerer answerer({"OK"});
        EXPECT_EQ(InstallFile_Read(nullptr, path, set), InstallFileRead::Missing) << path;
        const auto& boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << path;
        EXPECT_EQ(boxes[0].text, "internal error in InstallFile_Read(): file '" + path + "' not found !");
        EXPECT_EQ(boxes[0].caption, "Uninstall");
        EXPECT_STREQ(BoxIcon_Name(boxes[0].icon), "exclamation");
        EXPECT_EQ(set.Files.size(), 2u) << "untouched";
    }
}

TEST(DataFileOnDisk, WritingWithoutAPathIsToldAsAnInternalError) {
    BoxAnswerer answerer({"OK"});
    EXPECT_FALSE(InstallFile_Write(nullptr, "", Sample()));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    // The missing apostrophe after the path is part of the message as installers know it.
    EXPECT_EQ(answerer.Boxes()[0].text, "internal error in InstallFile_Write(): file ' not found !");
    EXPECT_EQ(answerer.Boxes()[0].caption, "Uninstall");
}

}  // namespace
