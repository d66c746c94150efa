// Text and path helpers: path splitting, caption shortening, number and Boolean texts.
#include "Text.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// Blanks, tabs and line feeds count for nothing anywhere in a number ("1 000" is 1000), which
// stored values may rely on; carriage returns are not among them and end the number.
bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

class NumberReader {
public:
    explicit NumberReader(const std::string& text) : text_(text) { SkipIgnored(); }

    bool AtEnd() const { return position_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[position_]; }
    void Next() {
        ++position_;
        SkipIgnored();
    }
    bool Take(char upper) {
        const char c = Peek();
        if (c == upper || c == upper - 'A' + 'a') {
            Next();
            return true;
        }
        return false;
    }

private:
    void SkipIgnored() {
        while (position_ < text_.size() && IsIgnored(text_[position_])) {
            ++position_;
        }
    }

    const std::string& text_;
    std::size_t position_ = 0;
};

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Correct rounding of a double needs fewer than 770 significant decimal digits; the rest only
// matters as "some non-zero digit follows", kept as one sticky digit. This bounds the text the
// library converts however long the input is.
constexpr std::size_t KeptDigits = 780;

// Past these decimal exponents (for a value written as 0.ddd times ten to the exponent, first
// digit non-zero) every double overflows or underflows, so the library is not asked at all.
constexpr std::int64_t ExponentOverflow = 400;
// Exponent digits saturate here: far beyond any overflow, far below the int64 limit, so that
// the digit count of even a huge mantissa cannot bring a saturated exponent back into range.
constexpr std::int64_t ExponentLimit = 1000000000000000;

double Signed(bool negative, double magnitude) {
    return negative ? -magnitude : magnitude;
}

// Hexadecimal and octal numbers are whole and unsigned. Octal is regrouped into hexadecimal so
// that one exact, correctly rounded conversion serves both.
double WholeNumber_Read(NumberReader& reader, int base) {
    std::string digits;
    bool significant = false;
    for (int d = DigitValue(reader.Peek()); d >= 0 && d < base; d = DigitValue(reader.Peek())) {
        reader.Next();
        if (d != 0) significant = true;
        if (significant) digits.push_back(static_cast<char>(d));
    }
    if (digits.empty()) return 0.0;

    static const char hexDigits[] = "0123456789abcdef";
    std::string hex;
    if (base == 16) {
        for (char d : digits) hex.push_back(hexDigits[static_cast<unsigned char>(d)]);
    } else {
        // Leading zero bits so that the octal bits fill whole hexadecimal digits; bits above
        // the pending ones may pile up and wrap in the accumulator, as only 4 are ever taken.
        unsigned accumulator = 0;
        std::size_t pending = (4 - digits.size() * 3 % 4) % 4;
        for (char d : digits) {
            accumulator = (accumulator << 3) | static_cast<unsigned>(d);
            pending += 3;
            while (pending >= 4) {
                pending -= 4;
                hex.push_back(hexDigits[(accumulator >> pending) & 0xFu]);
            }
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(hex.data(), hex.data() + hex.size(), value,
                                        std::chars_format::hex);
    return result.ec == std::errc() ? value : HUGE_VAL;
}

// Builds "0.<digits>e<exponent>" itself and converts with from_chars, which never looks at the
// process locale: a decimal comma in the user's locale must not change stored numbers.
double DecimalNumber_Read(NumberReader& reader) {
    bool negative = false;
    if (reader.Peek() == '+' || reader.Peek() == '-') {
        negative = reader.Peek() == '-';
        reader.Next();
    }

    std::string digits;               // significant digits, leading zeros dropped
    bool sticky = false;              // a non-zero digit beyond KeptDigits
    std::int64_t pointShift = 0;      // digits before the point, minus zeros right after it
    auto readDigits = [&](bool afterPoint) {
        while (IsDecimalDigit(reader.Peek())) {
            const char c = reader.Peek();
            reader.Next();
            if (digits.empty() && c == '0') {
                if (afterPoint) --pointShift;
                continue;
            }
            if (!afterPoint) ++pointShift;
            if (digits.size() < KeptDigits) {
                digits.push_back(c);
            } else if (c != '0') {
                sticky = true;
            }
        }
    };
    readDigits(false);
    if (reader.Peek() == '.') {
        reader.Next();
        readDigits(true);
    }

    // An exponent letter without digits (1E, 1E+, 1Ex) counts as exponent 0: the mantissa
    // already read stays the number instead of the whole text falling back to 0.
    std::int64_t exponent = 0;
    if (reader.Take('E') || reader.Take('D')) {
        bool exponentNegative = false;
        if (reader.Peek() == '+' || reader.Peek() == '-') {
            exponentNegative = reader.Peek() == '-';
            reader.Next();
        }
        while (IsDecimalDigit(reader.Peek())) {
            if (exponent < ExponentLimit) exponent = exponent * 10 + (reader.Peek() - '0');
            reader.Next();
        }
        if (exponentNegative) exponent = -exponent;
    }

    if (digits.empty()) return 0.0;
    const std::int64_t scale = exponent + pointShift;
    if (scale > ExponentOverflow) return Signed(negative, HUGE_VAL);
    if (scale < -ExponentOverflow) return 0.0;

    std::string number = "0.";
    number += digits;
    if (sticky) number.push_back('1');
    number.push_back('e');
    number += std::to_string(scale);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        return scale > 0 ? Signed(negative, HUGE_VAL) : 0.0;
    }
    return Signed(negative, value);
}

template <typename Int>
Int Number_ToInteger(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = Number_RoundHalfEven(value);
    // Compared as doubles first: converting an out-of-range double to an integer is undefined.
    if (rounded <= static_cast<double>(std::numeric_limits<Int>::min())) {
        return std::numeric_limits<Int>::min();
    }
    if (rounded >= static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(rounded);
}

}  // namespace

char Ascii_ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Ascii_ToLower(std::string text) {
    for (char& c : text) c = Ascii_ToLower(c);
    return text;
}

bool Ascii_EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Ascii_ToLower(a[i]) != Ascii_ToLower(b[i])) return false;
    return true;
}

