// The autostart setting and the Starter's Run entries in HKEY_LOCAL_MACHINE.
#include "StarterShell.h"

#include "LaunchTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string StartUpKey = "Software\\Vembrol\\Starter\\StartUp\\";
const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string RunKeyNt = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Run";

struct StartUpKeyGuard {
    StartUpKeyGuard() { wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, StartUpKey); }
    ~StartUpKeyGuard() { wintest::Registry_DeleteTree(HKEY_LOCAL_MACHINE, StartUpKey); }
};

std::string ReadString(const std::string& key, const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!wintest::Registry_ReadRaw(HKEY_LOCAL_MACHINE, key, name, &type, &data)) return "<missing>";
    while (!data.empty() && data.back() == '\0') data.pop_back();
    return type == REG_SZ ? data : "<not REG_SZ>";
}

TEST(AutoStart, OnlyTrueInAnyLetterCaseReadsAsOn) {
    StartUpKeyGuard guard;
    EXPECT_EQ(AutoStart_Load(), BooleanFalse);  // no key: first start on a machine
    const std::pair<const char*, Boolean> cases[] = {
        {"True", BooleanTrue}, {"TRUE", BooleanTrue}, {"tRuE", BooleanTrue}, {"False", BooleanFalse},
        {"1", BooleanFalse},   {"-1", BooleanFalse},  {"yes", BooleanFalse}, {"", BooleanFalse},
        {" True", BooleanFalse}};
    for (auto [text, expected] : cases) {
        wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, StartUpKey, "auto start target program", REG_SZ,
                                   std::string(text) + '\0');
        EXPECT_EQ(AutoStart_Load(), expected) << '"' << text << '"';
    }
}

TEST(AutoStart, SaveLeavesExactlyOneValueTrueOrFalse) {
    StartUpKeyGuard guard;
    wintest::Registry_WriteRaw(HKEY_LOCAL_MACHINE, StartUpKey, "stray", REG_SZ, std::string("x") + '\0');
    const std::pair<Boolean, const char*> cases[] = {{BooleanTrue, "True"}, {BooleanFalse, "False"}, {1, "False"}};
    for (auto [value, text] : cases) {
        AutoStart_Save(value);
        EXPECT_EQ(wintest::Registry_ValueNames(HKEY_LOCAL_MACHINE, StartUpKey),
                  std::vector<std::string>{"auto start target program"});
        EXPECT_EQ(ReadString(StartUpKey, "auto start target program"), text);
        EXPECT_EQ(AutoStart_Load(), value == BooleanTrue ? BooleanTrue : BooleanFalse);
    }
}

TEST(StarterRunEntry, BothKeysGetTheQuotedPathAndRemoveTakesOnlyTheUpperOne) {
    struct RunValuesGuard {
        ~RunValuesGuard() {
            for (const auto& key : {RunKey, RunKeyNt}) {
                HKEY k = nullptr;
                if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_WRITE, &k) != ERROR_SUCCESS) continue;
                RegDeleteValueA(k, "Vembrol Starter");
                RegCloseKey(k);
            }
        }
    } guard;
    const std::string path = "C:\\Program Files\\Vembrol\\Vembrol Starter.exe";
    StarterRunEntry_Write(path);
    EXPECT_EQ(ReadString(RunKey, "Vembrol Starter"), "\"" + path + "\"");
    EXPECT_EQ(ReadString(RunKeyNt, "Vembrol Starter"), "\"" + path + "\"");

    StarterRunEntry_Remove();
    EXPECT_EQ(ReadString(RunKey, "Vembrol Starter"), "<missing>");
    EXPECT_EQ(ReadString(RunKeyNt, "Vembrol Starter"), "\"" + path + "\"");
}

}  // namespace
