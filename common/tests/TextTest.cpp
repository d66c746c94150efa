// The text helpers: path splitting, UTF-8 characters, number and Boolean texts, and the
// registry layer's conversions between value data and text.
#include "RegistryText.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const double inf = std::numeric_limits<double>::infinity();

TEST(Text, PathsSplitAtTheLastSeparatorOfTheWholeText) {
    const struct { const char *text, *directory, *fileName, *stem, *extension; } cases[] = {
        {"C:\\Tools\\Player.exe", "C:\\Tools\\", "Player.exe", "C:\\Tools\\Player", "exe"},
        {"Player.exe", "", "", "Player", "exe"},
        {"C:\\my.dir\\readme", "C:\\my.dir\\", "readme", "C:\\my", "dir\\readme"},
        {"archive.tar.gz", "", "", "archive.tar", "gz"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.directory, Path_GetDirectory(c.text)) << c.text;
        EXPECT_EQ(c.fileName, Path_GetFileName(c.text)) << c.text;
        EXPECT_EQ(c.stem, Path_RemoveExtension(c.text)) << c.text;
        EXPECT_EQ(c.extension, Path_GetExtension(c.text)) << c.text;
    }
    const std::string longDirectory = "C:\\" + std::string(40000, 'd') + "\\";  // past 16-bit positions
    EXPECT_EQ(longDirectory, Path_GetDirectory(longDirectory + "x.txt"));
}

// Paths are compared the same way on every locale: only ASCII letters fold, only blanks trim.
TEST(Text, CaseAndBlanksAreAsciiOnly) {
    EXPECT_TRUE(Ascii_EqualsIgnoringCase("C:\\Program Files", "c:\\program files"));
    EXPECT_FALSE(Ascii_EqualsIgnoringCase("\xD0\x9F", "\xD0\xBF"));  // П and п stay apart
    EXPECT_EQ("\tx", Text_TrimBlanks("  \tx "));
}

TEST(Text, CharactersAreCountedAndCutWholeInUtf8) {
    const std::string probe = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0 \xE6\x96\x87\xE5\xAD\x97";  // "Проба 文字"
    EXPECT_EQ(8u, Text_CharCount(probe));
    EXPECT_EQ("\xD0\x9F\xD1\x80", Text_FirstChars(probe, 2));
    EXPECT_EQ("\xE5\xAD\x97", Text_LastChars(probe, 1));
    EXPECT_EQ(probe, Text_FirstChars(probe, 50));
    EXPECT_EQ("\xF0\x9F\x8E\xB5", Text_LastChars("a\xF0\x9F\x8E\xB5", 1));  // four bytes, one note
    // A stray continuation byte and a lead byte cut short are characters of their own.
    EXPECT_EQ(3u, Text_CharCount("\x80" "a" "\xE6\x96"));
    EXPECT_EQ("\x80", Text_FirstChars("\x80" "a", 1));
}

TEST(Text, ShortenKeepsTheEndBehindThreeDotsAndCountsCharactersNotBytes) {
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0";  // "Проба": 5 characters, 10 bytes
    const std::string notes = "\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6";              // two characters, 8 bytes
    const struct { std::string text; std::int16_t limit; std::string shortened; } cases[] = {
        {"abcdefg", 6, "...efg"}, {"abcd", 0, "..."}, {"abcd", INT16_MIN, "..."}, {"abc", 0, "abc"},
        {cyrillic, 5, cyrillic}, {cyrillic, 4, "...\xD0\xB0"}, {notes, 4, notes},
    };
    for (const auto& c : cases) EXPECT_EQ(c.shortened, Text_Shorten(c.text, c.limit)) << c.text << " " << c.limit;
}

