// The harness itself: message boxes are read exactly (in this process and in another one),
// buttons pressed, and popup menus driven by keys.
#include "WinTest.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace wintest;

namespace {

struct BoxCase {
    UINT style;
    const char* answer;
    int expectedResult;
    BoxIcon icon;
    std::vector<std::string> buttons;
};

TEST(MessageBoxHarness, ReadsAndAnswersBoxesOfThisProcess) {
    const BoxCase cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, "OK", IDOK, BoxIcon::Exclamation, {"OK"}},
        {MB_YESNO | MB_ICONQUESTION, "No", IDNO, BoxIcon::Question, {"Yes", "No"}},
        {MB_YESNO | MB_ICONQUESTION, "Yes", IDYES, BoxIcon::Question, {"Yes", "No"}},
        {MB_OK | MB_ICONINFORMATION, "OK", IDOK, BoxIcon::Information, {"OK"}},
        {MB_RETRYCANCEL | MB_ICONEXCLAMATION, "Cancel", IDCANCEL, BoxIcon::Exclamation, {"Retry", "Cancel"}},
        {MB_OK, "OK", IDOK, BoxIcon::None, {"OK"}},
    };
    for (const auto& c : cases) {
        BoxAnswerer answerer({c.answer});
        int result = MessageBoxA(nullptr, "first line\nsecond  line !", "Harness Title", c.style);
        const auto& boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(result, c.expectedResult);
        EXPECT_EQ(boxes[0].caption, "Harness Title");
        EXPECT_EQ(boxes[0].text, "first line\nsecond  line !");
        EXPECT_EQ(boxes[0].buttons, c.buttons);
        EXPECT_EQ(BoxIcon_Name(boxes[0].icon), std::string(BoxIcon_Name(c.icon)));
    }
}

TEST(MessageBoxHarness, ReadsTheIconOfAnotherProcessByItsPixels) {
    const struct {
        const char* arg;
        BoxIcon icon;
    } cases[] = {{"exclamation", BoxIcon::Exclamation}, {"question", BoxIcon::Question},
                 {"information", BoxIcon::Information}};
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    for (const auto& c : cases) {
        Process p = Process::Start(self, std::string("--show-box ") + c.arg);
        ASSERT_TRUE(p.Started());
        MessageBoxInfo box = MessageBox_Answer(p.Id(), "OK", 15000);
        ASSERT_NE(box.hwnd, nullptr) << c.arg;
        EXPECT_EQ(box.caption, "Other Process");
        EXPECT_EQ(box.text, c.arg);
        EXPECT_EQ(BoxIcon_Name(box.icon), std::string(BoxIcon_Name(c.icon)));
        EXPECT_TRUE(p.WaitExit(5000));
    }
}

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST(PopupMenuHarness, KeysChooseItemsAndSkipSeparatorsAndGrayedItems) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "WinTestOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowA("WinTestOwner", "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 10, "first");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 11, "grayed");
    AppendMenuA(menu, MF_STRING, 12, "third");

    const struct {
        std::initializer_list<WORD> keys;
        int expected;
    } cases[] = {{{VK_DOWN, VK_RETURN}, 10}, {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 12}, {{VK_ESCAPE}, 0}};
    for (const auto& c : cases) {
        std::thread driver([&] {
            HWND popup = PopupMenu_WaitFor(5000);
            if (popup) PopupMenu_SendKeys(popup, c.keys);
        });
        SetForegroundWindow(owner);
        int chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr));
        driver.join();
        EXPECT_EQ(chosen, c.expected);
        EXPECT_TRUE(PopupMenu_WaitClosed());
    }
    DestroyMenu(menu);
    DestroyWindow(owner);
}

TEST(ScratchHarness, ScratchKeyAndDirVanishWithEverythingInThem) {
    std::string keyPath, dirPath;
    {
        ScratchKey key("harness");
        keyPath = key.Path();
        Registry_WriteRaw(HKEY_LOCAL_MACHINE, key.Path() + "\\a\\b", "v", REG_SZ, "x");
        ASSERT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key.Path() + "\\a\\b"));
        ScratchDir dir("harness");
        dirPath = dir.Path();
        Directory_Create(dir.Path() + "sub\\deep");
        File_Write(dir.Path() + "sub\\deep\\f.txt", "data");
        File_SetAttributes(dir.Path() + "sub\\deep\\f.txt", FILE_ATTRIBUTE_READONLY);
        EXPECT_EQ(File_Read(dir.Path() + "sub\\deep\\f.txt"), "data");
    }
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, keyPath));
    EXPECT_FALSE(Directory_Exists(dirPath));
}

}  // namespace

int main(int argc, char** argv) {
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