std::string Text_TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where a character starts: a byte that is no continuation, or a continuation byte that no
// lead byte within the three bytes before it claims (a stray one is a character of its own).
bool StartsCharacter(const std::string& text, std::size_t i) {
    if (!IsContinuationByte(text[i])) return true;
    for (std::size_t back = 1; back <= 3 && back <= i; ++back) {
        const auto lead = static_cast<unsigned char>(text[i - back]);
        if ((lead & 0xC0) == 0x80) continue;
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        return back >= length;
    }
    return true;
}

}  // namespace

std::u16string Text_ToUtf16(const std::string& text) {
    std::u16string units;
    units.reserve(text.size());
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned lead = byteAt(i);
        std::size_t length = 0;
        char32_t code = 0, least = 0;
        if (lead < 0x80) length = 1, code = lead;
        else if (lead >= 0xC2 && lead < 0xE0) length = 2, code = lead & 0x1F, least = 0x80;
        else if (lead >= 0xE0 && lead < 0xF0) length = 3, code = lead & 0x0F, least = 0x800;
        else if (lead >= 0xF0 && lead < 0xF5) length = 4, code = lead & 0x07, least = 0x10000;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = (byteAt(i + k) & 0xC0) == 0x80;
            code = (code << 6) | (byteAt(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are no characters.
        valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            units.push_back(static_cast<char16_t>(0xDC00 + lead));
            ++i;
        } else if (code >= 0x10000) {
            units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            i += length;
        } else {
            units.push_back(static_cast<char16_t>(code));
            i += length;
        }
    }
    return units;
}

std::size_t Text_CharCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (StartsCharacter(text, i)) ++count;
    return count;
}

std::string Text_FirstChars(const std::string& text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (StartsCharacter(text, i) && seen++ == count) return text.substr(0, i);
    }
    return text;
}

std::string Text_LastChars(const std::string& text, std::size_t count) {
    if (count == 0) return "";
    std::size_t seen = 0;
    for (std::size_t i = text.size(); i-- > 0;) {
        if (StartsCharacter(text, i) && ++seen == count) return text.substr(i);
    }
    return text;
}

std::string Path_WithTrailingBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

// Positions are size_t: stored paths are short, but a longer text must split just as well
// rather than overflow a narrower counter.
std::string Path_GetFileName(const std::string& text) {
    const std::size_t p = text.rfind('\\');
    return p == std::string::npos ? std::string() : text.substr(p + 1);
}

std::string Path_RemoveExtension(const std::string& text) {
    const std::size_t p = text.rfind('.');
    return p == std::string::npos ? text : text.substr(0, p);
}

std::string Path_GetExtension(const std::string& text) {
    const std::size_t p = text.rfind('.');
    return p == std::string::npos ? std::string() : text.substr(p + 1);
}

std::string Path_GetDirectory(const std::string& text) {
    const std::size_t p = text.rfind('\\');
    return p == std::string::npos ? std::string() : text.substr(0, p + 1);
}

std::string Text_Shorten(const std::string& text, std::int16_t maxLength) {
    const std::size_t limit = maxLength < 3 ? 3 : static_cast<std::size_t>(maxLength);
    if (Text_CharCount(text) <= limit) return text;
    // The end of a path names the program, so the end is what the caption keeps; whole
    // characters only, or the menu would show a broken one after the dots.
    return "..." + Text_LastChars(text, limit - 3);
}

double Text_ToNumber(const std::string& text) {
    NumberReader reader(text);
    if (reader.Peek() == '&') {
        reader.Next();
        if (reader.Take('H')) return WholeNumber_Read(reader, 16);
        if (reader.Take('O')) return WholeNumber_Read(reader, 8);
        return 0.0;
    }
    return DecimalNumber_Read(reader);
}

Boolean Text_ToBoolean(const std::string& text) {
    // ASCII upper-casing only: the stored texts are plain English, and no letter of another
    // code page may turn into a "TRUE".
    static const char expected[] = "TRUE";
    if (text.size() != 4) return BooleanFalse;
    for (std::size_t i = 0; i < 4; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != expected[i]) return BooleanFalse;
    }
    return BooleanTrue;
}

std::string Boolean_ToText(Boolean value) {
    return value == BooleanTrue ? "True" : "False";
}

double Number_RoundHalfEven(double value) {
    // Not nearbyint: that follows whatever rounding mode the process, or a library it loaded,
    // has set. round() always takes halves away from zero; a half is then sent to the even
    // neighbour by rounding value / 2 (exact for a half) and doubling.
    if (!std::isfinite(value)) return value;
    if (std::fabs(value - std::trunc(value)) != 0.5) return std::round(value);
    return 2.0 * std::round(value / 2.0);
}

std::int16_t Number_ToInt16(double value) {
    return Number_ToInteger<std::int16_t>(value);
}

std::int32_t Number_ToInt32(double value) {
    return Number_ToInteger<std::int32_t>(value);
}
