// The registry layer against Wine's real registry, in a scratch key of its own: how values of
// every kind read back, what a write creates and stores, and what the deletes leave behind.
#include "Rmod.h"

#include "Handles.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace wintest;

namespace {

constexpr std::uint32_t LocalMachine = RegRoot_LocalMachine;
constexpr std::size_t BufferSize = 128000;

std::string Bytes(const char* data, std::size_t size) { return std::string(data, size); }

class RegistryLayer : public ::testing::Test {
protected:
    ScratchKey scratch{"rmod"};

    std::string Key(const std::string& sub = "") const {
        return sub.empty() ? scratch.Path() : scratch.Path() + "\\" + sub;
    }
    // Exactly these bytes. RegSetValueExA adds a string's terminator when the byte after the
    // data is a NUL, as it is after every std::string, so the data is followed by another byte.
    void WriteRaw(const std::string& name, DWORD type, const std::string& data, const std::string& sub = "") {
        HKEY raw = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key(sub).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr),
                  ERROR_SUCCESS);
        UniqueKey key(raw);
        std::string bytes = data + 'x';
        ASSERT_EQ(RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    std::vector<std::string> SortedValueNames(const std::string& sub) const {
        std::vector<std::string> names = Registry_ValueNames(HKEY_LOCAL_MACHINE, Key(sub));
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(RegistryLayer, ReadTellsMissingKeyMissingValueAndEmptyValueApart) {
    WriteRaw("empty", REG_SZ, "");
    WriteRaw("full", REG_SZ, "x");
    const struct {
        std::string key, value, text;
        bool failed;
    } cases[] = {
        {Key("absent"), "v", "", true},
        {Key(), "absent", "", true},
        {Key(), "empty", "", false},
        {Key(), "full", "x", false},
    };
    for (const auto& c : cases) {
        for (bool before : {false, true}) {
            Registry_ReadFailed = before;
            EXPECT_EQ(Registry_GetValue(LocalMachine, c.key, c.value), c.text) << c.key << " / " << c.value;
            EXPECT_EQ(Registry_ReadFailed, c.failed) << c.key << " / " << c.value << ", flag was " << before;
        }
    }
}

TEST_F(RegistryLayer, EveryKindReadsBackAsText) {
    const struct {
        const char* name;
        DWORD type;
        std::string data;
        std::string text;
    } cases[] = {
        {"string", REG_SZ, "hello  world", "hello  world"},
        {"string with terminator", REG_SZ, Bytes("abc\0", 4), "abc"},
        {"string up to the first NUL", REG_SZ, Bytes("ab\0cd", 5), "ab"},
        {"expandable, unexpanded", REG_EXPAND_SZ, Bytes("%windir%\\x\0", 11), "%windir%\\x"},
        {"multi-string, first only", REG_MULTI_SZ, Bytes("first\0second\0\0", 14), "first"},
        {"binary", REG_BINARY, Bytes("\x0A\xFF\x00", 3), "0A FF 00"},
        {"binary, one byte", REG_BINARY, "\x05", "05"},
        {"binary, empty", REG_BINARY, "", ""},
        {"dword all ones", REG_DWORD, "\xFF\xFF\xFF\xFF", "-1"},
        {"dword seven", REG_DWORD, Bytes("\x07\0\0\0", 4), "7"},
        {"dword lowest", REG_DWORD, Bytes("\0\0\0\x80", 4), "-2147483648"},
        {"dword highest", REG_DWORD, "\xFF\xFF\xFF\x7F", "2147483647"},
        {"untyped", REG_NONE, Bytes("raw\0tail", 8), "raw"},
    };
    for (const auto& c : cases) WriteRaw(c.name, c.type, c.data);
    for (const auto& c : cases) {
        Registry_ReadFailed = true;
        EXPECT_EQ(Registry_GetValue(LocalMachine, Key(), c.name), c.text) << c.name;
        EXPECT_FALSE(Registry_ReadFailed) << c.name;
    }
}

TEST_F(RegistryLayer, ValuesUpToTheBufferSizeReadWholeAndLongerOnesFail) {
    const struct {
        const char* name;
        DWORD type;
        std::string data;
        std::size_t textLength;  // of the expected text; npos: the read fails
    } cases[] = {
        {"just below", REG_SZ, std::string(BufferSize - 1, 'a'), BufferSize - 1},
        {"exactly, no NUL", REG_SZ, std::string(BufferSize, 'b'), BufferSize},
        {"exactly, with NUL", REG_SZ, std::string(BufferSize - 1, 'c') + '\0', BufferSize - 1},
        {"one over", REG_SZ, std::string(BufferSize + 1, 'd'), std::string::npos},
        {"binary, exactly", REG_BINARY, std::string(BufferSize, '\x11'), BufferSize * 3 - 1},
        {"binary, one over", REG_BINARY, std::string(BufferSize + 1, '\x11'), std::string::npos},
    };
    for (const auto& c : cases) WriteRaw(c.name, c.type, c.data);
    // Untyped, because the platform ends a string kind with a NUL of its own when there is room.
    WriteRaw("short", REG_NONE, "xy");
    for (const auto& c : cases) {
        std::string text = Registry_GetValue(LocalMachine, Key(), c.name);
        if (c.textLength == std::string::npos) {
            EXPECT_EQ(text, "") << c.name;
            EXPECT_TRUE(Registry_ReadFailed) << c.name;
            continue;
        }
        EXPECT_FALSE(Registry_ReadFailed) << c.name;
        ASSERT_EQ(text.size(), c.textLength) << c.name;
        if (c.type == REG_SZ) {
            EXPECT_EQ(text, c.data.substr(0, c.textLength)) << c.name;
        }
        // A short value read right after a long one shows nothing of the long one.
        EXPECT_EQ(Registry_GetValue(LocalMachine, Key(), "short"), "xy") << "after " << c.name;
    }
}

TEST_F(RegistryLayer, WriteCreatesEveryMissingKeyAlongThePath) {
    Registry_SetValue(LocalMachine, Key("a\\b\\c"), "v", "text", RegKind_String);
    for (const char* sub : {"a", "a\\b", "a\\b\\c"}) EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key(sub))) << sub;
    EXPECT_EQ(Registry_GetValue(LocalMachine, Key("a\\b\\c"), "v"), "text");

    Registry_SetValue(LocalMachine, Key("n\\m"), "v", 9, RegKind_Dword);
    EXPECT_EQ(Registry_GetValue(LocalMachine, Key("n\\m"), "v"), "9");
}

// What lands in the registry, byte for byte: the product's other programs read these values.
TEST_F(RegistryLayer, WritesStoreExactlyTheDataOfTheirKind) {
    using Write = std::function<void(const std::string& name)>;
    const std::string k = Key();
    const struct {
        const char* name;
        Write write;
        DWORD type;
        std::string raw;
        std::string text;
    } cases[] = {
        {"text", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "hello", RegKind_String); }, REG_SZ, "hello", "hello"},
        {"text, blanks kept", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, " a  b ", RegKind_String); }, REG_SZ, " a  b ", " a  b "},
        {"text, empty", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "", RegKind_String); }, REG_SZ, "", ""},
        {"text, ANSI", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "caf\xE9", RegKind_String); }, REG_SZ, "caf\xE9", "caf\xE9"},
        {"", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "default", RegKind_String); }, REG_SZ, "default", "default"},
        {"number as text", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, 5, RegKind_String); }, REG_SZ, "5", "5"},
        {"negative number as text", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, -42, RegKind_String); }, REG_SZ, "-42", "-42"},
        {"number as dword", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, -1, RegKind_Dword); }, REG_DWORD, "\xFF\xFF\xFF\xFF", "-1"},
        {"number as binary", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, 123, RegKind_Binary); }, REG_BINARY, "123", "31 32 33"},
        {"text as binary", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "AB\xFF", RegKind_Binary); }, REG_BINARY, "AB\xFF", "41 42 FF"},
        {"empty text as binary", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "", RegKind_Binary); }, REG_BINARY, "", ""},
        {"text as dword", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, " -258 ", RegKind_Dword); }, REG_DWORD, "\xFE\xFE\xFF\xFF", "-258"},
        {"text as highest dword", [&](auto& n) { Registry_SetValue(LocalMachine, k, n, "+2147483647", RegKind_Dword); }, REG_DWORD, "\xFF\xFF\xFF\x7F", "2147483647"},
    };
    for (const auto& c : cases) {
        if (std::string(c.name) == "text, ANSI" && GetACP() != 1252) {
            ADD_FAILURE() << "the ANSI case needs code page 1252; this prefix has " << GetACP();
            continue;
        }
        WriteRaw(c.name, REG_BINARY, "old value of another kind");
        c.write(c.name);
        DWORD type = 0;
        std::string raw;
        ASSERT_TRUE(Registry_ReadRaw(HKEY_LOCAL_MACHINE, k, c.name, &type, &raw)) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(raw, c.raw) << c.name << ": stored " << raw.size() << " bytes";
        EXPECT_EQ(Registry_GetValue(LocalMachine, k, c.name), c.text) << c.name;
    }
}

