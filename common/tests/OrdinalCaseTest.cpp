// The portable ordinal upper-case table against the system's own: the file system and
// CompareStringOrdinal must see the same names as one that the uninstaller sees as one.
#include "PathRules.h"
#include "WideText.h"
#include "Win32.h"

#include <gtest/gtest.h>

namespace {

using RtlUpcase = WCHAR(WINAPI*)(WCHAR);

TEST(OrdinalCase, EveryUnitUpperCasesAsTheSystemDoes) {
    const auto upcase = reinterpret_cast<RtlUpcase>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlUpcaseUnicodeChar")));
    ASSERT_NE(upcase, nullptr);
    int mismatches = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const WCHAR unit = static_cast<WCHAR>(u);
        const WCHAR ours = static_cast<WCHAR>(Ordinal_Upper(static_cast<char16_t>(u)));
        if (ours != upcase(unit) && ++mismatches <= 20)
            ADD_FAILURE() << std::hex << "U+" << u << ": ours U+" << ours << ", system U+" << upcase(unit);
        // The comparison itself treats the unit and our upper case as one.
        EXPECT_EQ(CompareStringOrdinal(&unit, 1, &ours, 1, TRUE), CSTR_EQUAL) << std::hex << u;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(OrdinalCase, PathEqualAgreesWithCompareStringOrdinal) {
    const wchar_t* const pairs[][2] = {
        {L"C:\\Ärger.ini", L"c:\\äRGER.INI"}, {L"Straße", L"STRASSE"}, {L"ǅ", L"ǆ"},
        {L"Ωmega", L"ωMEGA"}, {L"ı", L"I"}, {L"ſ", L"S"}, {L"K", L"k"}, {L"µ", L"Μ"}, {L"ÿ", L"Ÿ"},
    };
    for (const auto& pair : pairs) {
        const bool system = CompareStringOrdinal(pair[0], -1, pair[1], -1, TRUE) == CSTR_EQUAL;
        EXPECT_EQ(Path_Equal(Text_FromWide(pair[0]), Text_FromWide(pair[1])), system)
            << Text_FromWide(pair[0]) << " / " << Text_FromWide(pair[1]);
    }
}

}  // namespace