TEST(Text, ToNumberReadsTheNumberAtTheStart) {
    const struct { const char* text; double value; } cases[] = {
        {"", 0}, {"7,5", 7}, {"1.2.3", 1.2}, {"- 1\t. 2\n5", -1.25}, {"+4", 4}, {".5", 0.5}, {"+-1", 0},
        {"1D-2", 0.01}, {"2.5e+1", 25}, {"1E-x", 1}, {"E5", 0},
        {"&hFf", 255}, {" & o 7 7", 63}, {"&H", 0}, {"&O8", 0}, {"&HFFFFFFFF", 4294967295.0}, {"&X1", 0}, {"-&H1", 0},
        {"1E309", inf}, {"-9D99999", -inf}, {"9E99999999999999999999", inf}, {"1E-400", 0}, {"1E-99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, Text_ToNumber(c.text)) << '"' << c.text << '"';
}

TEST(Text, NumbersRoundHalvesToEvenAndSaturateIntoIntegerFields) {
    const struct { double value, rounded; std::int16_t int16; std::int32_t int32; } cases[] = {
        {2.5, 2, 2, 2}, {3.5, 4, 4, 4}, {-2.5, -2, -2, -2}, {2.5000000000000004, 3, 3, 3},
        {32767.5, 32768, 32767, 32768}, {-32769, -32769, -32768, -32769},
        {2147483647.5, 2147483648.0, 32767, INT32_MAX}, {-2147483649.0, -2147483649.0, -32768, INT32_MIN},
        {inf, inf, 32767, INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rounded, Number_RoundHalfEven(c.value)) << c.value;
        EXPECT_EQ(c.int16, Number_ToInt16(c.value)) << c.value;
        EXPECT_EQ(c.int32, Number_ToInt32(c.value)) << c.value;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(Number_RoundHalfEven(nan)) && Number_ToInt16(nan) == 0 && Number_ToInt32(nan) == 0);
}

TEST(Text, OnlyTrueInAnyCaseReadsTrueAndOnlyMinusOneWritesTrue) {
    for (const char* text : {"true", "TRUE", "tRuE"}) EXPECT_EQ(BooleanTrue, Text_ToBoolean(text)) << text;
    for (const char* text : {" true", "1", "-1", "", "truee"}) EXPECT_EQ(BooleanFalse, Text_ToBoolean(text)) << text;
    EXPECT_EQ("True", Boolean_ToText(BooleanTrue));
    for (Boolean value : {Boolean{0}, Boolean{1}, Boolean{INT16_MIN}}) EXPECT_EQ("False", Boolean_ToText(value)) << value;
}

// Data exactly as the registry hands it over; the registry layer shows these texts to callers
// that compare them with stored settings.
TEST(RegistryText, ValueDataReadsAsTheTextOfItsKind) {
    const struct { std::string data; const char *binary, *dword; std::size_t stringBytes; } cases[] = {
        {"", "", "0", 0}, {{"\x0A\xFF\x00", 3}, "0A FF 00", "65290", 2},
        {"\xFF\xFF\xFF\xFF", "FF FF FF FF", "-1", 4}, {"\x01\x01", "01 01", "257", 2},  // short: no read past it
        // UTF-16: a NUL byte inside a character ends nothing; only a whole NUL character does.
        {{"A\x00\x00\x42\x00\x00x", 7}, "41 00 00 42 00 00 78", "1107296321", 4},
        {{"a\x00" "b\x00" "c", 5}, "61 00 62 00 63", "6422625", 4},  // no NUL: whole characters only
    };
    for (const auto& c : cases) {
        const auto* data = reinterpret_cast<const unsigned char*>(c.data.data());
        EXPECT_EQ(c.binary, RegistryBinary_ToText(data, c.data.size()));
        EXPECT_EQ(c.dword, RegistryDword_ToText(data, c.data.size())) << c.binary;
        EXPECT_EQ(c.stringBytes, RegistryString_ByteLength(data, c.data.size())) << c.binary;
    }
}

TEST(RegistryText, OnlyAWholeSigned32BitDecimalNumberBecomesADword) {
    const struct { const char* text; std::int32_t number; const char* stored; } accepted[] = {
        {" -258 ", -258, "\xFE\xFE\xFF\xFF"}, {"+2147483647", INT32_MAX, "\xFF\xFF\xFF\x7F"},
        {"-2147483648", INT32_MIN, "\0\0\0\x80"}};
    std::int32_t number = 12345;
    for (const auto& c : accepted) {
        ASSERT_TRUE(RegistryDword_FromText(c.text, &number)) << c.text;
        EXPECT_EQ(c.number, number) << c.text;
        EXPECT_EQ(std::string(c.stored, 4), RegistryDword_Bytes(number)) << c.text;
    }
    for (const char* text : {"2147483648", "-2147483649", "1.5", "0x1F", "&H1F", "   ", "+-1", "+", "1 2", "\t5"})
        EXPECT_FALSE(RegistryDword_FromText(text, &number)) << '"' << text << '"';
}

}  // namespace
