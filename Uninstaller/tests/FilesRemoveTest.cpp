// The file pass on a real disk: what it deletes, what it never touches, and the Retry/Cancel
// dialog for a file that stays.
#include "RemovalPasses.h"
#include "UninstallTexts.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <thread>

using namespace wintest;

namespace {

FileRecord Listed(const std::string& path, bool keep = false) {
    return {"", path, keep ? BooleanTrue : BooleanFalse};
}

TEST(FilesPass, DeletesListedFilesAndPatternsButNeverHiddenSystemOrKeptOnes) {
    ScratchDir dir("files-pass-plain");
    const std::string d = dir.Path();
    for (const char* name : {"a.txt", "b.log", "c.log", "keep.txt", "hidden.txt", "system.txt", "unlisted.txt", "d.logx"})
        File_Write(d + name, "x");
    Directory_Create(d + "sub");
    File_SetAttributes(d + "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    File_SetAttributes(d + "system.txt", FILE_ATTRIBUTE_SYSTEM);

    std::vector<FileRecord> files = {
        Listed(d + "a.txt"),      Listed(d + "*.log"),   Listed(d + "keep.txt", true), Listed(d + "hidden.txt"),
        Listed(d + "system.txt"), Listed(d + "gone.txt"), Listed(""),                   Listed(d + "sub\\"),
    };
    BoxAnswerer unexpected({"Cancel"}, 1500);
    EXPECT_TRUE(Files_Remove(nullptr, files));
    EXPECT_TRUE(unexpected.Boxes().empty()) << unexpected.Boxes()[0].text;

    EXPECT_FALSE(File_Exists(d + "a.txt"));
    EXPECT_FALSE(File_Exists(d + "b.log"));
    EXPECT_FALSE(File_Exists(d + "c.log"));
    for (const char* name : {"keep.txt", "hidden.txt", "system.txt", "unlisted.txt"}) EXPECT_TRUE(File_Exists(d + name)) << name;
    EXPECT_TRUE(Directory_Exists(d + "sub"));
}

TEST(FilesPass, RetryTriesAgainUntilTheFileCanBeDeleted) {
    ScratchDir dir("files-pass-retry");
    const std::string d = dir.Path();
    File_Write(d + "one.dat", "x");
    File_Write(d + "two.dat", "x");
    File_SetAttributes(d + "two.dat", FILE_ATTRIBUTE_READONLY);

    // The user retries twice in vain, then frees the file and retries once more.
    std::vector<std::string> texts;
    std::thread user([&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            HWND box = MessageBox_WaitFor(GetCurrentProcessId(), 10000);
            if (!box) return;
            Sleep(50);
            texts.push_back(MessageBox_Read(box).text);
            if (attempt == 2) File_SetAttributes(d + "two.dat", FILE_ATTRIBUTE_NORMAL);
            MessageBox_Press(box, "Retry");
            Window_WaitGone(box, 5000);
        }
    });
    bool all = Files_Remove(nullptr, {Listed(d + "*.dat")});
    user.join();
    EXPECT_TRUE(all);
    EXPECT_EQ(texts, std::vector<std::string>(3, "Error deleting file: " + d + "*.dat\nPress 'Cancel' to skip this file."));
    EXPECT_FALSE(File_Exists(d + "one.dat"));
    EXPECT_FALSE(File_Exists(d + "two.dat"));
}

}  // namespace
