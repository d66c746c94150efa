// Starting programs without the unquoted-path hijack, starting Vembrol in its modes, and
// finding, restoring and closing its window.
#include "StarterShell.h"

#include "LaunchTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string BlankDir = "C:\\Program Files\\Vembrol Test\\";

// A stand-in planted at C:\Program.exe: what Windows starts for an unquoted
// "C:\Program Files\..." command line when no program is named separately.
struct PlantedShorterPrefix {
    PlantedProgram planted{"C:\\Program.exe"};
    ~PlantedShorterPrefix() { wintest::Directory_DeleteTree(BlankDir); }
};

TEST(ProcessStart, NamedProgramInBlankDirectoryStartsInsteadOfPlantedPrefixWithCommandLineUnchanged) {
    PlantedShorterPrefix hijack;
    PlantedProgram tool(BlankDir + "Tool.exe");
    const std::string commandLine = tool.Path() + " /a";

    ASSERT_TRUE(Process_Start(commandLine, tool.Path()));
    const auto started = StartLog_WaitFor(tool.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, commandLine);
    Sleep(300);
    EXPECT_TRUE(StartLog_Read(hijack.planted.LogPath()).empty());

    // Without the program the same command line runs the planted one: the plant above is live.
    ASSERT_TRUE(Process_Start(commandLine, ""));
    EXPECT_EQ(StartLog_WaitFor(hijack.planted.LogPath()).size(), 1u);
}

// A planted Vembrol whose windows are closed before the file goes.
struct PlantedTarget {
    PlantedProgram program;
    explicit PlantedTarget(const std::string& path) : program(path) {}
    ~PlantedTarget() {
        for (const char* title : {"Vembrol", "FastSort - Vembrol", "Vembrol (extended help mode)"})
            Windows_CloseTitled(title);
    }
};

TEST(TargetProgram, LivesBesideTheStarterAndStartsWithItsUnquotedPath) {
    EXPECT_EQ(TargetProgram_GetPath(), Starter_Directory() + "Vembrol.exe");
    PlantedTarget target(wintest::ThisExe_Directory() + "Vembrol.exe");
    const PlantedProgram& vembrol = target.program;

    TargetProgram_Launch();
    const auto started = StartLog_WaitFor(vembrol.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, vembrol.Path());
    EXPECT_TRUE(wintest::Window_WaitFor({"Vembrol"}));
}

TEST(TargetProgram, ModeStartInBlankDirectoryNeverRunsThePlantedPrefix) {
    PlantedShorterPrefix hijack;
    PlantedTarget target(BlankDir + "Vembrol.exe");
    const PlantedProgram& vembrol = target.program;

    TargetProgram_LaunchMode(vembrol.Path(), " /FastSort");
    const auto started = StartLog_WaitFor(vembrol.LogPath());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].commandLine, vembrol.Path() + " /FastSort");
    EXPECT_TRUE(wintest::Window_WaitFor({"FastSort - Vembrol"}));
    EXPECT_TRUE(StartLog_Read(hijack.planted.LogPath()).empty());
}

