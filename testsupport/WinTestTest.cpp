// The harness itself: the end-to-end tests trust what it reads from boxes and menus, so a
// harness that misreads an icon or a key would let them pass wrongly.
#include "WinTest.h"

#include "WideText.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wintest;

TEST(Harness, ReadsBoxesOfThisAndOfAnotherProcessAndTellsTheIconsApart) {
    const struct {
        UINT style;
        const char *answer, *arg;
        int result;
        BoxIcon icon;
        std::vector<std::string> buttons;
    } cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, "OK", "exclamation", IDOK, BoxIcon::Exclamation, {"OK"}},
        {MB_YESNO | MB_ICONQUESTION, "No", "question", IDNO, BoxIcon::Question, {"Yes", "No"}},
        {MB_RETRYCANCEL | MB_ICONINFORMATION, "Retry", "information", IDRETRY, BoxIcon::Information, {"Retry", "Cancel"}},
    };
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const auto& c : cases) {
        BoxAnswerer answerer({c.answer});
        EXPECT_EQ(MessageBoxA(nullptr, "line one\nline  two !", "Title", c.style), c.result);
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        const MessageBoxInfo& box = answerer.Boxes()[0];
        EXPECT_EQ(box.caption, "Title");
        EXPECT_EQ(box.text, "line one\nline  two !");
        EXPECT_EQ(box.buttons, c.buttons);
        EXPECT_EQ(box.icon, c.icon) << c.arg;

        // Across processes the icon is told apart by its pixels.
        Process p = Process::Start(self, std::string("--show-box ") + c.arg);
        MessageBoxInfo other = MessageBox_Answer(p.Id(), "OK", 15000);
        EXPECT_EQ(other.text, c.arg);
        EXPECT_EQ(other.icon, c.icon) << c.arg;
    }
}

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST(Harness, MenuKeysSkipSeparatorsAndGrayedItems) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "WinTestOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("WinTestOwner", "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 10, "first");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 11, "grayed");
    AppendMenuA(menu, MF_STRING, 12, "third");
    const struct {
        std::initializer_list<WORD> keys;
        int chosen;
    } cases[] = {{{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 12}, {{VK_ESCAPE}, 0}};
    for (const auto& c : cases) {
        std::thread user([&] {
            if (HWND popup = PopupMenu_WaitFor()) PopupMenu_SendKeys(popup, c.keys);
        });
        SetForegroundWindow(owner);
        EXPECT_EQ(static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, owner, nullptr)), c.chosen);
        user.join();
    }
    DestroyMenu(menu);
    DestroyWindow(owner);
}

// Scenarios from folders named in any script rely on the harness passing such names through:
// a "?" anywhere on the way would show in the path the started program reports.
TEST(Harness, FolderNamesOutsideTheAnsiCodePageComeThroughWhole) {
    ScratchDir dir(std::string(UnicodeFolderName) + "\\app");
    const std::string copy = dir.Path() + "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.exe";  // "файл.exe"
    ASSERT_TRUE(CopyFileW(Wide_FromText(Module_GetPath()).c_str(), Wide_FromText(copy).c_str(), FALSE));
    EXPECT_TRUE(File_Exists(copy));
    EXPECT_EQ(dir.Path(), "C:\\vembrol-tests\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0 \xE6\x96\x87\xE5\xAD\x97\\app\\");

    Process p = Process::Start(copy, "--show-own-path");
    ASSERT_TRUE(p.Started());
    MessageBoxInfo box = MessageBox_Answer(p.Id(), "OK", 15000);
    EXPECT_EQ(box.caption, "\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C");  // "Путь"
    EXPECT_EQ(box.text, copy);
    EXPECT_TRUE(p.WaitExit());
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--show-own-path") == 0) {
        MessageBox_Show(nullptr, Module_GetPath(), "\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C", MB_OK);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--show-box") == 0) {
        UINT icon = std::strcmp(argv[2], "question") == 0      ? MB_ICONQUESTION
                    : std::strcmp(argv[2], "information") == 0 ? MB_ICONINFORMATION
                                                               : MB_ICONEXCLAMATION;
        MessageBoxA(nullptr, argv[2], "Other Process", MB_OK | icon);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
