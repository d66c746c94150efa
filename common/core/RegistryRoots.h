// The registry's predefined root keys, as the 32-bit values that data files, settings and
// callers carry (root and key path always travel separately).
#pragma once

#include <cstdint>

constexpr std::uint32_t RegRoot_ClassesRoot = 0x80000000u;
constexpr std::uint32_t RegRoot_CurrentUser = 0x80000001u;
constexpr std::uint32_t RegRoot_LocalMachine = 0x80000002u;
constexpr std::uint32_t RegRoot_Users = 0x80000003u;
constexpr std::uint32_t RegRoot_CurrentConfig = 0x80000005u;

// Only these five are roots a data file may name; any other value would reach the registry as
// a raw handle.
constexpr bool RegRoot_IsPredefined(std::uint32_t root) {
    return root == RegRoot_ClassesRoot || root == RegRoot_CurrentUser || root == RegRoot_LocalMachine ||
           root == RegRoot_Users || root == RegRoot_CurrentConfig;
}
