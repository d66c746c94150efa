// The shipped programs as Windows' own resource readers see them in the release folder.
#include "Win32.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Resource(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceA(module, name, type);
    const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, found)) : "";
}

// Explorer shows the first icon group of a file.
BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
    *reinterpret_cast<LPSTR*>(out) = name;
    return FALSE;
}

std::string VersionString(const std::vector<char>& info, const char* name) {
    const WORD* lang = nullptr;
    void* text = nullptr;
    UINT size = 0;
    char path[80];
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", (void**)&lang, &size) || size < 4) return "";
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", lang[0], lang[1], name);
    return VerQueryValueA(info.data(), path, &text, &size) ? static_cast<const char*>(text) : "";
}

TEST(ReleasedPrograms, CarryVersionManifestAndIconAsWindowsReadsThem) {
    // The Starter runs at every logon and must never prompt; without elevation the uninstaller's
    // writes below Program Files and HKEY_LOCAL_MACHINE would fail silently.
    const struct { const char *file, *level, *word; } programs[] = {
        {"Vembrol Starter.exe", "asInvoker", "Starter"}, {"Uninstall.exe", "requireAdministrator", "Uninstall"}};
    for (const auto& p : programs) {
        SCOPED_TRACE(p.file);
        const std::string path = std::string(RELEASE_DIST_DIR) + p.file;
        std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), nullptr));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) &&
                    VerQueryValueA(info.data(), "\\", (void**)&fixed, &size));
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
        EXPECT_EQ(VersionString(info, "FileVersion") + " " + VersionString(info, "ProductName"), "1.0 Vembrol");
        EXPECT_NE(VersionString(info, "FileDescription").find(p.word), std::string::npos);

        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        const std::string xml = Resource(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
        // Per-monitor scaling (v2) where Windows has it, the older per-monitor and system-wide
        // declarations before.
        for (const std::string& want : {std::string("name=\"Microsoft.Windows.Common-Controls\" version=\"6."),
                                        "level=\"" + std::string(p.level) + "\"", std::string(">true/pm</dpiAware>"),
                                        std::string(">PerMonitorV2, PerMonitor</dpiAwareness>")})
            EXPECT_NE(xml.find(want), std::string::npos) << want;

        LPSTR group = nullptr;
        EnumResourceNamesA(module, MAKEINTRESOURCEA(14), FirstName, reinterpret_cast<LONG_PTR>(&group));
        ASSERT_TRUE(group && IS_INTRESOURCE(group)) << "no icon group with a numeric id";
        const std::string dir = Resource(module, MAKEINTRESOURCEA(14), group);
        // Every size Windows asks for at 100 to 200 % scaling, drawn rather than scaled: an image
        // counts when Windows builds a 32-bit icon of exactly that many pixels from it. A 6-byte
        // header, then 14-byte entries: width at 0 (0 for 256), bit count at 6, image id at 12.
        std::set<int> sizes;
        for (size_t at = 6; at + 14 <= dir.size(); at += 14) {
            const int width = static_cast<BYTE>(dir[at]) ? static_cast<BYTE>(dir[at]) : 256;
            std::string image = Resource(module, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(static_cast<BYTE>(dir[at + 12]) | static_cast<BYTE>(dir[at + 13]) << 8));
            HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0, 0);
            ICONINFO parts{};
            BITMAP color{};
            if (icon && GetIconInfo(icon, &parts) && parts.hbmColor && GetObjectA(parts.hbmColor, sizeof color, &color) &&
                color.bmWidth == width && color.bmHeight == width && static_cast<BYTE>(dir[at + 6]) == 32)
                sizes.insert(width);
            for (HGDIOBJ bitmap : {static_cast<HGDIOBJ>(parts.hbmColor), static_cast<HGDIOBJ>(parts.hbmMask)}) DeleteObject(bitmap);
            if (icon) DestroyIcon(icon);
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 256}));
        FreeLibrary(module);
    }
}

// Two builds of one commit are byte for byte the same, so the link carries no time stamp; the
// header's checksum (which drivers and some installers verify) must still be the file's own.
TEST(ReleasedPrograms, CarryTheirOwnChecksumAndNoLinkTime) {
    using MapFileAndCheckSumFn = DWORD(WINAPI*)(LPCSTR, DWORD*, DWORD*);
    const auto mapFileAndCheckSum = reinterpret_cast<MapFileAndCheckSumFn>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("imagehlp.dll"), "MapFileAndCheckSumA")));
    ASSERT_NE(mapFileAndCheckSum, nullptr);
    for (const char* file : {"Vembrol Starter.exe", "Uninstall.exe"}) {
        const std::string path = std::string(RELEASE_DIST_DIR) + file;
        DWORD inHeader = 0, computed = 0;
        ASSERT_EQ(mapFileAndCheckSum(path.c_str(), &inHeader, &computed), 0u) << file;
        EXPECT_NE(inHeader, 0u) << file;
        EXPECT_EQ(inHeader, computed) << file;
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
        // A data-file mapping may tag its handle's low bits; the image starts at the aligned base.
        const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module) & ~static_cast<ULONG_PTR>(3));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        EXPECT_EQ(nt->FileHeader.TimeDateStamp, 0u) << file;
        FreeLibrary(module);
    }
}

}  // namespace
