#include "E2eFixture.h"

#include "WideText.h"

#include <algorithm>

using namespace wintest;

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";

std::vector<std::string> PendingOperations() {
    DWORD type = 0;
    std::string stored;
    std::vector<std::string> texts;
    if (!Registry_ReadStored(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", &type, &stored)) return texts;
    const auto* wide = reinterpret_cast<const wchar_t*>(stored.data());
    const std::size_t count = stored.size() / sizeof(wchar_t);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= count; ++i) {
        if (i == count || wide[i] == L'\0') {
            texts.push_back(Text_FromWide(wide + start, i - start));
            start = i + 1;
        }
    }
    // The list ends with an empty text; every operation is a source and a target.
    while (texts.size() % 2 != 0 || (!texts.empty() && texts.back().empty() && texts[texts.size() - 2].empty()))
        texts.pop_back();
    return texts;
}

}  // namespace

std::wstring UninstallE2e::Wide(const std::string& text) { return Wide_FromText(text); }

std::string UninstallE2e::TempDir() {
    wchar_t buffer[MAX_PATH + 1] = {};
    return Text_FromWide(buffer, GetTempPathW(MAX_PATH + 1, buffer));
}

std::set<std::string> UninstallE2e::TempEntries() {
    std::set<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(TempDir() + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Text_FromWideBuffer(found.cFileName, MAX_PATH);
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::set<std::string> UninstallE2e::NewTempEntries() const {
    std::set<std::string> added;
    for (const auto& name : TempEntries())
        if (!tempBefore_.count(name)) added.insert(name);
    return added;
}

std::vector<std::string> UninstallE2e::PendingDeletions() {
    std::vector<std::string> deletions;
    const std::vector<std::string> texts = PendingOperations();
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
        if (texts[i + 1].empty()) deletions.push_back(texts[i]);
    return deletions;
}

void UninstallE2e::PendingRenames_Forget(const std::string& prefix) {
    const std::vector<std::string> texts = PendingOperations();
    std::wstring kept;
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
        if (texts[i].find(prefix) != std::string::npos) continue;
        kept += Wide(texts[i]) + L'\0' + Wide(texts[i + 1]) + L'\0';
    }
    if (kept.empty()) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(kSessionManager).c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"PendingFileRenameOperations");
            RegCloseKey(key);
        }
        return;
    }
    kept += L'\0';
    Registry_WriteStored(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", REG_MULTI_SZ,
                         std::string(reinterpret_cast<const char*>(kept.data()), kept.size() * sizeof(wchar_t)));
}

void UninstallE2e::ExpectRemovedItself() {
    EXPECT_TRUE(Eventually([&] { return !File_Exists(AppDir() + "Uninstall.exe"); }, 15000)) << "the uninstaller stays";
    // The copy is done once it has scheduled its folder, the last thing it does.
    std::string copyDir;
    EXPECT_TRUE(Eventually(
        [&] {
            const auto added = NewTempEntries();
            if (added.size() != 1) return false;
            copyDir = TempDir() + *added.begin();
            const auto pending = PendingDeletions();
            return std::count(pending.begin(), pending.end(), "\\??\\" + copyDir) == 1;
        },
        15000))
        << "new in temp: " << NewTempEntries().size();
    if (copyDir.empty()) return;
    const auto pending = PendingDeletions();
    EXPECT_EQ(std::count(pending.begin(), pending.end(), "\\??\\" + copyDir + "\\Uninstall.exe"), 1);
    EXPECT_TRUE(File_Exists(copyDir + "\\Uninstall.exe"));
    std::set<std::string> inCopyDir;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(copyDir + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do inCopyDir.insert(Text_FromWideBuffer(found.cFileName, MAX_PATH));
        while (FindNextFileW(find, &found));
        FindClose(find);
    }
    EXPECT_EQ(inCopyDir, (std::set<std::string>{".", "..", "Uninstall.exe"}));
}

void UninstallE2e::ExpectStayed() {
    EXPECT_TRUE(File_Exists(AppDir() + "Uninstall.exe"));
    EXPECT_EQ(NewTempEntries(), std::set<std::string>{});
}