TEST_F(RegistryLayer, KindsItCannotWriteOrTextsThatAreNoNumberCreateTheKeyOnly) {
    int i = 0;
    for (std::int32_t kind : {RegKind_ExpandString, RegKind_MultiString, 0, 99}) {
        std::string textKey = Key("kind" + std::to_string(++i));
        std::string numberKey = Key("kind" + std::to_string(++i));
        Registry_SetValue(LocalMachine, textKey, "v", "text", kind);
        Registry_SetValue(LocalMachine, numberKey, "v", 7, kind);
        for (const auto& key : {textKey, numberKey}) {
            EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, key)) << "kind " << kind;
            EXPECT_TRUE(Registry_ValueNames(HKEY_LOCAL_MACHINE, key).empty()) << "kind " << kind;
        }
    }
    for (const char* text : {"", "abc", "12abc", "1.5", "2147483648", "-2147483649", "+-3", "0x10"}) {
        Registry_SetValue(LocalMachine, Key("dword"), "v", text, RegKind_Dword);
        EXPECT_TRUE(Registry_ValueNames(HKEY_LOCAL_MACHINE, Key("dword")).empty()) << '"' << text << '"';
    }
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("dword")));
}

// The start-up settings key is written and read with a trailing "\"; it must be the same key.
TEST_F(RegistryLayer, TrailingBackslashNamesTheSameKeyInEveryOperation) {
    Registry_CreateKey(LocalMachine, Key("made\\"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("made")));
    Registry_SetValue(LocalMachine, Key("t\\"), "v", "x", RegKind_String);
    EXPECT_EQ(Registry_GetValue(LocalMachine, Key("t"), "v"), "x");
    EXPECT_EQ(Registry_GetValue(LocalMachine, Key("t\\"), "v"), "x");
    Registry_DeleteValue(LocalMachine, Key("t\\"), "v");
    EXPECT_TRUE(Registry_ValueNames(HKEY_LOCAL_MACHINE, Key("t")).empty());
    Registry_DeleteKey(LocalMachine, Key("t\\"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("t")));
}

