// Measures the real program under Wine: how fast the tray menu opens with five Start Station
// slots filled, whether repeated openings grow the working set, and the size of the .exe. The
// times are printed, not asserted (they depend on the machine); the growth and size bounds are.
#include "StarterSession.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>

using namespace startertest;

namespace {

double Now_Ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND Popup_Find() {
    wintest::WindowQuery q;
    q.className = "#32768";
    return wintest::Window_Find(q);
}

class StarterPerformance : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string apps = install_.ScratchPath() + "apps\\";
        for (int n = 1; n <= 5; ++n) {
            const std::string program = apps + "Application Number " + std::to_string(n) + ".exe";
            StandIn_Copy(program);
            Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type" + std::to_string(n), "1");
            Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "application name" + std::to_string(n), program);
        }
        ASSERT_TRUE(starter_.Start(install_));
    }

    // Opens and dismisses the menu once; the time from posting the tray message to the popup
    // window existing, or a negative value when it did not open.
    double Menu_OpenAndDismiss() {
        wintest::PopupMenu_WaitClosed(5000);
        const UINT callback = RegisterWindowMessageA("KtSystray");
        const double start = Now_Ms();
        PostMessageA(starter_.MainWindow(), callback, 1, WM_RBUTTONUP);
        HWND popup = nullptr;
        while (!(popup = Popup_Find())) {
            if (Now_Ms() - start > 5000) return -1;
            Sleep(0);
        }
        const double elapsed = Now_Ms() - start;
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        wintest::PopupMenu_WaitClosed(5000);
        return elapsed;
    }

    SIZE_T WorkingSet() {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        GetProcessMemoryInfo(starter_.Process().Handle(), &counters, sizeof(counters));
        return counters.WorkingSetSize;
    }

    RegistryGuard registry_;
    StarterInstall install_{"starter-performance", true, "starter"};
    StarterSession starter_;
};

TEST_F(StarterPerformance, MenuOpensQuicklyWithFiveSlotsFilled) {
    for (int i = 0; i < 5; ++i) ASSERT_GE(Menu_OpenAndDismiss(), 0) << "warm-up opening " << i;
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const double t = Menu_OpenAndDismiss();
        ASSERT_GE(t, 0) << "opening " << i;
        times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    const double median = (times[9] + times[10]) / 2;
    std::printf("[ figures  ] tray message to popup window, 20 openings: median %.1f ms, min %.1f ms, max %.1f ms\n",
                median, times.front(), times.back());
}

TEST_F(StarterPerformance, RepeatedOpeningsDoNotGrowTheWorkingSet) {
    for (int i = 0; i < 50; ++i) ASSERT_GE(Menu_OpenAndDismiss(), 0) << "warm-up opening " << i;
    const SIZE_T before = WorkingSet();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 200; ++i) ASSERT_GE(Menu_OpenAndDismiss(), 0) << "opening " << i;
    const SIZE_T after = WorkingSet();
    const double growth = 100.0 * (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(before);
    std::printf("[ figures  ] working set after 50 openings %lu KB, after 200 more %lu KB, growth %.2f %%\n",
                static_cast<unsigned long>(before / 1024), static_cast<unsigned long>(after / 1024), growth);
    EXPECT_LT(growth, 5.0);
    EXPECT_TRUE(starter_.Process().Running());
}

// The program as shipped: GUI subsystem, no runtime DLL beside it (only system DLLs imported),
// and small.
struct ProgramFile {
    std::string bytes;
    template <typename T>
    const T* At(size_t offset) const {
        return offset + sizeof(T) <= bytes.size() ? reinterpret_cast<const T*>(bytes.data() + offset) : nullptr;
    }
};

size_t FileOffset_FromRva(const ProgramFile& file, const IMAGE_NT_HEADERS32& nt, size_t ntOffset, DWORD rva) {
    const size_t sections = ntOffset + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        const auto* s = file.At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
        if (s && rva >= s->VirtualAddress && rva < s->VirtualAddress + s->SizeOfRawData)
            return rva - s->VirtualAddress + s->PointerToRawData;
    }
    return static_cast<size_t>(-1);
}

TEST(StarterProgramFile, IsAGuiProgramImportingOnlySystemDllsUnder512KB) {
    ProgramFile file{wintest::File_Read(BuiltStarter_Path())};
    std::printf("[ figures  ] Vembrol Starter.exe: %lu bytes (%.1f KB)\n", static_cast<unsigned long>(file.bytes.size()),
                static_cast<double>(file.bytes.size()) / 1024.0);
    EXPECT_LT(file.bytes.size(), 512u * 1024u);

    const auto* dos = file.At<IMAGE_DOS_HEADER>(0);
    ASSERT_TRUE(dos && dos->e_magic == IMAGE_DOS_SIGNATURE);
    const size_t ntOffset = static_cast<size_t>(dos->e_lfanew);
    const auto* nt = file.At<IMAGE_NT_HEADERS32>(ntOffset);
    ASSERT_TRUE(nt && nt->Signature == IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t at = FileOffset_FromRva(file, *nt, ntOffset, imports.VirtualAddress);
    std::vector<std::string> dlls;
    for (const IMAGE_IMPORT_DESCRIPTOR* d; (d = file.At<IMAGE_IMPORT_DESCRIPTOR>(at)) && d->Name; at += sizeof(*d)) {
        const size_t name = FileOffset_FromRva(file, *nt, ntOffset, d->Name);
        ASSERT_LT(name, file.bytes.size());
        std::string dll = file.bytes.c_str() + name;
        std::transform(dll.begin(), dll.end(), dll.begin(), [](char c) { return static_cast<char>(tolower(c)); });
        dlls.push_back(dll);
    }
    std::string list;
    for (const auto& dll : dlls) list += dll + " ";
    std::printf("[ figures  ] imports: %s\n", list.c_str());
    ASSERT_FALSE(dlls.empty());
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                             "shell32.dll",  "ole32.dll",  "msvcrt.dll", "comctl32.dll"};
    for (const auto& dll : dlls)
        EXPECT_NE(std::find(system.begin(), system.end(), dll), system.end()) << dll << " is no system DLL";
}

}  // namespace
