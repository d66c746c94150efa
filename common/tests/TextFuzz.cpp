// Arbitrary bytes as paths, captions and number texts; aborts when an invariant breaks.
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
        const std::size_t n = limit < 3 ? 3 : static_cast<std::size_t>(limit);
        Check(rest.size() <= n ? shortened == rest
                               : shortened == "..." + rest.substr(rest.size() - (n - 3)));
    }
    const Boolean flag = Text_ToBoolean(text);
    Check((flag == BooleanTrue || flag == BooleanFalse) && Text_ToBoolean(Boolean_ToText(flag)) == flag);
    return 0;
}
