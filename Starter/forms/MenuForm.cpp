// The menu form: its hidden window, the item states mirrored into the platform menu, and the
// click events.
#include "MenuForm.h"

#include "FormWindow.h"
#include "WideText.h"

namespace {

constexpr wchar_t kClassName[] = L"VembrolStarterMENUfrm";
// Never searched for by the Starter; it only must not be one of Vembrol's window titles.
constexpr char kCaption[] = "MENUfrm";
// The menu-bar entry is looked up by position only; its identifier lies outside every array.
constexpr UINT kMenuBarEntryId = 1;

LRESULT CALLBACK MENUfrm_WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<MENUfrm*>(GetWindowLongPtrW(hwnd, 0));
    switch (msg) {
        case WM_COMMAND:
            // Menu commands carry 0 in the high word and no control handle.
            if (form && HIWORD(wParam) == 0 && lParam == 0 && form->Command_Receive(LOWORD(wParam))) return 0;
            break;
        case WM_CLOSE:
            // The form and its menu live as long as the process; closing would lose the menu.
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool IsSeparator(const std::string& caption) { return caption == "-"; }

// Caption, type and state of an item; caption must outlive the structure's use.
MENUITEMINFOW ItemInfo(const MenuItemState& state, std::wstring& caption) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    info.fState = (state.Enabled ? MFS_ENABLED : MFS_GRAYED) | (state.Checked ? MFS_CHECKED : MFS_UNCHECKED);
    if (IsSeparator(state.Caption)) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        info.fMask |= MIIM_STRING;
        caption = Wide_FromText(state.Caption);
        info.dwTypeData = caption.data();
        info.cch = static_cast<UINT>(caption.size());
    }
    return info;
}

}  // namespace

// ---- item controls ------------------------------------------------------------------------------

std::string MenuItemControl::Caption() const {
    const MenuItemState* s = form_.Item_State(menuIndex_, index_);
    return s ? s->Caption : std::string();
}
bool MenuItemControl::Enabled() const {
    const MenuItemState* s = form_.Item_State(menuIndex_, index_);
    return s && s->Enabled;
}
bool MenuItemControl::Checked() const {
    const MenuItemState* s = form_.Item_State(menuIndex_, index_);
    return s && s->Checked;
}
bool MenuItemControl::Visible() const {
    const MenuItemState* s = form_.Item_State(menuIndex_, index_);
    return s && s->Visible;
}

void MenuItemControl::SetCaption(const std::string& caption) {
    MenuItemState* s = form_.Item_State(menuIndex_, index_);
    if (!s || s->Caption == caption) return;
    s->Caption = caption;
    form_.Item_Apply(menuIndex_, index_);
}
void MenuItemControl::SetEnabled(bool enabled) {
    MenuItemState* s = form_.Item_State(menuIndex_, index_);
    if (!s || s->Enabled == enabled) return;
    s->Enabled = enabled;
    form_.Item_Apply(menuIndex_, index_);
}
void MenuItemControl::SetChecked(bool checked) {
    MenuItemState* s = form_.Item_State(menuIndex_, index_);
    if (!s || s->Checked == checked) return;
    s->Checked = checked;
    form_.Item_Apply(menuIndex_, index_);
}

// ---- the form ------------------------------------------------------------------------------------

MENUfrm::MENUfrm() {
    for (std::int16_t array = MenuArray_Main; array <= MenuArray_StartStation; ++array)
        for (const MenuItemDefinition& def : MenuArray_Definition(array))
            items_[array - 1].push_back({def.caption, def.enabled, false, def.visible});
}

MENUfrm::~MENUfrm() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);  // takes the attached menu with it
}

HWND MENUfrm::hwnd() {
    if (hwnd_) return hwnd_;
    const RECT anywhere = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    hwnd_ = FormWindow_Create({kClassName, MENUfrm_WindowProc}, kCaption, WS_OVERLAPPEDWINDOW, 0, anywhere, this);
    Menu_Rebuild();
    return hwnd_;
}

MenuItemState* MENUfrm::Item_State(std::int16_t menuIndex, std::int16_t index) {
    if (menuIndex < 1 || menuIndex > 3) return nullptr;
    auto& items = items_[menuIndex - 1];
    if (index < 1 || static_cast<size_t>(index) > items.size()) return nullptr;
    return &items[static_cast<size_t>(index - 1)];
}

void MENUfrm::Item_Apply(std::int16_t menuIndex, std::int16_t index) {
    if (!hwnd_) return;  // the menu is built from the states when the window comes
    const MenuItemState* state = Item_State(menuIndex, index);
    if (!state || !state->Visible) return;  // a hidden item has no platform item to update
    std::wstring caption;
    MENUITEMINFOW info = ItemInfo(*state, caption);
    // By identifier, which the platform also finds inside the submenus of the menu bar.
    SetMenuItemInfoW(GetMenu(hwnd_), MenuCommandId_Make(menuIndex, index), FALSE, &info);
}

UniqueMenu MENUfrm::Array_Build(std::int16_t menuIndex) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    const auto& defs = MenuArray_Definition(menuIndex);
    UINT position = 0;
    for (std::int16_t index = 1; static_cast<size_t>(index) <= defs.size(); ++index) {
        const MenuItemState& state = *Item_State(menuIndex, index);
        if (!state.Visible) continue;
        std::wstring caption;
        MENUITEMINFOW info = ItemInfo(state, caption);
        info.fMask |= MIIM_ID;
        info.wID = MenuCommandId_Make(menuIndex, index);
        UniqueMenu submenu;
        if (const std::int16_t opens = defs[static_cast<size_t>(index - 1)].submenu) {
            submenu = Array_Build(opens);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = submenu.get();
        }
        if (InsertMenuItemW(menu.get(), position, TRUE, &info)) {
            submenu.release();  // the parent menu owns it now
            ++position;
        }
    }
    return menu;
}

void MENUfrm::Menu_Rebuild() {
    if (!hwnd_) return;
    UniqueMenu bar(CreateMenu());
    UniqueMenu dropdown = Array_Build(1);
    if (!bar || !dropdown) return;
    std::wstring caption = Wide_FromText(MenuBar_Caption);
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_SUBMENU;
    info.fType = MFT_STRING;
    info.dwTypeData = caption.data();
    info.wID = kMenuBarEntryId;
    info.hSubMenu = dropdown.get();
    if (!InsertMenuItemW(bar.get(), 0, TRUE, &info)) return;
    dropdown.release();
    UniqueMenu previous(GetMenu(hwnd_));
    if (SetMenu(hwnd_, bar.get())) {
        bar.release();
    } else {
        previous.release();  // still attached: the window keeps owning it
    }
}

bool MENUfrm::Command_Receive(unsigned id) {
    std::int16_t menuIndex = 0, index = 0;
    if (!MenuCommandId_Split(id, menuIndex, index)) return false;
    switch (menuIndex) {
        case MenuArray_Main: M1_Click(index); break;
        case MenuArray_SpecialModes: M2_Click(index); break;
        case MenuArray_StartStation: M3_Click(index); break;
        default: return false;
    }
    return true;
}

void MENUfrm::M1_Click(std::int16_t Index) {
    if (clickHandler_) clickHandler_(MenuArray_Main, Index);
}
void MENUfrm::M2_Click(std::int16_t Index) {
    if (clickHandler_) clickHandler_(MenuArray_SpecialModes, Index);
}
void MENUfrm::M3_Click(std::int16_t Index) {
    if (clickHandler_) clickHandler_(MenuArray_StartStation, Index);
}

MENUfrm& MenuForm() {
    static MENUfrm form;
    return form;
}