TEST(TargetProgram, MissingHiddenOrSystemTargetGetsTheMessageOfTheStartAsked) {
    const std::string normal = "Vembrol was not found in current directory  !";
    const std::string mode =
        "Vembrol was not found in current directory, please move this program to the right location !";
    const std::string path = wintest::ThisExe_Directory() + "Vembrol.exe";
    struct Case {
        const char* what;
        DWORD attributes;  // 0: no file at all
        bool modeStart;
        std::string modePath;
    } cases[] = {
        {"missing", 0, false, ""},
        {"hidden", FILE_ATTRIBUTE_HIDDEN, false, ""},
        {"system", FILE_ATTRIBUTE_SYSTEM, true, path},
        {"missing, mode", 0, true, path},
        {"directory path", FILE_ATTRIBUTE_NORMAL, true, wintest::ThisExe_Directory()},
        {"empty path", FILE_ATTRIBUTE_NORMAL, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlantedProgram vembrol(path);
        if (c.attributes) {
            wintest::File_SetAttributes(path, c.attributes);
        } else {
            DeleteFileA(path.c_str());
        }
        wintest::BoxAnswerer answerer({"OK"});
        if (c.modeStart) {
            TargetProgram_LaunchMode(c.modePath, " /FastRead");
        } else {
            TargetProgram_Launch();
        }
        const auto& boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Vembrol Starter");
        EXPECT_EQ(boxes[0].text, c.modeStart ? mode : normal);
        EXPECT_EQ(boxes[0].buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(boxes[0].icon, wintest::BoxIcon::Exclamation);
        EXPECT_TRUE(StartLog_Read(vembrol.LogPath()).empty());
    }
}

// Top-level windows of this thread standing in for Vembrol; WM_CLOSE records what the window
// looked like when it arrived.
struct TestWindow {
    HWND hwnd = nullptr;
    static inline bool closeSeen = false, iconicAtClose = false, focusedAtClose = false;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_CLOSE) {
            closeSeen = true;
            iconicAtClose = IsIconic(hwnd) != 0;
            focusedAtClose = GetFocus() == hwnd;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    explicit TestWindow(const char* title, int show = SW_SHOWNOACTIVATE) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VembrolLaunchTestWindow";
        RegisterClassA(&wc);  // fails harmlessly once registered
        hwnd = CreateWindowA(wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
        ShowWindow(hwnd, show);
        closeSeen = iconicAtClose = focusedAtClose = false;
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
};

TEST(TargetWindow, TitlesAreSearchedInOrderAndTheFirstFoundDecides) {
    HWND hwnd = reinterpret_cast<HWND>(1);
    bool minimized = true;
    EXPECT_EQ(TargetWindow_Find(hwnd, minimized), TargetNotRunning);
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_TRUE(minimized);  // left as the caller passed it

    {
        TestWindow fastRead("FastRead - Vembrol");
        TestWindow normal("Vembrol");
        minimized = false;
        EXPECT_EQ(TargetWindow_Find(hwnd, minimized), TargetInNormalMode);
        EXPECT_EQ(hwnd, normal.hwnd);
        EXPECT_FALSE(minimized);
    }
    const std::pair<const char*, std::int16_t> alone[] = {
        {"FastRead - Vembrol", 8}, {"FastSort - Vembrol", 4}, {"Vembrol (extended help mode)", 16}};
    for (auto [title, state] : alone) {
        TestWindow window(title, SW_SHOWMINNOACTIVE);
        minimized = false;
        EXPECT_EQ(TargetWindow_Find(hwnd, minimized), state) << title;
        EXPECT_EQ(hwnd, window.hwnd) << title;
        EXPECT_TRUE(minimized) << title;
    }
}

TEST(TargetWindow, RestoreAndCloseRestoreAndFocusFirstAndCloseIsSent) {
    {
        TestWindow window("Vembrol", SW_SHOWMINNOACTIVE);
        EXPECT_TRUE(TargetWindow_Control(TargetAction_Close));
        EXPECT_TRUE(TestWindow::closeSeen);  // handled before the call returned
        EXPECT_FALSE(TestWindow::iconicAtClose);
        EXPECT_TRUE(TestWindow::focusedAtClose);
        EXPECT_FALSE(IsWindow(window.hwnd));
    }
    {
        TestWindow window("FastSort - Vembrol", SW_SHOWMINNOACTIVE);
        EXPECT_TRUE(TargetWindow_Control(TargetAction_Restore));
        EXPECT_FALSE(IsIconic(window.hwnd));
        EXPECT_FALSE(TestWindow::closeSeen);

        ShowWindow(window.hwnd, SW_SHOWMINNOACTIVE);
        EXPECT_FALSE(TargetWindow_Control(3));
        EXPECT_TRUE(IsIconic(window.hwnd));
        EXPECT_FALSE(TestWindow::closeSeen);
    }
    EXPECT_FALSE(TargetWindow_Control(TargetAction_Restore));
    EXPECT_FALSE(TargetWindow_Control(TargetAction_Close));
}

TEST(TargetWindow, RunningStandInIsRestoredThenClosedBeforeControlReturns) {
    PlantedTarget target(wintest::ThisExe_Directory() + "Vembrol.exe");
    const PlantedProgram& vembrol = target.program;
    wintest::Process process = wintest::Process::Start(vembrol.Path());
    HWND window = wintest::Window_WaitFor({"Vembrol"});
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));

    EXPECT_TRUE(TargetWindow_Control(TargetAction_Restore));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(TargetWindow_Control(TargetAction_Close));
    EXPECT_TRUE(TextContains(wintest::File_Read(vembrol.LogPath()), "closed|Vembrol"));
    EXPECT_TRUE(process.WaitExit(5000));
}

}  // namespace
