// The tray menu and the main form in this process: the item tree and every refresh state read back
// from the real platform menu, chosen items reaching their commands, and the product icon.
#include "MainForm.h"
#include "MenuForm.h"
#include "Rmod.h"
#include "StarterResources.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

// One item of a platform menu as the user would see it.
struct ShownItem {
    std::string caption;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    int submenuItems = -1;  // -1: no submenu
};

ShownItem Item_Read(HMENU menu, int position) {
    ShownItem item;
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    item.caption = text;
    const UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    item.separator = (state & MF_SEPARATOR) != 0;
    item.grayed = (state & MF_GRAYED) != 0;
    item.checked = (state & MF_CHECKED) != 0;
    if (HMENU sub = GetSubMenu(menu, position)) item.submenuItems = GetMenuItemCount(sub);
    return item;
}

std::vector<std::string> Captions_Read(HMENU menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) captions.push_back(Item_Read(menu, i).caption);
    return captions;
}

HMENU Dropdown_Of(MENUfrm& form) { return GetSubMenu(GetMenu(form.hwnd()), 0); }

// Positions of the popup's items; every M1 item is shown, so position = Index - 1.
constexpr int kFirstItem = 0;
constexpr int kSpecialModes = 2;
constexpr int kStartStation = 3;
constexpr int kAutoStart = 7;

// A top-level window with a title of Vembrol's, shown normally or minimized.
class FakeTarget {
public:
    FakeTarget(const char* title, bool minimized) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VembrolFormsTestTarget";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA(wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
        ShowWindow(hwnd_, minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    }
    ~FakeTarget() { DestroyWindow(hwnd_); }
    FakeTarget(const FakeTarget&) = delete;
    FakeTarget& operator=(const FakeTarget&) = delete;

private:
    HWND hwnd_;
};

class StartStationSlots {
public:
    explicit StartStationSlots(const std::string& name) : scratch_(name), key_(scratch_.Path() + "\\KtStartStation") {
        StartStation_Init(MainForm().StartStation, RegRoot_LocalMachine, scratch_.Path());
    }
    void Write(const std::string& name, const std::string& text) {
        wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, key_, name, REG_SZ, text + '\0');
    }
    void WriteNumber(const std::string& name, DWORD number) {
        wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, key_, name, REG_DWORD,
                                   std::string(reinterpret_cast<const char*>(&number), sizeof(number)));
    }

private:
    wintest::ScratchKey scratch_;
    std::string key_;
};

TEST(TrayMenuTree, ShowsTheDefinedItemsInOrderWithCascadingSubmenus) {
    MENUfrm form;  // a fresh form: the state as defined, before any refresh
    HMENU bar = GetMenu(form.hwnd());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(Item_Read(bar, 0).caption, "[M1]");
    EXPECT_FALSE(IsWindowVisible(form.hwnd()));

    HMENU dropdown = Dropdown_Of(form);
    const std::vector<ShownItem> expected = {
        {"&Launch Vembrol (Normal Mode)", false, false, false, -1},
        {"", true, false, false, -1},
        {"Launch Vembrol (Special Modes)...", false, false, false, 1},
        {"Launch Start Station Application...", false, false, false, 5},
        {"", true, false, false, -1},
        {"Visit &Homepage", false, false, false, -1},
        {"", true, false, false, -1},
        {"&Auto Start Vembrol", false, false, false, -1},
        {"", true, false, false, -1},
        {"&Close Starter", false, false, false, -1},
        {"&Remove Starter", false, false, false, -1},
    };
    ASSERT_EQ(GetMenuItemCount(dropdown), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("position " + std::to_string(i));
        const ShownItem shown = Item_Read(dropdown, static_cast<int>(i));
        EXPECT_EQ(shown.caption, expected[i].caption);
        EXPECT_EQ(shown.separator, expected[i].separator);
        EXPECT_EQ(shown.grayed, expected[i].grayed);
        EXPECT_EQ(shown.checked, expected[i].checked);
        EXPECT_EQ(shown.submenuItems, expected[i].submenuItems);
    }

    // The fast modes stay in the model, hidden and disabled, and never reach the platform menu.
    EXPECT_EQ(Captions_Read(GetSubMenu(dropdown, kSpecialModes)), std::vector<std::string>{"Extended Help"});
    EXPECT_EQ(form.M2(1).Caption(), "Fast Read");
    EXPECT_EQ(form.M2(2).Caption(), "Fast Sort");
    for (std::int16_t i = 1; i <= 2; ++i) {
        EXPECT_FALSE(form.M2(i).Visible());
        EXPECT_FALSE(form.M2(i).Enabled());
    }
    EXPECT_EQ(Captions_Read(GetSubMenu(dropdown, kStartStation)), std::vector<std::string>(5, ""));
}

