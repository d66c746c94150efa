// The tray menu's fixed item tree, and the command identifiers that lead a chosen platform menu
// item back to its (MenuIndex, Index) pair. Portable: no platform types.
#pragma once

#include "StarterModel.h"

#include <cstdint>
#include <vector>

// One item of the arrays M1, M2 and M3 as the menu form defines it. A caption of "-" makes the
// item a separator; a nonzero submenu names the array that the item opens.
struct MenuItemDefinition {
    const char* caption;
    bool visible;
    bool enabled;
    std::int16_t submenu;
};

// The caption of the menu-bar entry whose dropdown is the tray popup.
inline constexpr char MenuBar_Caption[] = "[M1]";

// The items of array 1, 2 or 3 in Index order (Index 1 first); empty for any other number.
const std::vector<MenuItemDefinition>& MenuArray_Definition(std::int16_t menuIndex);

// Every item has its own identifier, separators and submenu heads included, so that each one can
// be found in the platform menu by identifier.
std::uint16_t MenuCommandId_Make(std::int16_t menuIndex, std::int16_t index);
// False for an identifier that no item of the tree carries.
bool MenuCommandId_Split(unsigned id, std::int16_t& menuIndex, std::int16_t& index);
