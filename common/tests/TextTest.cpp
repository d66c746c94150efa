// The text helpers: path splitting, captions, number texts and Boolean texts, and the
// registry layer's conversions between value data and text.
#include "RegistryText.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

const double inf = std::numeric_limits<double>::infinity();

TEST(Text, PathsSplitAtTheLastSeparatorOfTheWholeText) {
    const struct { const char *text, *directory, *fileName, *stem, *extension; } cases[] = {
        {"C:\\Tools\\Player.exe", "C:\\Tools\\", "Player.exe", "C:\\Tools\\Player", "exe"},
        {"Player.exe", "", "", "Player", "exe"},
        {"C:\\", "C:\\", "", "C:\\", ""},
        {"C:\\my.dir\\readme", "C:\\my.dir\\", "readme", "C:\\my", "dir\\readme"},
        {"archive.tar.gz", "", "", "archive.tar", "gz"},
        {".profile", "", "", "", "profile"},
        {"name.", "", "", "name", ""},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.directory, Path_GetDirectory(c.text));
        EXPECT_EQ(c.fileName, Path_GetFileName(c.text));
        EXPECT_EQ(c.stem, Path_RemoveExtension(c.text));
        EXPECT_EQ(c.extension, Path_GetExtension(c.text));
    }
    const std::string longDirectory = "C:\\" + std::string(40000, 'd') + "\\";  // past 16-bit positions
    EXPECT_EQ(longDirectory, Path_GetDirectory(longDirectory + "x.txt"));
}

TEST(Text, CharactersAreCountedAndCutWholeInUtf8) {
    const std::string probe = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0 \xE6\x96\x87\xE5\xAD\x97";  // "Проба 文字"
    EXPECT_EQ(8u, Text_CharCount(probe));
    EXPECT_EQ("\xD0\x9F\xD1\x80", Text_FirstChars(probe, 2));
    EXPECT_EQ("\xE5\xAD\x97", Text_LastChars(probe, 1));
    EXPECT_EQ(probe, Text_FirstChars(probe, 50));
    EXPECT_EQ("", Text_LastChars(probe, 0));
    EXPECT_EQ("\xF0\x9F\x8E\xB5", Text_LastChars("a\xF0\x9F\x8E\xB5", 1));  // four bytes, one note
    // A stray continuation byte and a lead byte cut short are characters of their own.
    EXPECT_EQ(3u, Text_CharCount("\x80" "a" "\xE6\x96"));
    EXPECT_EQ("\x80", Text_FirstChars("\x80" "a", 1));
}

TEST(Text, AsciiCaseBlanksAndBackslashesAreFoldedOneWayEverywhere) {
    EXPECT_TRUE(Ascii_EqualsIgnoringCase("C:\\Program Files\\VEMBROL", "c:\\program files\\vembrol"));
    EXPECT_FALSE(Ascii_EqualsIgnoringCase("\xD0\x9F", "\xD0\xBF"));  // no locale folds: П and п stay apart
    EXPECT_FALSE(Ascii_EqualsIgnoringCase("abc", "abcd"));
    EXPECT_EQ("a b", Text_TrimBlanks("  a b "));
    EXPECT_EQ("\tx", Text_TrimBlanks("\tx "));  // only blanks
    EXPECT_EQ("", Text_TrimBlanks("   "));
    EXPECT_EQ("\\", Path_WithTrailingBackslash(""));
    EXPECT_EQ("C:\\A\\", Path_WithTrailingBackslash("C:\\A"));
    EXPECT_EQ("C:\\A\\", Path_WithTrailingBackslash("C:\\A\\"));
}

TEST(Text, ShortenKeepsTheEndBehindThreeDotsAndCountsCharactersNotBytes) {
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0";  // "Проба": 5 characters, 10 bytes
    const struct { std::string text; std::int16_t limit; std::string shortened; } cases[] = {
        {"abcdefg", 6, "...efg"},
        {"abcdef", 6, "abcdef"},
        {"abcd", 3, "..."}, {"abcd", 0, "..."}, {"abcd", INT16_MIN, "..."}, {"abc", 0, "abc"},
        {cyrillic, 5, cyrillic},                                   // 10 bytes, yet it fits
        {cyrillic, 4, "...\xD0\xB0"},                              // "...а"
        {"C:\\\xE6\x96\x87\xE5\xAD\x97.exe", 8, "...\xE5\xAD\x97.exe"},  // "C:\文字.exe" -> "...字.exe"
        {"\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6", 4, "\xF0\x9F\x8E\xB5\xF0\x9F\x8E\xB6"},  // two notes, 8 bytes
    };
    for (const auto& c : cases) EXPECT_EQ(c.shortened, Text_Shorten(c.text, c.limit)) << c.text << " " << c.limit;
}

