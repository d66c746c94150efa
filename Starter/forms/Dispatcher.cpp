// The command behind every item of the tray menu.
#include "Mfrm.h"

#include "MenuForm.h"
#include "StarterTexts.h"

void Mfrm::ProgramReceivePopUpMenu_Click(std::int16_t MenuIndex, std::int16_t SubMenuIndex) {
    const std::string path = TargetProgram_GetPath();
    // The first item acts by the caption the user saw, not by a fresh look at Vembrol.
    const std::string firstCaption = MenuForm().M1(M1_Target).Caption();

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
            AutoStart_Toggle();
            break;
        case MenuCommand::CloseStarter:
            Form_Unload(0);  // does not return: the process ends there
        case MenuCommand::RemoveStarter:
            Starter_Remove();
            break;
        case MenuCommand::None:
            break;
    }
}

void Mfrm::AutoStart_Toggle() {
    Boolean wanted = BooleanFalse;
    if (AutoStartTarget == BooleanFalse) {
        if (StarterBox(StarterText::AutoStartQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
        wanted = BooleanTrue;
    }
    if (AutoStart_Save(wanted)) {
        AutoStartTarget = wanted;
        return;
    }
    // The check mark shows what the next start will do, and that is what the registry holds.
    AutoStartTarget = AutoStart_Load();
    StarterBox(StarterText::AutoStartNotSaved, MB_OK | MB_ICONEXCLAMATION);
}

void Mfrm::Starter_Remove() {
    if (StarterBox(StarterText::RemoveQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        StarterBox(StarterText::RemoveDeclined, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Removed before the user is told so: a Run entry that stays would start the Starter again at
    // the next log-on, so a Starter that could not remove it stays and says why. Only this Run
    // value goes: the NT one and the product's settings stay, so a manual start restores the
    // Starter exactly as it was.
    if (!StarterRunEntry_Remove()) {
        StarterBox(StarterText::RemoveNotSaved, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    StarterBox(StarterText::RemoveConfirmed, MB_OK | MB_ICONINFORMATION);
    Form_Unload(0);  // does not return
}
