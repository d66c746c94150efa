// Where the test installation puts the product, the names the programs use, and the user's
// shell folders it reaches.
#pragma once

#include <string>

namespace lifecycle {

// The application's name is also its Start-menu group and the name of its desktop shortcut, as
// installers of the product's time did it. The folder name has a blank on purpose.
inline constexpr char kAppName[] = "Vembrol Lifecycle";
inline constexpr char kAppDir[] = "C:\\Program Files\\Vembrol Lifecycle\\";

// The installer's firm keeps its own key with a chain: a listed deep key and a listed ancestor
// with unlisted levels between them.
inline constexpr char kFirmKey[] = "Software\\VembrolLifecycleFirm";
inline constexpr char kFirmProductKey[] = "Software\\VembrolLifecycleFirm\\Vembrol Lifecycle";
inline constexpr char kFirmDeepKey[] = "Software\\VembrolLifecycleFirm\\Vembrol Lifecycle\\Settings\\Window\\Placement";
inline constexpr char kFirmUserKey[] = "Software\\VembrolLifecycleFirm\\Vembrol Lifecycle\\Recent Files";

// The product's own keys, shared by the Starter and the product's other programs.
inline constexpr char kProductKey[] = "Software\\Vembrol";
inline constexpr char kStartStationKey[] = "Software\\Vembrol\\KtStartStation";
inline constexpr char kStartUpKey[] = "Software\\Vembrol\\Starter\\StartUp";
inline constexpr char kAutoStartValue[] = "auto start target program";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunKeyNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Vembrol Starter";

// A product of the same firm that was on the machine before and must stay: its name begins
// like ours, so a removal that matched by prefix would take it too.
inline constexpr char kNeighbour[] = "Vembrol Lifecycle Tools";
inline constexpr char kNeighbourDir[] = "C:\\Program Files\\Vembrol Lifecycle Tools\\";

// The file the installer marks as kept: the user's own settings outlive the product.
inline constexpr char kKeptFile[] = "Data\\user-settings.ini";
inline constexpr char kKeptText[] = "[Window]\r\nLeft=120\r\nTop=80\r\n";

// The current user's shell folders, each ending with "\".
struct Folders {
    std::string programs;  // the Start menu's Programs folder
    std::string desktop;

    std::string Group() const { return programs + kAppName + "\\"; }
    std::string DesktopShortcut() const { return desktop + kAppName + ".lnk"; }
};

// Asks the shell; empty members when it has no answer.
Folders Folders_Get();

}  // namespace lifecycle