TEST_F(RegistryLayer, CreatingAnExistingKeyKeepsItsValuesAndSubkeys) {
    WriteRaw("v", REG_SZ, "kept", "k");
    Registry_CreateKey(LocalMachine, Key("k\\sub"));
    Registry_CreateKey(LocalMachine, Key("k"));
    EXPECT_EQ(Registry_GetValue(LocalMachine, Key("k"), "v"), "kept");
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("k\\sub")));
}

TEST_F(RegistryLayer, DeletesRemoveOnlyWhatTheyNameAndMissingTargetsChangeNothing) {
    WriteRaw("a", REG_SZ, "1", "keep");
    WriteRaw("b", REG_SZ, "2", "keep");
    WriteRaw("", REG_SZ, "default", "keep");
    Registry_CreateKey(LocalMachine, Key("keep\\sub"));

    Registry_DeleteValue(LocalMachine, Key("absent"), "a");
    Registry_DeleteValue(LocalMachine, Key("keep"), "absent");
    Registry_DeleteKey(LocalMachine, Key("absent"));
    Registry_DeleteKey(LocalMachine, Key("absent\\deeper"));
    Registry_DeleteKey(LocalMachine, Key("keep\\absent"));
    EXPECT_EQ(SortedValueNames("keep"), (std::vector<std::string>{"", "a", "b"}));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("keep\\sub")));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("absent")));

    Registry_DeleteValue(LocalMachine, Key("keep"), "a");
    EXPECT_EQ(SortedValueNames("keep"), (std::vector<std::string>{"", "b"}));
    Registry_DeleteValue(LocalMachine, Key("keep"), "");
    EXPECT_EQ(SortedValueNames("keep"), (std::vector<std::string>{"b"}));
}

