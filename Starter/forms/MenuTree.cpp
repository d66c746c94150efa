// The tray menu's item tree and its command identifiers.
#include "MenuTree.h"

namespace {

// Captions stay exactly as users know them, access-key markers included. The positions are
// those of the M1_ and M2_ constants.
const std::vector<MenuItemDefinition> kM1 = {
    {"&Launch Vembrol (Normal Mode)", true, true, 0},
    {"-", true, true, 0},
    {"Launch Vembrol (Special Modes)...", true, true, MenuArray_SpecialModes},
    {"Launch Start Station Application...", true, true, MenuArray_StartStation},
    {"-", true, true, 0},
    {"Visit &Homepage", true, true, 0},
    {"-", true, true, 0},
    {"&Auto Start Vembrol", true, true, 0},
    {"-", true, true, 0},
    {"&Close Starter", true, true, 0},
    {"&Remove Starter", true, true, 0},
};

// The two fast modes are still dispatched, but Vembrol no longer offers them from the tray.
const std::vector<MenuItemDefinition> kM2 = {
    {"Fast Read", false, false, 0},
    {"Fast Sort", false, false, 0},
    {"Extended Help", true, true, 0},
};

// Captions come from the Start Station registry at every opening.
const std::vector<MenuItemDefinition> kM3(M3_Count, MenuItemDefinition{"", true, true, 0});

const std::vector<MenuItemDefinition> kNone;

// Room for 99 items per array keeps identifiers readable in a debugger: 101 is M1(1).
constexpr unsigned kArrayStride = 100;

}  // namespace

const std::vector<MenuItemDefinition>& MenuArray_Definition(std::int16_t menuIndex) {
    switch (menuIndex) {
        case MenuArray_Main: return kM1;
        case MenuArray_SpecialModes: return kM2;
        case MenuArray_StartStation: return kM3;
        default: return kNone;
    }
}

std::uint16_t MenuCommandId_Make(std::int16_t menuIndex, std::int16_t index) {
    return static_cast<std::uint16_t>(static_cast<unsigned>(menuIndex) * kArrayStride + static_cast<unsigned>(index));
}

bool MenuCommandId_Split(unsigned id, std::int16_t& menuIndex, std::int16_t& index) {
    const unsigned array = id / kArrayStride;
    const unsigned item = id % kArrayStride;
    if (array < MenuArray_Main || array > MenuArray_StartStation) return false;
    const auto& items = MenuArray_Definition(static_cast<std::int16_t>(array));
    if (item < 1 || item > items.size()) return false;
    menuIndex = static_cast<std::int16_t>(array);
    index = static_cast<std::int16_t>(item);
    return true;
}
