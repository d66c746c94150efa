// Tests of the text helpers: path splitting, captions, number texts and Boolean texts.
#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

TEST(PathSplitting, CutsAtTheLastSeparatorOfTheWholeText) {
    struct Case {
        const char* text;
        const char* directory;
        const char* fileName;
        const char* withoutExtension;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\Tools\\Player.exe", "C:\\Tools\\", "Player.exe", "C:\\Tools\\Player", "exe"},
        {"Player.exe", "", "", "Player", "exe"},
        {"C:\\", "C:\\", "", "C:\\", ""},
        {"C:\\Tools\\", "C:\\Tools\\", "", "C:\\Tools\\", ""},
        {"C:\\my.dir\\readme", "C:\\my.dir\\", "readme", "C:\\my", "dir\\readme"},
        {"archive.tar.gz", "", "", "archive.tar", "gz"},
        {".profile", "", "", "", "profile"},
        {"name.", "", "", "name", ""},
        {"\\\\server\\share\\a", "\\\\server\\share\\", "a", "\\\\server\\share\\a", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.directory, Path_GetDirectory(c.text));
        EXPECT_EQ(c.fileName, Path_GetFileName(c.text));
        EXPECT_EQ(c.withoutExtension, Path_RemoveExtension(c.text));
        EXPECT_EQ(c.extension, Path_GetExtension(c.text));
    }
}

TEST(PathSplitting, TextsBeyondSixteenBitPositionsStillSplit) {
    const std::string directory = "C:\\" + std::string(40000, 'd') + "\\";
    EXPECT_EQ(directory, Path_GetDirectory(directory + "x.txt"));
    EXPECT_EQ("x.txt", Path_GetFileName(directory + "x.txt"));
}

TEST(CaptionShortening, KeepsTheEndBehindThreeDotsAtExactlyTheLimit) {
    const std::string sixty = "C:\\Program Files\\Some Vendor\\Some Products\\bin\\toolbox64.exe";
    ASSERT_EQ(60u, sixty.size());
    EXPECT_EQ("..." + sixty.substr(13), Text_Shorten(sixty, 50));
    EXPECT_EQ(sixty.substr(10), Text_Shorten(sixty.substr(10), 50));
    EXPECT_EQ(sixty, Text_Shorten(sixty, 60));
    EXPECT_EQ("...", Text_Shorten(sixty, 3));
    // Limits below 3 would leave no room for the dots; they act as 3.
    for (std::int16_t limit : {std::int16_t{2}, std::int16_t{0}, std::int16_t{-1}, std::int16_t{INT16_MIN}}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ("...", Text_Shorten("abcd", limit));
        EXPECT_EQ("abc", Text_Shorten("abc", limit));
        EXPECT_EQ("", Text_Shorten("", limit));
    }
}

TEST(NumberTexts, ReadTheNumberAtTheStartAndIgnoreTheRest) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"2abc", 2}, {"7,5", 7}, {"1 2", 12}, {"1.5x", 1.5}, {"1E2", 100}, {"-3", -3},
        {"", 0}, {"abc", 0}, {"  \t\n42", 42}, {"- 3", -3}, {"+4", 4}, {"1 . 2 5", 1.25},
        {"1e2", 100}, {"1D2", 100}, {"1d-2", 0.01}, {"1E 2", 100}, {"2.5E+1", 25},
        {"1E", 1}, {"1Ex", 1}, {"1E+", 1}, {"1E-", 1}, {".5", 0.5}, {"5.", 5}, {".", 0},
        {"-", 0}, {"+-1", 0}, {"--1", 0}, {"E5", 0}, {"1.2.3", 1.2}, {"0.001", 0.001},
        {"1\r2", 1}, {"007", 7}, {"-0", 0}, {"12345678901234567890", 12345678901234567890.0},
        {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&o 7 7", 63}, {" & H 1 0", 16},
        {"&H", 0}, {"&HG", 0}, {"&O8", 0}, {"&H1G", 1}, {"&O78", 7}, {"&HFFFFFFFF", 4294967295.0},
        {"&X1", 0}, {"&", 0}, {"-&H1", 0}, {"&H1.5", 1}, {"&O0000000000000000000000000001", 1},
        {"&O1777777777777777777777", 18446744073709551615.0}, {"&H00000000000000010", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, Text_ToNumber(c.text));
    }
}

TEST(NumberTexts, OutOfRangeNumbersGiveInfinityOrZero) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(inf, Text_ToNumber("9E99999"));
    EXPECT_EQ(-inf, Text_ToNumber("-9E99999"));
    EXPECT_EQ(inf, Text_ToNumber("1E309"));
    EXPECT_EQ(inf, Text_ToNumber("9E99999999999999999999999999"));
    EXPECT_EQ(0.0, Text_ToNumber("1E-99999999999999999999999999"));
    EXPECT_EQ(0.0, Text_ToNumber("1E-400"));
    EXPECT_EQ(inf, Text_ToNumber("&H" + std::string(300, 'F')));
    EXPECT_EQ(inf, Text_ToNumber("&O" + std::string(400, '7')));
    EXPECT_EQ(std::numeric_limits<double>::max(), Text_ToNumber("1.7976931348623157E308"));
    EXPECT_EQ(std::numeric_limits<double>::denorm_min(), Text_ToNumber("4.9406564584124654E-324"));
    EXPECT_EQ(std::ldexp(1.0, 1020), Text_ToNumber("&H1" + std::string(255, '0')));
}

