// How registry value data reads as text, and how a text becomes a DWORD: the registry layer's
// rules without the platform, so that they are tested and fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Each byte as two upper-case hex digits, pairs separated by one blank: 0A FF 00.
std::string RegistryBinary_ToText(const unsigned char* data, std::size_t length);

// The first four bytes as a signed little-endian number in decimal (0xFFFFFFFF is -1). Bytes
// beyond length read as zero, so a value shorter than four bytes never reads past its data.
std::string RegistryDword_ToText(const unsigned char* data, std::size_t length);

// The byte length of the UTF-16LE text at the start of data: up to, not including, its first
// NUL character, or all whole characters of data when it has none. The length the platform
// reports is not used, so a value's own terminator and the further strings of a REG_MULTI_SZ
// never come back.
std::size_t RegistryString_ByteLength(const unsigned char* data, std::size_t size);

// The decimal text of a DWORD to be written: blanks around an optionally signed run of
// digits that fits 32 bits. False for anything else (the caller's error: nothing is written).
bool RegistryDword_FromText(const std::string& text, std::int32_t* number);

// The four little-endian bytes stored for a DWORD.
std::string RegistryDword_Bytes(std::int32_t number);
