// The tray menu seen from the main form: the refresh of its three groups before every opening,
// and its display at the cursor.
#include "Mfrm.h"

#include "MenuForm.h"

void Mfrm::PopUpMenu_Refresh(std::int16_t group) {
    MENUfrm& menu = MenuForm();
    switch (group) {
        case 1: {
            HWND target = nullptr;
            bool minimized = false;
            const std::int16_t state = TargetWindow_Find(target, minimized);
            menu.M1(M1_Target).SetCaption(TargetCaption_ForState(state, minimized));
            menu.M1(M1_AutoStart).SetChecked(AutoStartTarget != BooleanFalse);
            break;
        }
        case 2: {
            for (std::int16_t i = 1; i <= M2_Count; ++i) menu.M2(i).SetEnabled(true);
            // Looked up again rather than taken from group 1: Vembrol may have started meanwhile.
            HWND target = nullptr;
            bool minimized = false;
            if (TargetWindow_Find(target, minimized) != TargetNotRunning)
                for (std::int16_t i = 1; i <= M2_Count; ++i) menu.M2(i).SetEnabled(false);
            break;
        }
        case 3: {
            // Re-read at every opening: the product's other programs change the slots at any time.
            StartStation_Load(StartStation);
            const auto& entries = StartStation.StartStationEntries;
            for (std::int16_t i = 1; i <= M3_Count && static_cast<size_t>(i) <= entries.size(); ++i) {
                MenuItemControl item = menu.M3(i);
                const MenuItemText text = StartStationItem_Refresh(entries[static_cast<size_t>(i - 1)], item.Caption());
                item.SetCaption(text.caption);
                item.SetEnabled(text.enabled);
            }
            break;
        }
        default:
            break;
    }
}

std::int32_t Mfrm::ProgramGetMousePosX() {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return p.x;
}

std::int32_t Mfrm::ProgramGetMousePosY() {
    POINT p = {0, 0};
    GetCursorPos(&p);
    return p.y;
}

void Mfrm::ProgramOpenPopUpMenu(std::int32_t XPos, std::int32_t YPos, std::int16_t PopUpMenuIndex) {
    // Passed for compatibility only; the platform keeps the menu on the screen by itself.
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND owner = MenuForm().hwnd();
    HMENU dropdown = GetSubMenu(GetMenu(owner), PopUpMenuIndex - 1);
    // Without TPM_RETURNCMD the choice arrives at the owner as WM_COMMAND, after the menu closed.
    TrackPopupMenu(dropdown, TPM_RIGHTBUTTON, XPos, YPos, 0, owner, &screen);
}
