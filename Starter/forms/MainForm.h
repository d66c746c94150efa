// The main form Mfrm: the hidden window behind the tray icon, the Starter's state in memory, the
// start-up and shutdown sequences, and the public operations the tray and the menu form call.
#pragma once

#include "Win32.h"

#include "Handles.h"
#include "KtSubClassmod.h"
#include "StarterShell.h"

#include <cstdint>
#include <string>

class Mfrm final : public KtSubClassTarget, public KtSubClassObject {
public:
    // ---- state, for the life of the process ----
    StartStationConfig StartStation;
    // True: Vembrol is started each time the Starter starts.
    Boolean AutoStartTarget = BooleanFalse;
    // The tray callback message; 0 until the tray icon is first added.
    UINT SystrayMessage = 0;
    // Sent by the shell when the taskbar (re)starts; 0 until the tray icon is first added.
    UINT TaskbarCreatedMessage = 0;

    // ---- start-up and shutdown ----
    void Form_Load();
    // Removes the tray icon and every subclassing, then ends the process.
    [[noreturn]] void Form_Unload(std::int16_t Cancel);

    // ---- form properties ----
    // The form's window, created (hidden and without side effects) on first use.
    HWND hwnd() const override;
    // The product icon in the small size, as the tray shows it.
    HICON Icon() const;
    void Form_SetSize(int width, int height);
    void Form_SetEnabled(bool enabled);
    void Form_SetVisible(bool visible);

    // ---- tray messages (the form is the target of its own window's subclassing) ----
    void KtSubClassWindowProc(const std::string& SourceDescription, HWND hwnd, UINT Msg, WPARAM wParam,
                              LPARAM lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) override;

    // ---- the tray menu ----
    // Brings group 1 (first caption, check mark), 2 (special modes) or 3 (Start Station) of the
    // menu up to date; other groups do nothing.
    void PopUpMenu_Refresh(std::int16_t group);
    std::int32_t ProgramGetMousePosX();
    std::int32_t ProgramGetMousePosY();
    // Shows the dropdown of the PopUpMenuIndex-th menu-bar entry of the menu form at the point;
    // returns when the menu has closed.
    void ProgramOpenPopUpMenu(std::int32_t XPos, std::int32_t YPos, std::int16_t PopUpMenuIndex);
    // Carries out the command of a chosen item.
    void ProgramReceivePopUpMenu_Click(std::int16_t MenuIndex, std::int16_t SubMenuIndex);

private:
    void Window_Create() const;

    mutable HWND hwnd_ = nullptr;
    mutable UniqueIcon icon_;
    mutable UniqueIcon iconSmall_;
    // True while the tray menu is open.
    bool popupOpen_ = false;
};

// The program's one main form; constructing it touches nothing outside the process.
Mfrm& MainForm();
