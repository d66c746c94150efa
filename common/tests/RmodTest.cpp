// The registry layer against Wine's real registry, in a scratch key of its own.
#include "Rmod.h"

#include "Handles.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <string>

using namespace wintest;

namespace {

constexpr std::uint32_t Machine = RegRoot_LocalMachine;
const std::string Probe = UnicodeFolderName;               // "Проба 文字"
const std::string Note = "\xF0\x9F\x8E\xB5 \xE6\x9B\xB2";  // "🎵 曲": a surrogate pair and CJK

class RegistryLayer : public ::testing::Test {
protected:
    ScratchKey scratch{"rmod"};
    const std::string key = scratch.Path(), path = key + "\\" + Probe;
};

// Each kind reads through its own rule; the text rules themselves are tested natively.
TEST_F(RegistryLayer, ReadsEveryKindAsTextAndFlagsOnlyFailures) {
    const std::string full(64000, 'b');  // 128,000 bytes as stored
    const struct { std::string name; DWORD type; std::string stored, text; bool failed; } cases[] = {
        {"multi", REG_MULTI_SZ, Utf16_Bytes("first") + std::string(2, '\0') + Utf16_Bytes("second"), "first", false},
        {"binary", REG_BINARY, {"\x0A\xFF\0", 3}, "0A FF 00", false},
        {"full, no NUL", REG_SZ, Utf16_Bytes(full), full, false},
        {"one over", REG_SZ, Utf16_Bytes(full + 'b'), "", true},
        // After longer ones: a shorter value never shows the tail of an earlier read.
        {Probe, REG_SZ, {"\x1F\x04\x40\x04\x3E\x04\x31\x04\x30\x04 \0\x87\x65\x57\x5B", 16}, Probe, false},
        {"short dword", REG_DWORD, "\xFF\xFF", "65535", false},
        {"absent", REG_NONE, "", "", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.type == REG_NONE || Registry_WriteStored(HKEY_LOCAL_MACHINE, path, c.name, c.type, c.stored)) << c.name;
        Registry_ReadFailed = !c.failed;  // the flag must change from whatever it was
        EXPECT_EQ(Registry_GetValue(Machine, path, c.name), c.text) << c.name;
        EXPECT_EQ(Registry_ReadFailed, c.failed) << c.name;
    }
    Registry_ReadFailed = false;
    EXPECT_EQ(Registry_GetValue(Machine, path + "\\absent", "multi"), "");
    EXPECT_TRUE(Registry_ReadFailed);
}

// What lands in the registry, byte for byte: the product's other programs read these values.
TEST_F(RegistryLayer, WritesCreateThePathAndStoreExactlyTheirKind) {
    const std::string deep = path + "\\c\\";  // the trailing "\" names the same key
    const struct { std::string name; const char* text; int number; std::int32_t kind; DWORD type; std::string stored; } cases[] = {
        {"text", "hello", 0, RegKind_String, REG_SZ, {"h\0e\0l\0l\0o\0", 10}},  // no terminating NUL
        {Note, Note.c_str(), 0, RegKind_String, REG_SZ, {"\x3C\xD8\xB5\xDF \0\xF2\x66", 8}},
        {"number as text", nullptr, -42, RegKind_String, REG_SZ, {"-\0" "4\0" "2\0", 6}},
        {"dword", nullptr, -1, RegKind_Dword, REG_DWORD, "\xFF\xFF\xFF\xFF"},
        {"text as dword", " -258 ", 0, RegKind_Dword, REG_DWORD, "\xFE\xFE\xFF\xFF"},
        {"not a number as dword", "1.5", 0, RegKind_Dword, REG_NONE, ""},
        {"text as binary", "AB\xFF", 0, RegKind_Binary, REG_BINARY, "AB\xFF"},
        {"expandable", "x", 0, RegKind_ExpandString, REG_NONE, ""},
    };
    for (const auto& c : cases) {
        const bool stored = c.text ? Registry_SetValue(Machine, deep, c.name, c.text, c.kind)
                                   : Registry_SetValue(Machine, deep, c.name, c.number, c.kind);
        // Kinds that are not written count as done; a text that is no DWORD does not.
        EXPECT_EQ(stored, c.type != REG_NONE || c.kind != RegKind_Dword) << c.name;
        DWORD type = 0;
        std::string raw;
        ASSERT_EQ(Registry_ReadStored(HKEY_LOCAL_MACHINE, path + "\\c", c.name, &type, &raw), c.type != REG_NONE) << c.name;
        if (c.type == REG_NONE) continue;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(raw, c.stored) << c.name;
        if (c.type == REG_SZ) { EXPECT_EQ(Registry_GetValue(Machine, deep, c.name), c.text ? c.text : "-42") << c.name; }
    }
}

// The uninstaller deletes keys deepest first and relies on a key with subkeys staying; an
// empty path must never reach the platform, which would delete the key the root names. The
// Starter tells the user when a setting could not be saved, so a refused write or delete must
// never read as done, and a key or value that is simply not there must.
TEST_F(RegistryLayer, DeletesAndWritesTellWhetherTheyTookEffect) {
    const std::string child = path + "\\child";
    Registry_WriteStored(HKEY_LOCAL_MACHINE, child, "kept", REG_SZ, Utf16_Bytes("old"));
    EXPECT_TRUE(Registry_DeleteKey(Machine, key + "\\absent") && Registry_DeleteValue(Machine, key + "\\absent", "v") &&
                Registry_DeleteValue(Machine, path, "absent"));
    EXPECT_FALSE(Registry_DeleteKey(Machine, path));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, child));
    {
        UnchangeableKey guard(HKEY_LOCAL_MACHINE, child);
        ASSERT_TRUE(guard.Active());
        EXPECT_FALSE(Registry_SetValue(Machine, child, "kept", "new", RegKind_String));
        EXPECT_FALSE(Registry_SetValue(Machine, child, "fresh", 1, RegKind_Dword));
        EXPECT_FALSE(Registry_DeleteValue(Machine, child, "kept"));
        EXPECT_TRUE(Registry_DeleteValue(Machine, child, "absent"));  // nothing to change, so nothing refused
        EXPECT_FALSE(Registry_DeleteKey(Machine, child));
        EXPECT_EQ(Registry_GetValue(Machine, child, "kept"), "old");
    }
    EXPECT_TRUE(Registry_DeleteKey(Machine, child + "\\") && Registry_DeleteKey(Machine, path));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, path));

    UniqueKey root;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_ALL_ACCESS, root.put()), ERROR_SUCCESS);
    EXPECT_FALSE(Registry_DeleteKey(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(root.get())), ""));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key));
}

}  // namespace