// The decimal digits of 3 * 5^1075: times 10^-1075 that is 1.5 times the smallest subnormal,
// a tie whose exact text has more than 750 significant digits.
std::string SubnormalTieDigits() {
    std::string digits = "3";  // least significant digit first
    for (int i = 0; i < 1075; ++i) {
        int carry = 0;
        for (char& d : digits) {
            const int product = (d - '0') * 5 + carry;
            d = static_cast<char>('0' + product % 10);
            carry = product / 10;
        }
        if (carry != 0) digits.push_back(static_cast<char>('0' + carry));
    }
    return std::string(digits.rbegin(), digits.rend());
}

TEST(NumberTexts, LongDigitStringsReadExactlyAndCorrectlyRounded) {
    // 1 + 2^-53 lies exactly halfway between 1 and the next double: it goes to the even 1,
    // and one non-zero digit far behind it, or just below it, decides the direction.
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    const double next = 1.0 + std::ldexp(1.0, -52);
    EXPECT_EQ(1.0, Text_ToNumber(half));
    EXPECT_EQ(next, Text_ToNumber(half + std::string(2000, '0') + "1"));
    EXPECT_EQ(1.0, Text_ToNumber(half.substr(0, half.size() - 1) + "4" + std::string(2000, '9')));
    EXPECT_EQ(9007199254740994.0, Text_ToNumber("9007199254740993." + std::string(2000, '0') + "1"));
    const std::string tie = SubnormalTieDigits();
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(2 * smallest, Text_ToNumber(tie + "E-1075"));
    EXPECT_EQ(smallest, Text_ToNumber(tie.substr(0, tie.size() - 1) + "4E-1075"));
    EXPECT_EQ(9007199254740992.0, Text_ToNumber("9007199254740993" + std::string(2000, '0') + "E-2000"));
    // A million leading zeros and a matching exponent must neither be slow nor lose the scale.
    EXPECT_EQ(1.0, Text_ToNumber("0." + std::string(1000000, '0') + "1E1000001"));
    EXPECT_EQ(1.0, Text_ToNumber("1" + std::string(1000000, '0') + "E-1000000"));
    EXPECT_EQ(0.1, Text_ToNumber("0.1" + std::string(1000000, ' ')));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const double cases[][2] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {-0.5, 0},
        {2.4999999999999996, 2}, {2.5000000000000004, 3}, {-1.2, -1}, {-1.7, -2}, {7, 7},
        {4503599627370495.5, 4503599627370496.0}, {4503599627370494.5, 4503599627370494.0},
        {1e300, 1e300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(c[1], Number_RoundHalfEven(c[0]));
    }
    EXPECT_TRUE(std::isnan(Number_RoundHalfEven(std::nan(""))));
    EXPECT_EQ(-HUGE_VAL, Number_RoundHalfEven(-HUGE_VAL));
}

TEST(IntegerFields, RoundThenSaturateAndNeverWrap) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        std::int16_t int16;
        std::int32_t int32;
    };
    const Case cases[] = {
        {2.5, 2, 2}, {-3.5, -4, -4}, {32766.5, 32766, 32766}, {32767.4, 32767, 32767},
        {32767.5, 32767, 32768}, {32768, 32767, 32768}, {-32768.5, -32768, -32768},
        {-32769, -32768, -32769}, {65535, 32767, 65535}, {2147483647.5, 32767, INT32_MAX},
        {-2147483648.5, -32768, INT32_MIN}, {-2147483649.0, -32768, INT32_MIN},
        {1e300, 32767, INT32_MAX}, {-1e300, -32768, INT32_MIN}, {inf, 32767, INT32_MAX},
        {-inf, -32768, INT32_MIN}, {nan, 0, 0}, {-0.0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.int16, Number_ToInt16(c.value));
        EXPECT_EQ(c.int32, Number_ToInt32(c.value));
    }
    // Stored registry numbers with absurd exponents must land on the limits, not crash.
    EXPECT_EQ(32767, Number_ToInt16(Text_ToNumber("9E99")));
    EXPECT_EQ(-32768, Number_ToInt16(Text_ToNumber("-9E99999")));
    EXPECT_EQ(INT32_MAX, Number_ToInt32(Text_ToNumber("&HFFFFFFFF")));
}

TEST(BooleanTexts, OnlyTrueInAnyCaseReadsTrueAndOnlyMinusOneWritesTrue) {
    for (const char* text : {"true", "True", "TRUE", "tRuE"}) {
        EXPECT_EQ(BooleanTrue, Text_ToBoolean(text)) << text;
    }
    for (const char* text : {" true", "true ", "1", "-1", "", "yes", "tru", "truee", "T\xD2UE"}) {
        EXPECT_EQ(BooleanFalse, Text_ToBoolean(text)) << text;
    }
    EXPECT_EQ("True", Boolean_ToText(BooleanTrue));
    for (Boolean value : {Boolean{0}, Boolean{1}, Boolean{-2}, Boolean{INT16_MIN}, Boolean{INT16_MAX}}) {
        EXPECT_EQ("False", Boolean_ToText(value)) << value;
    }
}

}  // namespace
