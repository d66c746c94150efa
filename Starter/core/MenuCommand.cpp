// What a click on the tray menu means, from the item's array, index and (first item) caption.
#include "StarterModel.h"

#include "Text.h"

namespace {

// The first item says by its caption what a click does; the caption was set from the target
// state when the menu was drawn, so the command follows what the user saw.
MenuCommand FirstItemCommand(const std::string& caption) {
    const std::string prefix = Ascii_ToLower(caption.substr(0, 3));
    if (prefix == "lau") return MenuCommand::LaunchTarget;
    if (prefix == "res") return MenuCommand::RestoreTarget;
    if (prefix == "clo") return MenuCommand::CloseTarget;
    return MenuCommand::None;
}

}  // namespace

MenuCommand MenuCommand_FromClick(std::int16_t menuIndex, std::int16_t subMenuIndex,
                                  const std::string& firstItemCaption) {
    switch (menuIndex) {
        case MenuArray_Main:
            switch (subMenuIndex) {
                case M1_Target: return FirstItemCommand(firstItemCaption);
                case M1_Homepage: return MenuCommand::VisitHomepage;
                case M1_AutoStart: return MenuCommand::ToggleAutoStart;
                case M1_CloseStarter: return MenuCommand::CloseStarter;
                case M1_RemoveStarter: return MenuCommand::RemoveStarter;
                default: return MenuCommand::None;
            }
        case MenuArray_SpecialModes:
            switch (subMenuIndex) {
                case M2_FastRead: return MenuCommand::LaunchFastRead;
                case M2_FastSort: return MenuCommand::LaunchFastSort;
                case M2_ExtendedHelp: return MenuCommand::LaunchExtendedHelp;
                default: return MenuCommand::None;
            }
        case MenuArray_StartStation:
            return (subMenuIndex >= 1 && subMenuIndex <= M3_Count) ? MenuCommand::StartStationItem : MenuCommand::None;
        default:
            return MenuCommand::None;
    }
}
