// Fuzz target for the text helpers: arbitrary bytes as paths, captions and number texts.
#include "Text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool IsEven(double whole) {
    return std::fmod(whole, 2.0) == 0.0;
}

// Judged against the value itself rather than against Number_RoundHalfEven, so that a fault
// shared by the rounding and the conversion still shows.
void CheckRounding(double value) {
    const double rounded = Number_RoundHalfEven(value);
    if (std::isnan(value)) {
        Check(std::isnan(rounded), "rounding keeps NaN");
        return;
    }
    if (std::isinf(value)) {
        Check(rounded == value, "rounding keeps infinity");
        return;
    }
    Check(std::floor(rounded) == rounded, "rounding gives a whole number");
    const double distance = std::fabs(rounded - value);
    Check(distance <= 0.5, "rounding goes to the nearest whole number");
    Check(distance != 0.5 || IsEven(rounded), "a half goes to the even neighbour");
}

template <typename Int>
void CheckConversion(double value, Int result, Int low, Int high) {
    if (std::isnan(value)) {
        Check(result == 0, "NaN converts to 0");
    } else if (value > high) {
        Check(result == high, "too large saturates at the top");
    } else if (value < low) {
        Check(result == low, "too small saturates at the bottom");
    } else {
        const double distance = std::fabs(static_cast<double>(result) - value);
        Check(distance <= 0.5, "conversion goes to the nearest whole number");
        Check(distance != 0.5 || IsEven(result), "conversion sends a half to the even neighbour");
    }
}

void CheckNumber(double value) {
    CheckRounding(value);
    CheckConversion<std::int16_t>(value, Number_ToInt16(value), INT16_MIN, INT16_MAX);
    CheckConversion<std::int32_t>(value, Number_ToInt32(value), INT32_MIN, INT32_MAX);
}

void CheckPaths(const std::string& text) {
    const std::string directory = Path_GetDirectory(text);
    const std::string fileName = Path_GetFileName(text);
    if (text.find('\\') != std::string::npos) {
        Check(directory + fileName == text, "directory and file name make up the path");
        Check(!directory.empty() && directory.back() == '\\', "directory ends with a backslash");
        Check(fileName.find('\\') == std::string::npos, "file name holds no backslash");
    } else {
        Check(directory.empty() && fileName.empty(), "no backslash: no directory, no file name");
    }
    const std::string stem = Path_RemoveExtension(text);
    const std::string extension = Path_GetExtension(text);
    if (text.find('.') != std::string::npos) {
        Check(stem + "." + extension == text, "stem, dot and extension make up the path");
        Check(extension.find('.') == std::string::npos, "extension holds no dot");
    } else {
        Check(stem == text && extension.empty(), "no dot: the whole text, no extension");
    }
}

void CheckShorten(const std::string& text, std::int16_t maxLength) {
    const std::string shortened = Text_Shorten(text, maxLength);
    const std::size_t limit = maxLength < 3 ? 3 : static_cast<std::size_t>(maxLength);
    if (text.size() <= limit) {
        Check(shortened == text, "a short enough text stays as it is");
        return;
    }
    Check(shortened.size() == limit, "a shortened text is exactly the limit long");
    Check(shortened.compare(0, 3, "...") == 0, "a shortened text starts with three dots");
    Check(text.compare(text.size() - (limit - 3), limit - 3, shortened, 3, limit - 3) == 0,
          "a shortened text keeps the end");
}

void CheckNumberText(const std::string& text) {
    const double value = Text_ToNumber(text);
    Check(!std::isnan(value), "a number text never reads as NaN");
    std::string packed;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') packed.push_back(c);
    }
    const double packedValue = Text_ToNumber(packed);
    Check(packedValue == value && std::signbit(packedValue) == std::signbit(value),
          "blanks, tabs and line feeds do not change the number");
    CheckNumber(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPaths(text);
    CheckNumberText(text);

    if (size >= 2) {
        std::int16_t maxLength = 0;
        std::memcpy(&maxLength, data, sizeof maxLength);
        CheckShorten(text.substr(2), maxLength);
    }
    // Raw bit patterns reach NaNs, infinities and subnormals that no number text produces.
    if (size >= 8) {
        double raw = 0.0;
        std::memcpy(&raw, data, sizeof raw);
        CheckNumber(raw);
    }

    const Boolean flag = Text_ToBoolean(text);
    Check(flag == BooleanTrue || flag == BooleanFalse, "a Boolean text reads as -1 or 0");
    Check(Text_ToBoolean(Boolean_ToText(flag)) == flag, "a Boolean survives its text");
    return 0;
}
