// Signed 32-bit numbers as the stored formats keep them (the data file's counts and Int32
// fields, a registry DWORD): four bytes, the least significant first, on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The 4 little-endian bytes of value, as a 4-character string.
inline std::string Int32_ToBytes(std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((u >> (8 * i)) & 0xFFu);
    return bytes;
}

// The little-endian value of the first 4 bytes; bytes missing from a shorter text count as 0.
inline std::int32_t Bytes_ToInt32(std::string_view bytes) {
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}
