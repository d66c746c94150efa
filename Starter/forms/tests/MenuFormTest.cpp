// The tray menu in this process, read back from the real platform menu: the tree as defined, and
// what each refresh shows.
#include "MainForm.h"
#include "MenuForm.h"
#include "Rmod.h"
#include "WinTest.h"

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::string>;

// Each item as the user sees it: "-" for a separator, then grayed, checked and submenu size.
Items Items_Read(HMENU menu) {
    Items items;
    for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
        char text[256] = {};
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, static_cast<int>(i));
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION) & (sub ? 0xFFu : ~0u);  // high byte: item count
        std::string item = (state & MF_SEPARATOR) ? "-" : text;
        if (state & MF_GRAYED) item += " (grayed)";
        if (state & MF_CHECKED) item += " (checked)";
        if (sub) item += " [" + std::to_string(GetMenuItemCount(sub)) + "]";
        items.push_back(item);
    }
    return items;
}

HMENU Dropdown(MENUfrm& form) { return GetSubMenu(GetMenu(form.hwnd()), 0); }

TEST(TrayMenu, ShowsTheDefinedTreeWithoutTheFastModes) {
    MENUfrm form;  // fresh, not refreshed
    EXPECT_EQ(Items_Read(GetMenu(form.hwnd())), Items{"[M1] [11]"});
    EXPECT_EQ(Items_Read(Dropdown(form)),
              (Items{"&Launch Vembrol (Normal Mode)", "-", "Launch Vembrol (Special Modes)... [1]",
                     "Launch Start Station Application... [5]", "-", "Visit &Homepage", "-", "&Auto Start Vembrol",
                     "-", "&Close Starter", "&Remove Starter"}));
    EXPECT_EQ(Items_Read(GetSubMenu(Dropdown(form), 2)), Items{"Extended Help"});
}

TEST(TrayMenu, RefreshShowsVembrolsStateTheSettingAndTheStartStationSlots) {
    struct Case {
        const char* window;  // a top-level window of this title exists
        int show;
        Boolean autoStart;
        Items first, modes;
    };
    const Case cases[] = {
        {"", SW_HIDE, BooleanTrue, {"Launch Vembrol (Normal Mode)", "&Auto Start Vembrol (checked)"},
         {"Extended Help"}},
        {"Vembrol", SW_SHOWNOACTIVATE, BooleanFalse, {"Close Vembrol (Running)", "&Auto Start Vembrol"},
         {"Extended Help (grayed)"}},
        {"FastSort - Vembrol", SW_SHOWMINNOACTIVE, BooleanFalse, {"Restore Vembrol (Minimized)", "&Auto Start Vembrol"},
         {"Extended Help (grayed)"}},
    };
    HMENU dropdown = Dropdown(MenuForm());
    for (const Case& c : cases) {
        HWND window = CreateWindowA("STATIC", c.window, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
        ShowWindow(window, c.show);
        MainForm().AutoStartTarget = c.autoStart;
        MainForm().PopUpMenu_Refresh(1);
        MainForm().PopUpMenu_Refresh(2);
        const Items items = Items_Read(dropdown);
        EXPECT_EQ((Items{items[0], items[7]}), c.first);
        EXPECT_EQ(Items_Read(GetSubMenu(dropdown, 2)), c.modes);
        DestroyWindow(window);
    }
    MainForm().AutoStartTarget = BooleanFalse;

    wintest::ScratchKey scratch("forms-start-station");
    StartStation_Init(MainForm().StartStation, RegRoot_LocalMachine, scratch.Path());
    auto write = [&](const std::string& name, const std::string& text) {
        wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, scratch.Path() + "\\KtStartStation", name, REG_SZ, text + '\0');
    };
    const char* slots[][2] = {{"1", "C:\\Program Files\\A Folder\\Tool Name.exe"}, {"2", "D:\\Music\\"}, {"2", "D:\\"}};
    for (int n = 1; n <= 3; ++n) {
        write("file type" + std::to_string(n), slots[n - 1][0]);
        write("application name" + std::to_string(n), slots[n - 1][1]);
    }
    HMENU menu = GetSubMenu(dropdown, 3);
    MainForm().PopUpMenu_Refresh(3);
    EXPECT_EQ(Items_Read(menu),
              (Items{"Tool Name", "Music", "D:\\", "[not defined] (grayed)", "[not defined] (grayed)"}));
    write("file type1", "0");  // changed by another program: shown at the next opening
    MainForm().PopUpMenu_Refresh(3);
    EXPECT_EQ(Items_Read(menu).front(), "[not defined] (grayed)");
}

}  // namespace
