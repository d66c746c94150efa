// The registry layer's conversions between value data and text; see RegistryText.h.
#include "RegistryText.h"

#include "LittleEndian.h"

#include <charconv>
#include <limits>

std::string RegistryBinary_ToText(const unsigned char* data, std::size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    if (length > 0) text.reserve(length * 3 - 1);
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0) text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }
    return text;
}

std::string RegistryDword_ToText(const unsigned char* data, std::size_t length) {
    return std::to_string(Bytes_ToInt32(std::string_view(reinterpret_cast<const char*>(data), length)));
}

std::size_t RegistryString_ByteLength(const unsigned char* data, std::size_t size) {
    std::size_t at = 0;
    while (at + 1 < size && (data[at] != 0 || data[at + 1] != 0)) at += 2;
    return at;
}

bool RegistryDword_FromText(const std::string& text, std::int32_t* number) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::size_t last = text.find_last_not_of(' ') + 1;
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    // from_chars takes "-" but no "+"; a second sign after the "+" stays an error.
    if (*begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
    long long value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return false;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return false;
    *number = static_cast<std::int32_t>(value);
    return true;
}

std::string RegistryDword_Bytes(std::int32_t number) { return Int32_ToBytes(number); }