// The uninstaller deletes listed subkeys before their parents and relies on a parent that
// still has other subkeys staying.
TEST_F(RegistryLayer, KeyWithSubkeysStaysAndGoesOnceItIsALeaf) {
    Registry_CreateKey(LocalMachine, Key("parent\\child"));
    Registry_DeleteKey(LocalMachine, Key("parent"));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("parent\\child")));
    Registry_DeleteKey(LocalMachine, Key("parent\\child"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("parent\\child")));
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("parent")));
    Registry_DeleteKey(LocalMachine, Key("parent"));
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("parent")));
}

// An empty key path names the root key itself. An open key stands in for a root here: the
// platform would delete it, which the last step shows.
TEST_F(RegistryLayer, EmptyKeyPathNeverDeletesTheRootItIsGiven) {
    Registry_CreateKey(LocalMachine, Key("standin"));
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key("standin").c_str(), 0, KEY_ALL_ACCESS, &raw), ERROR_SUCCESS);
    UniqueKey standIn(raw);
    auto root = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(standIn.get()));
    Registry_DeleteKey(root, "");
    EXPECT_TRUE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("standin")));
    EXPECT_EQ(RegDeleteKeyA(standIn.get(), ""), ERROR_SUCCESS);
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, Key("standin")));
}

TEST_F(RegistryLayer, RootKeyNumberSelectsTheRoot) {
    const std::string path = "Software\\VembrolTests\\rmod-current-user";
    struct Cleanup {
        std::string path;
        Cleanup(std::string p) : path(std::move(p)) { Registry_DeleteTree(HKEY_CURRENT_USER, path); }
        ~Cleanup() {
            Registry_DeleteTree(HKEY_CURRENT_USER, path);
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VembrolTests");  // only while it is empty
        }
    } cleanup{path};
    Registry_SetValue(RegRoot_CurrentUser, path, "v", "user", RegKind_String);
    DWORD type = 0;
    std::string raw;
    EXPECT_TRUE(Registry_ReadRaw(HKEY_CURRENT_USER, path, "v", &type, &raw));
    EXPECT_EQ(raw, "user");
    EXPECT_FALSE(Registry_KeyExists(HKEY_LOCAL_MACHINE, path));
    EXPECT_EQ(Registry_GetValue(RegRoot_CurrentUser, path, "v"), "user");
    EXPECT_EQ(Registry_GetValue(LocalMachine, path, "v"), "");
}

// Callers read the flag right after their own read; nothing else may change it in between.
TEST_F(RegistryLayer, OnlyReadsTouchTheReadFailedFlag) {
    for (bool flag : {true, false}) {
        Registry_ReadFailed = flag;
        Registry_SetValue(LocalMachine, Key("w"), "v", "x", RegKind_String);
        Registry_SetValue(LocalMachine, Key("w"), "n", 1, RegKind_Dword);
        Registry_CreateKey(LocalMachine, Key("w\\sub"));
        Registry_DeleteValue(LocalMachine, Key("w"), "v");
        Registry_DeleteKey(LocalMachine, Key("w\\sub"));
        Registry_DeleteKey(LocalMachine, Key("absent"));
        EXPECT_EQ(Registry_ReadFailed, flag);
    }
}

}  // namespace
