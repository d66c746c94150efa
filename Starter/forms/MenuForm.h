// The hidden menu form MENUfrm: it owns the tray menu, keeps the state of every item (caption,
// enabled, checked, visible), mirrors that state into the platform menu, and turns a chosen item
// into the click event of its array, which it reports to whoever set the click handler.
#pragma once

#include "Win32.h"

#include "Handles.h"
#include "MenuTree.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct MenuItemState {
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
};

class MENUfrm;

// One item of an array, used like a form control: each property change updates the item's state
// and the platform menu. An index outside its array reads as an empty item and ignores changes.
class MenuItemControl {
public:
    MenuItemControl(MENUfrm& form, std::int16_t menuIndex, std::int16_t index)
        : form_(form), menuIndex_(menuIndex), index_(index) {}

    std::string Caption() const;
    bool Enabled() const;
    bool Checked() const;
    bool Visible() const;
    void SetCaption(const std::string& caption);
    void SetEnabled(bool enabled);
    void SetChecked(bool checked);

private:
    MENUfrm& form_;
    std::int16_t menuIndex_;
    std::int16_t index_;
};

// Receives a chosen item as its array (MenuIndex) and its Index within the array.
using MenuClickHandler = std::function<void(std::int16_t MenuIndex, std::int16_t Index)>;

class MENUfrm {
public:
    MENUfrm();
    ~MENUfrm();
    MENUfrm(const MENUfrm&) = delete;
    MENUfrm& operator=(const MENUfrm&) = delete;

    // The hidden window whose menu bar holds Menu1; created, with its menu, on first use.
    HWND hwnd();

    MenuItemControl M1(std::int16_t Index) { return {*this, MenuArray_Main, Index}; }
    MenuItemControl M2(std::int16_t Index) { return {*this, MenuArray_SpecialModes, Index}; }
    MenuItemControl M3(std::int16_t Index) { return {*this, MenuArray_StartStation, Index}; }

    // The receiver of every click; without one a click does nothing.
    void Click_SetHandler(MenuClickHandler handler) { clickHandler_ = std::move(handler); }

    // Click events of the three arrays; each hands the click to the click handler.
    void M1_Click(std::int16_t Index);
    void M2_Click(std::int16_t Index);
    void M3_Click(std::int16_t Index);

    // A menu command delivered to the window; false when the identifier is no item of the tree.
    bool Command_Receive(unsigned id);

private:
    friend class MenuItemControl;

    MenuItemState* Item_State(std::int16_t menuIndex, std::int16_t index);
    // Writes one item's caption, type and state into the platform menu.
    void Item_Apply(std::int16_t menuIndex, std::int16_t index);
    // Builds the whole platform menu again; needed when an item appears or disappears.
    void Menu_Rebuild();
    UniqueMenu Array_Build(std::int16_t menuIndex);

    HWND hwnd_ = nullptr;
    std::vector<MenuItemState> items_[3];
    MenuClickHandler clickHandler_;
};

// The program's one menu form, created on first use.
MENUfrm& MenuForm();
