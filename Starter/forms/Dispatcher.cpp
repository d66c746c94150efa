// The command behind every item of the tray menu.
#include "MainForm.h"

#include "MenuForm.h"
#include "StarterTexts.h"

void Mfrm::ProgramReceivePopUpMenu_Click(std::int16_t MenuIndex, std::int16_t SubMenuIndex) {
    const std::string path = TargetProgram_GetPath();
    // The first item acts by the caption the user saw, not by a fresh look at Vembrol.
    const std::string firstCaption = MenuForm().M1(1).Caption();

    switch (MenuCommand_FromClick(MenuIndex, SubMenuIndex, firstCaption)) {
        case MenuCommand::LaunchTarget:
            TargetProgram_Launch();
            break;
        case MenuCommand::RestoreTarget:
            TargetWindow_Control(TargetAction_Restore);
            break;
        case MenuCommand::CloseTarget:
            TargetWindow_Control(TargetAction_Close);
            break;
        case MenuCommand::LaunchFastRead:
            TargetProgram_LaunchMode(path, StarterText::SwitchFastRead);
            break;
        case MenuCommand::LaunchFastSort:
            TargetProgram_LaunchMode(path, StarterText::SwitchFastSort);
            break;
        case MenuCommand::LaunchExtendedHelp:
            TargetProgram_LaunchMode(path, StarterText::SwitchExtendedHelp);
            break;
        case MenuCommand::StartStationItem:
            StartStation_Launch(StartStation, SubMenuIndex);
            break;
        case MenuCommand::VisitHomepage:
            WebSite_Open();
            break;
        case MenuCommand::ToggleAutoStart:
            if (AutoStartTarget != BooleanFalse) {
                AutoStartTarget = BooleanFalse;
                AutoStart_Save(AutoStartTarget);
            } else if (StarterBox(StarterText::AutoStartQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
                AutoStartTarget = BooleanTrue;
                AutoStart_Save(AutoStartTarget);
            }
            break;
        case MenuCommand::CloseStarter:
            Form_Unload(0);  // does not return: the process ends there
        case MenuCommand::RemoveStarter:
            if (StarterBox(StarterText::RemoveQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
                StarterBox(StarterText::RemoveDeclined, MB_OK | MB_ICONINFORMATION);
                break;
            }
            StarterBox(StarterText::RemoveConfirmed, MB_OK | MB_ICONINFORMATION);
            // Only this Run value: the NT one and the product's settings stay, so a manual start
            // restores the Starter exactly as it was.
            StarterRunEntry_Remove();
            Form_Unload(0);  // does not return
        case MenuCommand::None:
            break;
    }
}
