// The registry access layer: the only code that touches the registry. Every operation opens
// what it needs and closes it again; a failed read shows in Registry_ReadFailed, and writes
// and deletes tell whether they took effect.
#pragma once

#include "RegistryRoots.h"
#include "Win32.h"

#include <cstdint>
#include <string>

// Value kinds by their Win32 codes.
constexpr std::int32_t RegKind_String = 1;        // REG_SZ
constexpr std::int32_t RegKind_ExpandString = 2;  // REG_EXPAND_SZ
constexpr std::int32_t RegKind_Binary = 3;        // REG_BINARY
constexpr std::int32_t RegKind_Dword = 4;         // REG_DWORD
constexpr std::int32_t RegKind_MultiString = 7;   // REG_MULTI_SZ

// Set by Registry_GetValue: True when it could not open the key or read the value.
extern bool Registry_ReadFailed;

// The value as text: REG_BINARY as "0A FF 00", REG_DWORD as signed decimal, every other kind
// as its text up to the first NUL. "" with Registry_ReadFailed set on failure.
std::string Registry_GetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName);

// Writes a value of kind 1, 3 or 4, creating the key when missing; other kinds write nothing
// (and count as success). Texts are UTF-8; strings are stored as UTF-16 without a terminator.
// False when nothing could be stored (the key cannot be opened for writing, or a kind 4 text
// is no 32-bit number); callers that only try may ignore it.
bool Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, std::int32_t kind);
bool Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       std::int32_t value, std::int32_t kind);

// False when the key could not be created or opened.
bool Registry_CreateKey(std::uint32_t root, const std::string& keyPath);
// True when the value is not there afterwards (a missing key or value counts as deleted).
bool Registry_DeleteValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName);
// RegDeleteKeyW on root and keyPath as given; subkeys are not removed first, so a key that
// still has some stays and gives false. True when the key is not there afterwards; an empty
// path (the root itself) is refused with false.
bool Registry_DeleteKey(std::uint32_t root, const std::string& keyPath);
// The same, with the registry's own result (ERROR_FILE_NOT_FOUND: it was not there), for
// callers that tell what happened.
LONG Registry_DeleteKeyResult(std::uint32_t root, const std::string& keyPath);

// The writers behind Registry_SetValue; each returns the platform's result code.
LONG Registry_SetStringValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text);
LONG Registry_SetDwordValue(HKEY key, const std::string& valueName, std::int32_t kind, std::int32_t number);
LONG Registry_SetBinaryValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text);