TEST(TrayMenuTree, ItemsMadeVisibleTakeTheirPlaceWithTheirState) {
    MENUfrm form;
    form.hwnd();
    form.M2(2).SetCaption("Fast Sort (renamed)");  // changed while hidden: kept for when it shows
    form.M2(2).SetVisible(true);
    HMENU modes = GetSubMenu(Dropdown_Of(form), kSpecialModes);
    ASSERT_EQ(Captions_Read(modes), (std::vector<std::string>{"Fast Sort (renamed)", "Extended Help"}));
    EXPECT_TRUE(Item_Read(modes, 0).grayed);

    form.M1(6).SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(Dropdown_Of(form)), 10);
    EXPECT_EQ(Item_Read(Dropdown_Of(form), 5).separator, true);
    // The rebuilt menu still carries the earlier changes.
    EXPECT_EQ(Captions_Read(GetSubMenu(Dropdown_Of(form), kSpecialModes)).front(), "Fast Sort (renamed)");

    // An index outside its array is no item: reading it gives nothing and changing it does nothing.
    form.M1(12).SetCaption("x");
    EXPECT_EQ(form.M1(12).Caption(), "");
    EXPECT_EQ(GetMenuItemCount(Dropdown_Of(form)), 10);
}

TEST(TrayMenuRefresh, FirstItemCheckMarkAndSpecialModesFollowVembrolAndTheSetting) {
    struct Case {
        const char* title;  // a window of this title exists, or none
        bool minimized;
        Boolean autoStart;
        const char* caption;
        bool modesEnabled;
    };
    const Case cases[] = {
        {nullptr, false, BooleanFalse, "Launch Vembrol (Normal Mode)", true},
        {nullptr, false, BooleanTrue, "Launch Vembrol (Normal Mode)", true},
        {"Vembrol", false, BooleanTrue, "Close Vembrol (Running)", false},
        {"Vembrol", true, BooleanFalse, "Restore Vembrol (Minimized)", false},
        {"FastSort - Vembrol", true, BooleanTrue, "Restore Vembrol (Minimized)", false},
        {"Vembrol (extended help mode)", false, BooleanFalse, "Close Vembrol (Running)", false},
    };
    Mfrm& form = MainForm();
    HMENU dropdown = Dropdown_Of(MenuForm());
    HMENU modes = GetSubMenu(dropdown, kSpecialModes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title ? c.title : "(no window)");
        std::unique_ptr<FakeTarget> target;
        if (c.title) target = std::make_unique<FakeTarget>(c.title, c.minimized);
        form.AutoStartTarget = c.autoStart;
        form.PopUpMenu_Refresh(1);
        form.PopUpMenu_Refresh(2);

        EXPECT_EQ(Item_Read(dropdown, kFirstItem).caption, c.caption);
        EXPECT_EQ(Item_Read(dropdown, kAutoStart).checked, c.autoStart == BooleanTrue);
        EXPECT_EQ(Item_Read(modes, 0).grayed, !c.modesEnabled);
        for (std::int16_t i = 1; i <= 3; ++i) EXPECT_EQ(MenuForm().M2(i).Enabled(), c.modesEnabled);
    }
    form.AutoStartTarget = BooleanFalse;
}

