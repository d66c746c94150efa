// The main form Mfrm: the hidden window behind the tray icon, the Starter's state in memory, the
// start-up and shutdown sequences, and the public operations of the tray menu.
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
    // How long the Starter waits for a taskbar that refuses the icon, and how often it asks again
    // meanwhile (besides at each "TaskbarCreated"). Early in a log-on the taskbar may not be
    // there yet, and a restarted one may be busy for a while.
    DWORD TrayWait_LimitMs = 120000;
    UINT TrayWait_IntervalMs = 5000;

    // ---- start-up and shutdown ----
    // Ends a second instance, then Form_Start.
    void Form_Load();
    // Everything of the start-up after the single-instance check: the tray icon, then (perhaps
    // only once a late taskbar takes the icon) the Run entries, the Start Station and Auto Start.
    void Form_Start();
    // Removes the tray icon and every subclassing, then ends the process.
    [[noreturn]] void Form_Unload(std::int16_t Cancel);

    // ---- form properties ----
    // The form's window, created (hidden and without side effects) on first use.
    HWND hwnd() const override;
    // The product icon as the tray shows it: the small-icon size at the DPI of the form's
    // monitor, the primary one, which holds the notification area.
    HICON Icon() const;
    void Form_SetSize(int width, int height);
    void Form_SetEnabled(bool enabled);
    void Form_SetVisible(bool visible);

    // ---- tray messages (the form is the target of its own window's subclassing) ----
    void KtSubClassWindowProc(const std::string& SourceDescription, HWND hwnd, UINT Msg, WPARAM wParam,
                              LPARAM lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) override;
    // The taskbar (re)started, or the retry timer of a Starter waiting for it fired.
    void Taskbar_Available();
    // The scaling of the form's monitor changed: the tray icon is drawn again at the new DPI.
    void Dpi_Changed(UINT dpi);

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
    // Adds the tray icon and routes the window's messages to this form; false when refused.
    bool Tray_Add();
    // Adds the icon again, drawn at the form's DPI now, for a taskbar that forgot it; true also
    // when the taskbar still shows it.
    bool Tray_AddAgain();
    // Loads the tray icon for dpi unless it is already drawn at that DPI; true when it changed.
    bool TrayIcon_Load(UINT dpi) const;
    // Asks the taskbar again every TrayWait_IntervalMs until TrayWait_LimitMs have passed.
    void TrayWait_Begin();
    // The start-up steps that follow a tray icon the shell accepted.
    void Form_StartResident();
    // The Auto Start command: asks before switching on, and tells when the switch was not saved.
    void AutoStart_Toggle();
    // The Remove Starter command; returns only when the user kept the Starter or its Run entry
    // could not be removed.
    void Starter_Remove();

    mutable HWND hwnd_ = nullptr;
    mutable UniqueIcon icon_;
    mutable UniqueIcon iconSmall_;
    mutable UniqueIcon trayIcon_;
    mutable UINT trayIconDpi_ = 0;
    // True while the shell sends the callback in version 4's form.
    bool trayVersion4_ = false;
    TrayClicks trayClicks_;
    // True while the tray menu is open.
    bool popupOpen_ = false;
    // Set while the Starter waits for a taskbar that takes the icon, at start-up or after the
    // taskbar restarted.
    bool trayWaiting_ = false;
    // Set once the start-up has completed.
    bool resident_ = false;
    DWORD trayWaitStart_ = 0;
};

// The program's one main form; constructing it touches nothing outside the process.
Mfrm& MainForm();
