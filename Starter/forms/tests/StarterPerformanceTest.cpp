// The real program with five Start Station slots filled. Opening times depend on the machine, so
// they are printed, not asserted; growth and size are bounded.
#include "StarterSession.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace startertest;

namespace {

TEST_F(StarterTest, MenuOpensWithoutGrowingTheWorkingSetAndTheProgramStaysSmall) {
    const size_t exeSize = wintest::File_Read(STARTER_EXE).size();
    std::printf("[ figures  ] Vembrol Starter.exe: %.1f KB\n", static_cast<double>(exeSize) / 1024);
    EXPECT_LT(exeSize, 512u * 1024u);

    const StarterInstall& install = Install("starter-performance", true, "starter");
    for (int n = 1; n <= 5; ++n) {
        const std::string program = install.root + "apps\\Application Number " + std::to_string(n) + ".exe";
        StandIn_Copy(program);
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type" + std::to_string(n), "1");
        Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "application name" + std::to_string(n), program);
    }
    ASSERT_TRUE(Start());
    auto workingSet = [&] {
        PROCESS_MEMORY_COUNTERS counters = {};
        GetProcessMemoryInfo(starter_.Handle(), &counters, sizeof(counters));
        return static_cast<double>(counters.WorkingSetSize);
    };
    wintest::WindowQuery menus;
    menus.className = "#32768";
    using clock = std::chrono::steady_clock;
    std::vector<double> times;
    double before = 0;
    for (int i = 0; i < 250; ++i) {  // 50 warm-ups, 20 of them timed, 200 for the growth
        if (i == 50) before = workingSet();
        wintest::PopupMenu_WaitClosed();
        const auto start = clock::now();
        Tray_Post(WM_RBUTTONUP);
        HWND popup;
        while (!(popup = wintest::Window_Find(menus)) && clock::now() - start < std::chrono::seconds(5)) Sleep(0);
        const std::chrono::duration<double, std::milli> elapsed = clock::now() - start;
        ASSERT_NE(popup, nullptr) << "opening " << i;
        if (i >= 50 && i < 70) times.push_back(elapsed.count());
        PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1);
    }
    wintest::PopupMenu_WaitClosed();
    const double after = workingSet(), growth = 100 * (after - before) / before;
    std::sort(times.begin(), times.end());
    std::printf("[ figures  ] tray message to popup, 20 openings: median %.1f ms; working set %.0f KB, growth: %.2f %%\n",
                (times[9] + times[10]) / 2, after / 1024, growth);
    EXPECT_LT(growth, 5.0);
}

}  // namespace
