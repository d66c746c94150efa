// The registry layer against Wine's real registry, in a scratch key of its own.
#include "Rmod.h"

#include "Handles.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace wintest;

namespace {

constexpr std::uint32_t Machine = RegRoot_LocalMachine;

class RegistryLayer : public ::testing::Test {
protected:
    ScratchKey scratch{"rmod"};
    const std::string key = scratch.Path();
};

TEST_F(RegistryLayer, ReadsEveryKindAsTextAndFlagsOnlyFailures) {
    const std::string full(128000, 'b');
    const struct { const char* name; DWORD type; std::string data, text; bool failed; } cases[] = {
        {"empty", REG_SZ, "", "", false},
        {"up to the NUL", REG_SZ, std::string("ab\0cd", 5), "ab", false},
        {"expandable", REG_EXPAND_SZ, std::string("%windir%\0", 9), "%windir%", false},
        {"multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14), "first", false},
        {"binary", REG_BINARY, std::string("\x0A\xFF\0", 3), "0A FF 00", false},
        {"binary, empty", REG_BINARY, "", "", false},
        {"dword", REG_DWORD, "\xFF\xFF\xFF\xFF", "-1", false},
        {"full, no NUL", REG_SZ, full, full, false},
        {"one over", REG_SZ, full + 'b', "", true},
    };
    UniqueKey raw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, raw.put(), nullptr), 0);
    for (const auto& c : cases) {
        // A NUL right after the data would make the platform store a terminator as well.
        const std::string bytes = c.data + 'x';
        ASSERT_EQ(RegSetValueExA(raw.get(), c.name, 0, c.type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(c.data.size())), 0);
    }
    for (bool before : {false, true}) {
        for (const auto& c : cases) {
            Registry_ReadFailed = before;
            EXPECT_EQ(Registry_GetValue(Machine, key, c.name), c.text) << c.name;
            EXPECT_EQ(Registry_ReadFailed, c.failed) << c.name;
        }
        for (const auto& [path, value] : {std::pair<std::string, const char*>{key + "\\absent", "empty"}, {key, "absent"}}) {
            Registry_ReadFailed = before;
            EXPECT_EQ(Registry_GetValue(Machine, path, value), "") << path << " " << value;
            EXPECT_TRUE(Registry_ReadFailed) << path << " " << value;
        }
    }
}

// What lands in the registry, byte for byte: the product's other programs read these values.
TEST_F(RegistryLayer, WritesCreateThePathAndStoreExactlyTheirKind) {
    const std::string path = key + "\\a\\b\\c\\";  // the trailing "\" names the same key
    const struct { const char* name; const char* text; int number; std::int32_t kind; DWORD type; std::string raw; } cases[] = {
        {"text", "hello", 0, RegKind_String, REG_SZ, "hello"},
        {"empty", "", 0, RegKind_String, REG_SZ, ""},
        {"number as text", nullptr, -42, RegKind_String, REG_SZ, "-42"},
        {"dword", nullptr, -1, RegKind_Dword, REG_DWORD, "\xFF\xFF\xFF\xFF"},
        {"text as dword", " -258 ", 0, RegKind_Dword, REG_DWORD, "\xFE\xFE\xFF\xFF"},
        {"not a number as dword", "1.5", 0, RegKind_Dword, REG_NONE, ""},
        {"text as binary", "AB\xFF", 0, RegKind_Binary, REG_BINARY, "AB\xFF"},
        {"expandable", "x", 0, RegKind_ExpandString, REG_NONE, ""},
        {"multi", nullptr, 7, RegKind_MultiString, REG_NONE, ""},
    };
    for (const auto& c : cases) {
        if (c.text) Registry_SetValue(Machine, path, c.name, c.text, c.kind);
        else Registry_SetValue(Machine, path, c.name, c.number, c.kind);
        DWORD type = 0;
        std::string raw;
        ASSERT_EQ(Registry_ReadRaw(HKEY_LOCAL_MACHINE, key + "\\a\\b\\c", c.name, &type, &raw), c.type != REG_NONE) << c.name;
        if (c.type == REG_NONE) continue;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(raw, c.raw) << c.name;
        if (c.type == REG_SZ) { EXPECT_EQ(Registry_GetValue(Machine, path, c.name), c.raw) << c.name; }
    }
}

// The uninstaller deletes keys deepest first and relies on a key with subkeys staying; an
// empty path must never reach the platform, which would delete the key the root names.
TEST_F(RegistryLayer, DeletesOnlyLeafKeysAndNeverTheRootOfAnEmptyPath) {
    Registry_CreateKey(Machine, key + "\\parent\\child");
    Registry_DeleteKey(Machine, key + "\\absent");
    Registry_DeleteKey(Machine, key + "\\parent");
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key + "\\parent\\child"));
    Registry_DeleteKey(Machine, key + "\\parent\\child\\");
    Registry_DeleteKey(Machine, key + "\\parent");
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key + "\\parent"));

    UniqueKey root;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, root.put()), ERROR_SUCCESS);
    Registry_DeleteKey(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(root.get())), "");
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key));
}

}  // namespace
