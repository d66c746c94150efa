// Start Station items chosen in the real program: an application started in its own directory,
// a folder opened with the browse application, and the loop that asks for a browse application
// that cannot be started.
#include "StarterSession.h"

#include <gtest/gtest.h>

using namespace startertest;

namespace {

std::string WithoutTrailingBackslash(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void Slot_Write(int n, const char* type, const std::string& name) {
    const std::string k = kStartStationKey;
    Registry_WriteString(HKEY_LOCAL_MACHINE, k, "file type" + std::to_string(n), type);
    Registry_WriteString(HKEY_LOCAL_MACHINE, k, "application name" + std::to_string(n), name);
}

std::string BrowseApplication_Stored() {
    std::string text;
    return Registry_ReadString(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application", text) ? text : "(none)";
}

// The input box of a failed browse: its prompt, and an answer typed into it.
struct InputBoxSeen {
    HWND hwnd = nullptr;
    std::string prompt;
};

InputBoxSeen InputBox_WaitFor(DWORD pid, int timeoutMs = 10000) {
    wintest::WindowQuery q;
    q.title = "Error during browsing";
    q.processId = pid;
    InputBoxSeen seen;
    seen.hwnd = wintest::Window_WaitFor(q, timeoutMs);
    if (seen.hwnd) {
        Sleep(50);
        seen.prompt = wintest::Window_GetText(GetDlgItem(seen.hwnd, 0xFFFF));
    }
    return seen;
}

void InputBox_Answer(const InputBoxSeen& box, const std::string& text, const char* button) {
    HWND edit = FindWindowExA(box.hwnd, nullptr, "Edit", nullptr);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    wintest::MessageBox_Press(box.hwnd, button);
    wintest::Window_WaitGone(box.hwnd);
}

class StarterStartStation : public ::testing::Test {
protected:
    void TearDown() override { StandIns_CloseAll(); }
    RegistryGuard registry_;
};

TEST_F(StarterStartStation, ApplicationStartsInItsDirectoryAndTheStarterReturnsToItsOwn) {
    StarterInstall install("starter-station-app", true, "starter");
    const std::string apps = install.ScratchPath() + "apps\\";
    StandIn_Copy(apps + "Player.exe");
    Slot_Write(2, "1", apps + "Player.exe");
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_StartStation, 2)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(apps, start));
    EXPECT_EQ(start.commandLine, apps + "Player.exe");
    EXPECT_EQ(WithoutTrailingBackslash(start.cwd), WithoutTrailingBackslash(apps));

    // Vembrol, started afterwards, inherits the Starter's current directory: its own again.
    ASSERT_TRUE(starter.Menu_Choose(Keys_Item(Item_Target)));
    ASSERT_TRUE(StandInStart_WaitFirst(install.Directory(), start));
    EXPECT_EQ(WithoutTrailingBackslash(start.cwd), WithoutTrailingBackslash(install.Directory()));
}

TEST_F(StarterStartStation, FolderOpensWithTheBrowseApplicationAndItsPathUnquoted) {
    StarterInstall install("starter-station-folder", true, "starter");
    const std::string browse = install.ScratchPath() + "browse\\Browse.exe";
    StandIn_Copy(browse);
    const std::string folder = install.ScratchPath() + "my music\\";
    wintest::Directory_Create(folder);
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application", browse);
    Slot_Write(1, "2", folder);
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));

    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_StartStation, 1)));
    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.ScratchPath() + "browse\\", start));
    EXPECT_EQ(start.commandLine, browse + " " + folder);
    EXPECT_EQ(WithoutTrailingBackslash(start.cwd), install.ScratchPath() + "browse");
}

TEST_F(StarterStartStation, BrowseLoopAsksUntilTheApplicationStartsAndSavesWhatWasTyped) {
    StarterInstall install("starter-station-browse", true, "starter");
    const std::string gone = install.ScratchPath() + "gone\\Browse.exe";
    const std::string alsoGone = install.ScratchPath() + "gone\\Other.exe";
    const std::string browse = install.ScratchPath() + "browse\\Browse.exe";
    StandIn_Copy(browse);
    const std::string folder = install.ScratchPath() + "music\\";
    wintest::Directory_Create(folder);
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "browse application", gone);
    Slot_Write(1, "2", folder);
    Registry_WriteString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type6", "1");  // not a slot: dropped on save
    StarterSession starter;
    ASSERT_TRUE(starter.Start(install));
    const DWORD pid = starter.Process().Id();

    // Cancel: nothing started, nothing saved.
    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_StartStation, 1)));
    InputBoxSeen box = InputBox_WaitFor(pid);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.prompt, "Please enter path to browse application (" + gone + " not found):");
    InputBox_Answer(box, "typed but cancelled", "Cancel");
    EXPECT_EQ(InputBox_WaitFor(pid, 1000).hwnd, nullptr);  // no second round
    EXPECT_EQ(BrowseApplication_Stored(), gone);

    // A path that does not start either is saved and asked about again; a good one opens the folder.
    ASSERT_TRUE(starter.Menu_Choose(Keys_SubItem(Item_StartStation, 1)));
    box = InputBox_WaitFor(pid);
    ASSERT_NE(box.hwnd, nullptr);
    InputBox_Answer(box, alsoGone, "OK");
    box = InputBox_WaitFor(pid);
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.prompt, "Please enter path to browse application (" + alsoGone + " not found):");
    EXPECT_EQ(BrowseApplication_Stored(), alsoGone);
    InputBox_Answer(box, browse, "OK");

    StandInStart start;
    ASSERT_TRUE(StandInStart_WaitFirst(install.ScratchPath() + "browse\\", start));
    EXPECT_EQ(start.commandLine, browse + " " + folder);
    EXPECT_EQ(BrowseApplication_Stored(), browse);
    // The save rewrote the whole key from the slots: the slot stays, the stray value is gone.
    std::string type;
    EXPECT_TRUE(Registry_ReadString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type1", type));
    EXPECT_EQ(type, "2");
    EXPECT_FALSE(Registry_ReadString(HKEY_LOCAL_MACHINE, kStartStationKey, "file type6", type));
}

}  // namespace