TEST(Text, ToNumberReadsTheNumberAtTheStart) {
    const struct { const char* text; double value; } cases[] = {
        {"", 0}, {"abc", 0}, {"2abc", 2}, {"7,5", 7}, {" 1\t2\n", 12}, {"- 3", -3}, {"+4", 4},
        {"1 . 2 5", 1.25}, {".5", 0.5}, {"5.", 5}, {".", 0}, {"-", 0}, {"+-1", 0}, {"1.2.3", 1.2},
        {"1e2", 100}, {"1D-2", 0.01}, {"1d 2", 100}, {"2.5E+1", 25}, {"1E", 1}, {"1E-x", 1}, {"E5", 0},
        {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {" & o 7 7", 63}, {"&H", 0}, {"&O8", 0},
        {"&H1G", 1}, {"&HFFFFFFFF", 4294967295.0}, {"&X1", 0}, {"-&H1", 0}, {"&H1.5", 1},
        {"9E99999", inf}, {"-9D99999", -inf}, {"9E99999999999999999999", inf}, {"1E-400", 0},
        {"1E-99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, Text_ToNumber(c.text)) << '"' << c.text << '"';
}

TEST(Text, NumbersRoundHalvesToEvenAndSaturateIntoIntegerFields) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { double value, rounded; std::int16_t int16; std::int32_t int32; } cases[] = {
        {2.5, 2, 2, 2}, {3.5, 4, 4, 4}, {-2.5, -2, -2, -2}, {-0.5, 0, 0, 0}, {-1.7, -2, -2, -2},
        {2.5000000000000004, 3, 3, 3}, {32767.5, 32768, 32767, 32768}, {-32769, -32769, -32768, -32769},
        {2147483647.5, 2147483648.0, 32767, INT32_MAX}, {-2147483649.0, -2147483649.0, -32768, INT32_MIN},
        {inf, inf, 32767, INT32_MAX}, {-inf, -inf, -32768, INT32_MIN}, {1e300, 1e300, 32767, INT32_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.rounded, Number_RoundHalfEven(c.value));
        EXPECT_EQ(c.int16, Number_ToInt16(c.value));
        EXPECT_EQ(c.int32, Number_ToInt32(c.value));
    }
    EXPECT_TRUE(std::isnan(Number_RoundHalfEven(nan)));
    EXPECT_EQ(0, Number_ToInt16(nan));
    EXPECT_EQ(0, Number_ToInt32(nan));
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
    using Data = std::basic_string<unsigned char>;
    const auto bytes = [](const char* text, std::size_t size) { return Data(reinterpret_cast<const unsigned char*>(text), size); };
    const struct { Data data; const char *binary, *dword; std::size_t stringBytes; } cases[] = {
        {bytes("", 0), "", "0", 0},
        {bytes("\x0A\xFF\x00", 3), "0A FF 00", "65290", 2},
        {bytes("\xFF\xFF\xFF\xFF", 4), "FF FF FF FF", "-1", 4},
        {bytes("\x07\x00\x00\x00\x09", 5), "07 00 00 00 09", "7", 2},
        {bytes("\x00\x00\x00\x80", 4), "00 00 00 80", "-2147483648", 0},
        {bytes("\x01\x01", 2), "01 01", "257", 2},
        // UTF-16: a NUL byte inside a character ends nothing; only a whole NUL character does.
        {bytes("A\x00\x00\x42\x00\x00x", 7), "41 00 00 42 00 00 78", "1107296321", 4},
        {bytes("a\x00" "b\x00" "c", 5), "61 00 62 00 63", "6422625", 4},  // no NUL: whole characters only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.binary);
        EXPECT_EQ(c.binary, RegistryBinary_ToText(c.data.data(), c.data.size()));
        EXPECT_EQ(c.dword, RegistryDword_ToText(c.data.data(), c.data.size()));
        EXPECT_EQ(c.stringBytes, RegistryString_ByteLength(c.data.data(), c.data.size()));
    }
}

TEST(RegistryText, OnlyAWholeSigned32BitNumberBecomesADword) {
    const struct { const char* text; bool accepted; std::int32_t number; const char* stored; } cases[] = {
        {"5", true, 5, "\x05\x00\x00\x00"}, {" -258 ", true, -258, "\xFE\xFE\xFF\xFF"},
        {"+7", true, 7, "\x07\x00\x00\x00"}, {"2147483647", true, INT32_MAX, "\xFF\xFF\xFF\x7F"},
        {"-2147483648", true, INT32_MIN, "\x00\x00\x00\x80"}, {"007", true, 7, "\x07\x00\x00\x00"},
        {"2147483648", false, 0, ""}, {"-2147483649", false, 0, ""}, {"1.5", false, 0, ""}, {"", false, 0, ""},
        {"   ", false, 0, ""}, {"+-1", false, 0, ""}, {"+", false, 0, ""}, {"1 2", false, 0, ""}, {"\t5", false, 0, ""},
    };
    for (const auto& c : cases) {
        std::int32_t number = 12345;
        EXPECT_EQ(c.accepted, RegistryDword_FromText(c.text, &number)) << '"' << c.text << '"';
        if (!c.accepted) continue;
        EXPECT_EQ(c.number, number) << c.text;
        EXPECT_EQ(std::string(c.stored, 4), RegistryDword_Bytes(number)) << c.text;
    }
}

}  // namespace
