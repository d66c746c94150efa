// The input box, answered from a helper thread as a user would.
#include "StarterShell.h"

#include "Handles.h"
#include "LaunchTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Runs InputBox on this thread while answer(box) plays the user on another.
template <typename Answer>
std::string InputBox_With(const std::string& prompt, const std::string& defaultText, Answer answer) {
    std::thread user([&] {
        HWND box = wintest::InputBox_WaitFor(GetCurrentProcessId(), "Input Title");
        if (!box) return;
        Sleep(50);
        answer(box);
        wintest::Window_WaitGone(box, 5000);
    });
    std::string result = InputBox(prompt, "Input Title", defaultText);
    user.join();
    return result;
}

RECT RectOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

// Whether the control shows all of its text, wrapped as a static control wraps it.
bool Text_FitsControl(HWND control) {
    const std::string text = wintest::Window_GetText(control);
    RECT client;
    GetClientRect(control, &client);
    RECT needed = {0, 0, client.right, 0};
    ScreenDc dc(control);
    HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(dc.get(), text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc.get(), old);
    return needed.bottom <= client.bottom;
}

TEST(InputBox, ShowsPromptAndSelectedDefaultAndReturnsWhatWasTypedOnOk) {
    // A long path without blanks must still be shown whole, wrapped above the edit field.
    const std::string prompt = "Please enter path to browse application (C:\\" + std::string(600, 'x') +
                               "\\browser.exe not found):";
    wintest::InputBoxInfo seen;
    bool promptFits = false, promptAboveEdit = false, editInside = false;
    const std::string result = InputBox_With(prompt, "C:\\old & default.exe", [&](HWND box) {
        seen = wintest::InputBox_Read(box);
        HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
        RECT client;
        GetClientRect(box, &client);
        MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
        promptFits = Text_FitsControl(GetDlgItem(box, 0xFFFF));
        promptAboveEdit = RectOf(GetDlgItem(box, 0xFFFF)).bottom <= RectOf(edit).top;
        editInside = RectOf(edit).bottom <= client.bottom;
        wintest::InputBox_Type(box, "C:\\new\\browser.exe");
        wintest::MessageBox_Press(box, "OK");
    });
    EXPECT_EQ(result, "C:\\new\\browser.exe");
    EXPECT_EQ(seen.caption, "Input Title");
    EXPECT_EQ(seen.prompt, prompt);
    EXPECT_EQ(seen.editText, "C:\\old & default.exe");
    EXPECT_TRUE(seen.editTextSelected);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_TRUE(promptFits);
    EXPECT_TRUE(promptAboveEdit);
    EXPECT_TRUE(editInside);
}

TEST(InputBox, OkKeepsTheDefaultAndEveryWayOfCancellingGivesEmptyText) {
    EXPECT_EQ(InputBox_With("p", "kept", [](HWND box) { wintest::MessageBox_Press(box, "OK"); }), "kept");
    EXPECT_EQ(InputBox_With("p", "default",
                            [](HWND box) {
                                wintest::InputBox_Type(box, "typed");
                                wintest::MessageBox_Press(box, "Cancel");
                            }),
              "");
    EXPECT_EQ(InputBox_With("p", "default",
                            [](HWND box) {
                                PostMessageA(FindWindowExA(box, nullptr, "Edit", nullptr), WM_KEYDOWN, VK_ESCAPE, 1);
                            }),
              "");
    EXPECT_EQ(InputBox_With("p", "default", [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }), "");
    // Enter in the edit field presses the default button.
    EXPECT_EQ(InputBox_With("p", "by enter",
                            [](HWND box) {
                                PostMessageA(FindWindowExA(box, nullptr, "Edit", nullptr), WM_KEYDOWN, VK_RETURN, 1);
                            }),
              "by enter");
}

}  // namespace
