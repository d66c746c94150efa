// Arbitrary bytes as paths, captions and number texts, and as registry value data; aborts
// when an invariant breaks.
#include "RegistryText.h"
#include "Text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Judged against the value itself, so a fault shared with Number_RoundHalfEven still shows.
template <typename Int>
void CheckConversion(double value, Int result, Int low, Int high) {
    if (std::isnan(value)) return Check(result == 0);
    if (value >= high || value <= low) return Check(result == (value >= high ? high : low));
    const double distance = std::fabs(static_cast<double>(result) - value);
    Check(distance < 0.5 || (distance == 0.5 && result % 2 == 0));
}

// Registry data: the hex text gives the bytes back, the DWORD text gives the number back, a
// string ends at the first whole NUL character and never past the data.
void CheckRegistryText(const std::uint8_t* data, std::size_t size, const std::string& text) {
    const std::string hex = RegistryBinary_ToText(data, size);
    Check(hex.size() == (size ? 3 * size - 1 : 0));
    for (std::size_t i = 0; i < size; ++i)
        Check(std::strtoul(hex.substr(3 * i, 2).c_str(), nullptr, 16) == data[i] && (i == 0 || hex[3 * i - 1] == ' '));

    std::int32_t number = 0;
    Check(RegistryDword_FromText(RegistryDword_ToText(data, size), &number));
    std::string padded = text.substr(0, 4);
    padded.resize(4, '\0');
    Check(RegistryDword_Bytes(number) == padded);

    const std::size_t length = RegistryString_ByteLength(data, size);
    Check(length % 2 == 0 && length <= size);
    for (std::size_t at = 0; at < length; at += 2) Check(data[at] != 0 || data[at + 1] != 0);
    Check(length + 1 >= size || (data[length] == 0 && data[length + 1] == 0));

    // A text taken as a DWORD is the number the Starter's own number reading sees in it.
    if (RegistryDword_FromText(text, &number)) Check(Text_ToNumber(text) == number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool hasSlash = text.find('\\') != std::string::npos, hasDot = text.find('.') != std::string::npos;
    Check(Path_GetDirectory(text) + Path_GetFileName(text) == (hasSlash ? text : ""));
    Check(Path_RemoveExtension(text) + (hasDot ? "." + Path_GetExtension(text) : "") == text);

    double value = Text_ToNumber(text);
    std::string packed;  // blanks, tabs and line feeds anywhere must not change the number
    for (char c : text) if (c != ' ' && c != '\t' && c != '\n') packed.push_back(c);
    Check(!std::isnan(value) && Text_ToNumber(packed) == value);
    if (size >= 8) std::memcpy(&value, data, sizeof value);  // raw bits reach NaN and subnormals
    CheckConversion<std::int16_t>(value, Number_ToInt16(value), INT16_MIN, INT16_MAX);
    CheckConversion<std::int32_t>(value, Number_ToInt32(value), INT32_MIN, INT32_MAX);

    if (size >= 2) {
        std::int16_t limit = 0;
        std::memcpy(&limit, data, sizeof limit);
        const std::string rest = text.substr(2), shortened = Text_Shorten(rest, limit);
        const std::size_t n = limit < 3 ? 3 : static_cast<std::size_t>(limit), count = Text_CharCount(rest);
        if (count <= n) {
            Check(shortened == rest);
        } else {
            // "..." and an end of the text that starts where a character starts.
            const std::string tail = shortened.substr(3);
            Check(shortened.compare(0, 3, "...") == 0 && Text_CharCount(shortened) == n && tail.size() <= rest.size() &&
                  rest.compare(rest.size() - tail.size(), tail.size(), tail) == 0 &&
                  Text_CharCount(rest.substr(0, rest.size() - tail.size())) + Text_CharCount(tail) == count);
        }
    }
    CheckRegistryText(data, size, text);
    const Boolean flag = Text_ToBoolean(text);
    Check((flag == BooleanTrue || flag == BooleanFalse) && Text_ToBoolean(Boolean_ToText(flag)) == flag);
    return 0;
}
