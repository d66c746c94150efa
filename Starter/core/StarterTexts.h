// Every fixed text the Starter shows or stores; other programs and users' habits rely on them,
// so they stay exactly as they are, blanks included.
#pragma once

namespace StarterText {

inline constexpr char AppTitle[] = "Vembrol Starter";
inline constexpr char MainCaption[] = "Vembrol Starter v1.0";
inline constexpr char TrayTip[] = "Vembrol Starter";
inline constexpr char TrayMessageName[] = "KtSystray";
inline constexpr char TraySubclassName[] = "KtSystray_TargetObject";

// The product's web site: a bare host name, used on command lines and in the error message.
inline constexpr char WebAddress[] = "www.vembrol.example";

inline constexpr char TargetFileName[] = "Vembrol.exe";
inline constexpr char SwitchFastRead[] = " /FastRead";
inline constexpr char SwitchFastSort[] = " /FastSort";
inline constexpr char SwitchExtendedHelp[] = " /ExtendedHelp";

inline constexpr char TitleNormal[] = "Vembrol";
inline constexpr char TitleFastRead[] = "FastRead - Vembrol";
inline constexpr char TitleFastSort[] = "FastSort - Vembrol";
inline constexpr char TitleExtendedHelp[] = "Vembrol (extended help mode)";

inline constexpr char CaptionLaunch[] = "Launch Vembrol (Normal Mode)";
inline constexpr char CaptionRestore[] = "Restore Vembrol (Minimized)";
inline constexpr char CaptionClose[] = "Close Vembrol (Running)";
inline constexpr char CaptionNotDefined[] = "[not defined]";

inline constexpr char TargetMissingNormal[] = "Vembrol was not found in current directory  !";
inline constexpr char TargetMissingMode[] =
    "Vembrol was not found in current directory, please move this program to the right location !";
inline constexpr char AutoStartQuestion[] =
    "Vembrol will now be automatically started at Windows start up "
    "so that you can use it to quickly play mp3 files and start any of the Start Station applications "
    "or to create your own skin. Do you agree ?";
inline constexpr char RemoveQuestion[] =
    "Vembrol Starter needs hardly memory and allows you to quickly start Vembrol, the great tool to "
    "clean up your mp3 collection. Do you really want to remove Vembrol Starter ?";
inline constexpr char RemoveDeclined[] = "Good boy.";
inline constexpr char RemoveConfirmed[] = "To reinstall Vembrol Starter just start it once again manually.";
// A setting the user changed could not be stored (HKEY_LOCAL_MACHINE is read-only to standard users).
inline constexpr char AutoStartNotSaved[] =
    "The Auto Start setting could not be saved, as changing it needs administrator rights !";
inline constexpr char RemoveNotSaved[] =
    "Vembrol Starter could not be removed from Windows start up, as this needs administrator rights !";

// Registry locations under HKEY_LOCAL_MACHINE.
inline constexpr char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char RunKeyNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";
inline constexpr char RunValueName[] = "Vembrol Starter";
inline constexpr char ProductKey[] = "Software\\Vembrol\\";
inline constexpr char StartUpSubKey[] = "Starter\\StartUp\\";
inline constexpr char AutoStartValueName[] = "auto start target program";

}  // namespace StarterText

// Texts of the Start Station, the file-type lookup and the web site command.
namespace StarterText {

inline constexpr char StartStationSubKey[] = "KtStartStation\\";
inline constexpr char BrowseApplicationValueName[] = "browse application";
inline constexpr char SystemRootPlaceholder[] = "%systemroot%";

// "Error starting application '" + command + "' !"
inline constexpr char AppStartErrorBegin[] = "Error starting application '";
inline constexpr char AppStartErrorEnd[] = "' !";
// "Please enter path to browse application (" + browse application + " not found):"
inline constexpr char BrowsePromptBegin[] = "Please enter path to browse application (";
inline constexpr char BrowsePromptEnd[] = " not found):";
inline constexpr char BrowseTitle[] = "Error during browsing";
inline constexpr char BrowseNotSaved[] =
    "The browse application could not be saved for next time, as this needs administrator rights !";

inline constexpr char WebSampleDocument[] = "C:\\Text.html";
inline constexpr char WebVerb[] = "open";
// "Error starting Internet browser application, please go to " + address + " manually !"
inline constexpr char WebErrorBegin[] = "Error starting Internet browser application, please go to ";
inline constexpr char WebErrorEnd[] = " manually !";

}  // namespace StarterText
