// Text and path helpers shared by both programs: pure functions, no platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The stored Boolean: 16-bit, True is -1 (the registry texts "True"/"False" and the data
// file's Keep field depend on this representation).
using Boolean = std::int16_t;
constexpr Boolean BooleanTrue = -1;
constexpr Boolean BooleanFalse = 0;

// Text is UTF-8 everywhere inside the programs; the Win32 boundary (common/win32/WideText.h)
// converts it to and from the system's wide texts. Byte-level rules below only look at ASCII
// bytes, which never occur inside a multi-byte UTF-8 character, so they never cut one in two.

// ASCII-only letter case: fixed keywords and paths compared the same way on every locale.
char Ascii_ToLower(char c);
std::string Ascii_ToLower(std::string text);
bool Ascii_EqualsIgnoringCase(const std::string& a, const std::string& b);

// The UTF-16 units of a UTF-8 text, as the system's wide functions would receive it. A byte that
// starts no valid character becomes the lone unit 0xDC00 + byte, so that different texts never
// give the same units.
std::u16string Text_ToUtf16(const std::string& text);

// Leading and trailing blanks (spaces only) removed.
std::string Text_TrimBlanks(const std::string& text);

// Characters, not bytes: a UTF-8 lead byte starts a character, continuation bytes do not (a
// stray continuation byte counts as a character of its own, so every byte belongs to one).
std::size_t Text_CharCount(const std::string& text);
// The first / last count characters of text, never a part of one.
std::string Text_FirstChars(const std::string& text, std::size_t count);
std::string Text_LastChars(const std::string& text, std::size_t count);

// The path with a "\" at its end (added when missing; "" becomes "\").
std::string Path_WithTrailingBackslash(std::string path);

// Path splitting at the last "\" or "." of the whole text.
std::string Path_GetFileName(const std::string& text);      // after the last "\", else ""
std::string Path_RemoveExtension(const std::string& text);  // before the last ".", else the text
std::string Path_GetExtension(const std::string& text);     // after the last ".", else ""
std::string Path_GetDirectory(const std::string& text);     // up to and with the last "\", else ""

// The text, or "..." and its last maxLength - 3 characters (UTF-8 characters, never a part of
// one), so that the result is at most maxLength characters; maxLength below 3 counts as 3.
std::string Text_Shorten(const std::string& text, std::int16_t maxLength);

// The number at the start of the text, 0 when there is none. Blanks, tabs and line feeds are
// skipped anywhere ("1 2" is 12). Then: an optional "+" or "-", digits, optionally "." and
// digits ("," ends the number: "7,5" is 7), optionally "E" or "D" in either case with an
// optional sign and digits (an exponent letter without digits leaves the number as read:
// "1E" is 1). "&H" or "&O" in either case starts an unsigned hexadecimal or octal whole number
// ("&H" alone is 0). Reading stops at the first character that does not fit. Numbers beyond the
// double range give +HUGE_VAL or -HUGE_VAL (infinity), those too small for it give 0; the
// result is never NaN, so the Number_To* conversions below saturate it.
double Text_ToNumber(const std::string& text);

// True exactly for "TRUE" in any letter case; "True" for -1 only.
Boolean Text_ToBoolean(const std::string& text);
std::string Boolean_ToText(Boolean value);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double Number_RoundHalfEven(double value);

// Checked conversions used wherever a number meets a 16- or 32-bit field: round halves to
// even, then saturate at the type's limits; NaN gives 0. They never trap and never wrap.
std::int16_t Number_ToInt16(double value);
std::int32_t Number_ToInt32(double value);
