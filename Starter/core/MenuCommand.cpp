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
        case 1:
            switch (subMenuIndex) {
                case 1: return FirstItemCommand(firstItemCaption);
                case 6: return MenuCommand::VisitHomepage;
                case 8: return MenuCommand::ToggleAutoStart;
                case 10: return MenuCommand::CloseStarter;
                case 11: return MenuCommand::RemoveStarter;
                default: return MenuCommand::None;
            }
        case 2:
            switch (subMenuIndex) {
                case 1: return MenuCommand::LaunchFastRead;
                case 2: return MenuCommand::LaunchFastSort;
                case 3: return MenuCommand::LaunchExtendedHelp;
                default: return MenuCommand::None;
            }
        case 3:
            return (subMenuIndex >= 1 && subMenuIndex <= 5) ? MenuCommand::StartStationItem : MenuCommand::None;
        default:
            return MenuCommand::None;
    }
}