TEST(TrayMenuRefresh, StartStationItemsShowTheRegistryAtEachOpening) {
    StartStationSlots slots("forms-start-station-refresh");
    slots.Write("file type1", "1");
    slots.Write("application name1", "C:\\Program Files\\A Long Folder Name\\Tool Name.exe");
    slots.WriteNumber("file type2", 2);  // another program may store the type as a number
    slots.Write("application name2", "D:\\Music\\");
    slots.Write("file type3", "2");
    slots.Write("application name3", "D:\\");
    slots.Write("file type4", "1");
    slots.Write("application name4", "notepad.exe");
    // slot 5 left out altogether

    Mfrm& form = MainForm();
    HMENU slotsMenu = GetSubMenu(Dropdown_Of(MenuForm()), kStartStation);
    form.PopUpMenu_Refresh(3);
    struct Expected {
        const char* caption;
        bool grayed;
    };
    const Expected expected[] = {
        {"Tool Name", false}, {"Music", false}, {"D:\\", false}, {"[not defined]", true}, {"[not defined]", true},
    };
    ASSERT_EQ(GetMenuItemCount(slotsMenu), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("slot " + std::to_string(i + 1));
        EXPECT_EQ(Item_Read(slotsMenu, i).caption, expected[i].caption);
        EXPECT_EQ(Item_Read(slotsMenu, i).grayed, expected[i].grayed);
    }

    // Changes made by other programs between two openings show at the next one.
    slots.Write("file type1", "0");
    slots.Write("file type5", "1");
    slots.Write("application name5", "C:\\Tools\\Player.exe C:\\Music\\song.mp3");
    form.PopUpMenu_Refresh(3);
    EXPECT_EQ(Item_Read(slotsMenu, 0).caption, "[not defined]");
    EXPECT_TRUE(Item_Read(slotsMenu, 0).grayed);
    EXPECT_EQ(Item_Read(slotsMenu, 4).caption, "song");
    EXPECT_FALSE(Item_Read(slotsMenu, 4).grayed);
}

TEST(TrayMenuClicks, ReachTheirCommandsThroughThePlatformMenuIdentifiers) {
    // The commands below report a missing Vembrol, so none may lie beside this test program.
    ASSERT_FALSE(wintest::File_Exists(wintest::ThisExe_Directory() + "Vembrol.exe"));
    StartStationSlots slots("forms-clicks");
    slots.Write("file type1", "1");
    slots.Write("application name1", "C:\\vembrol-tests\\no such folder\\Player.exe");

    Mfrm& form = MainForm();
    form.PopUpMenu_Refresh(1);
    form.PopUpMenu_Refresh(2);
    form.PopUpMenu_Refresh(3);
    HMENU dropdown = Dropdown_Of(MenuForm());
    struct Case {
        const char* item;
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {"first item", GetMenuItemID(dropdown, kFirstItem), "Vembrol was not found in current directory  !"},
        {"Extended Help", GetMenuItemID(GetSubMenu(dropdown, kSpecialModes), 0),
         "Vembrol was not found in current directory, please move this program to the right location !"},
        {"Start Station slot 1", GetMenuItemID(GetSubMenu(dropdown, kStartStation), 0),
         "Error starting application 'C:\\vembrol-tests\\no such folder\\Player.exe' !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        wintest::BoxAnswerer answerer({"OK"});
        SendMessageA(MenuForm().hwnd(), WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        const auto& boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, "Vembrol Starter");
        EXPECT_EQ(boxes[0].icon, wintest::BoxIcon::Exclamation);
        EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
    }
}

TEST(MainFormWindow, IsHiddenWithItsCaptionAndCarriesBothIconSizes) {
    HWND main = MainForm().hwnd();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(wintest::Window_GetText(main), "Vembrol Starter v1.0");
    EXPECT_FALSE(IsWindowVisible(main));

    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_STARTER), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_NE(found, nullptr);
    const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(dir, nullptr);
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) sizes.insert(dir[6 + 14 * i]);  // width of each directory entry
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(MainForm().Icon(), &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
}

}  // namespace
