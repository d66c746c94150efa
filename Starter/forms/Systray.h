// The tray icon of the main form.
#pragma once

#include "MainForm.h"

#include <string>

// Adds the icon (the form's window and icon, identifier 1, callback SystrayMessage) and
// subclasses the form's window for target; false when the shell refused the icon.
bool Systray_Add(Mfrm& form, KtSubClassTarget& target, const std::string& tip);
// Deletes the icon and switches target off; false when the shell had no such icon.
bool Systray_Remove(Mfrm& form, KtSubClassTarget& target);
// Adds the icon again exactly as the last Systray_Add did, for a taskbar that has restarted.
bool Systray_Restore(Mfrm& form);
