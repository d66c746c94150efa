// Directories and special folders as Wine reports them, item lists given back, and which files
// a shortcut removal may and may not delete in the real Start menu and on the real desktop.
#include "KtShellRegistration.h"

#include "WinTest.h"

#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wintest;

namespace {

std::string Parent(const std::string& directory) {  // "C:\a\b\" -> "C:\a\"
    std::string d = directory.substr(0, directory.size() - 1);
    return d.substr(0, d.find_last_of('\\') + 1);
}

TEST(SystemDirectories, AreThePlatformsDirectoriesWithOneTrailingBackslash) {
    char windows[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    EXPECT_EQ(WindowsDir_Get(), std::string(windows) + "\\");
    EXPECT_EQ(SystemDir_Get(), std::string(system) + "\\");
    EXPECT_TRUE(Directory_Exists(SystemDir_Get()));
}

TEST(SpecialFolders, FileSystemFoldersEndInBackslashAndVirtualOnesAreEmpty) {
    const struct {
        int csidl;
        const char* name;
        bool hasPath;
    } cases[] = {
        {CSIDL_PROGRAMS, "Programs", true},
        {CSIDL_DESKTOPDIRECTORY, "desktop directory", true},
        {CSIDL_STARTMENU, "Start menu", true},
        {CSIDL_DRIVES, "My Computer", false},
        {CSIDL_PRINTERS, "printers", false},
        {CSIDL_BITBUCKET, "recycle bin", false},
        {0x7F, "no such folder", false},
    };
    for (const auto& c : cases) {
        std::string path = SpecialFolder_GetPath(c.csidl);
        if (!c.hasPath) {
            EXPECT_EQ(path, "") << c.name;
            continue;
        }
        char expected[MAX_PATH] = {};
        ASSERT_EQ(SHGetFolderPathA(nullptr, c.csidl, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK) << c.name;
        EXPECT_EQ(path, std::string(expected) + "\\") << c.name;
        EXPECT_TRUE(Directory_Exists(path)) << c.name;
    }
}

// Counts the shell allocator's blocks that are still live, through a malloc spy. COM keeps
// calling a spy whose revocation it had to postpone, so the one instance lives for the process.
class LiveBlocks final : public IMallocSpy {
public:
    static LiveBlocks& Instance() {
        static LiveBlocks spy;
        return spy;
    }
    HRESULT Start() {
        live_ = 0;
        return CoRegisterMallocSpy(this);
    }
    // Fails while a block allocated under the spy is still live.
    HRESULT Stop() { return CoRevokeMallocSpy(); }
    long Count() const { return live_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IMallocSpy) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        if (block) ++live_;
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
        if (block && spied) --live_;
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
        reallocFromNothing_ = block == nullptr;
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override {
        if (reallocFromNothing_ && block) ++live_;
        return block;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    bool reallocFromNothing_ = false;
    long live_ = 0;
};

TEST(SpecialFolders, GiveBackTheItemListOnSuccessAndOnFailure) {
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_DRIVES}) SpecialFolder_GetPath(csidl);  // warm the shell's caches
    LiveBlocks& blocks = LiveBlocks::Instance();
    ASSERT_EQ(blocks.Start(), S_OK);
    for (int csidl : {CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, CSIDL_PRINTERS}) {
        SpecialFolder_GetPath(csidl);
        EXPECT_EQ(blocks.Count(), 0) << "CSIDL " << csidl;
    }
    // The spy does see an item list that is not given back.
    LPITEMIDLIST kept = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &kept), S_OK);
    EXPECT_GT(blocks.Count(), 0);
    CoTaskMemFree(kept);
    EXPECT_EQ(blocks.Count(), 0);
    EXPECT_EQ(blocks.Stop(), S_OK);
}

// Files and folders made in the real Programs and desktop folders, all removed afterwards.
class Shortcuts : public ::testing::Test {
protected:
    const std::string programs = SpecialFolder_GetPath(CSIDL_PROGRAMS);
    const std::string desktop = SpecialFolder_GetPath(CSIDL_DESKTOPDIRECTORY);
    const std::string group = "VembrolTest Group";

    void SetUp() override {
        ASSERT_NE(programs, "");
        ASSERT_NE(desktop, "");
        Directory_DeleteTree(programs + group);  // left over from an interrupted run
    }
    ~Shortcuts() override {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            File_SetAttributes(*it, FILE_ATTRIBUTE_NORMAL);
            if (Directory_Exists(*it)) {
                Directory_DeleteTree(*it);
            } else {
                DeleteFileA(it->c_str());
            }
        }
    }
    std::string MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        Directory_Create(path.substr(0, path.find_last_of('\\') + 1));
        made_.push_back(path);
        File_Write(path, "L shortcut");
        File_SetAttributes(path, attributes);
        EXPECT_TRUE(File_Exists(path)) << path;
        return path;
    }
    // A folder that was there before (a real one of the profile) is left in place.
    std::string MakeDirectory(const std::string& path) {
        bool existed = Directory_Exists(path);
        Directory_Create(path);
        if (!existed) made_.push_back(path);
        return path;
    }

private:
    std::vector<std::string> made_;
};

TEST_F(Shortcuts, RemovesTheNamedShortcutFileAndNothingElse) {
    MakeDirectory(programs + group);
    const std::string dir = programs + group + "\\";
    std::string link = MakeFile(dir + "App.lnk");
    std::string other = MakeFile(dir + "Other.lnk");
    std::string sameName = MakeFile(dir + "App.txt");
    std::string bare = MakeFile(dir + "Bare");
    std::string folder = MakeDirectory(dir + "App");
    std::string folderLnk = MakeDirectory(dir + "Dir.lnk");

    EXPECT_TRUE(ShellLink_Remove(group, "App"));
    EXPECT_FALSE(File_Exists(link));
    EXPECT_FALSE(ShellLink_Remove(group, "App")) << "already removed";
    EXPECT_FALSE(ShellLink_Remove(group, "App.txt"));
    EXPECT_FALSE(ShellLink_Remove(group, "Bare"));
    EXPECT_FALSE(ShellLink_Remove(group, "Dir"));
    for (const auto& kept : {other, sameName, bare}) EXPECT_TRUE(File_Exists(kept)) << kept;
    for (const auto& kept : {folder, folderLnk}) EXPECT_TRUE(Directory_Exists(kept)) << kept;

    EXPECT_TRUE(ShellLink_Remove(group + "\\", "Other")) << "a trailing backslash names the same folder";
    EXPECT_FALSE(File_Exists(other));
}

TEST_F(Shortcuts, EmptyFolderMeansTheProgramsFolderItself) {
    std::string link = MakeFile(programs + "VembrolTest Top.lnk");
    EXPECT_TRUE(ShellLink_Remove("", "VembrolTest Top"));
    EXPECT_FALSE(File_Exists(link));
}

// Installers wrote the desktop as "..\..\Desktop" from Programs. On this profile layout that
// path is a folder in the roaming application data, not the desktop the user sees.
TEST_F(Shortcuts, OldDesktopPathReachesTheUsersRealDesktop) {
    const std::string literal = Parent(Parent(programs)) + "Desktop\\";
    ASSERT_NE(lstrcmpiA(literal.c_str(), desktop.c_str()), 0) << "this layout cannot tell the two apart";
    MakeDirectory(literal);
    for (const char* folder : {"..\\..\\Desktop", "..\\..\\desktop\\", "../../Desktop"}) {
        std::string onDesktop = MakeFile(desktop + "VembrolTest App.lnk");
        std::string decoy = MakeFile(literal + "VembrolTest App.lnk");
        EXPECT_TRUE(ShellLink_Remove(folder, "VembrolTest App")) << folder;
        EXPECT_FALSE(File_Exists(onDesktop)) << folder;
        EXPECT_TRUE(File_Exists(decoy)) << folder;
    }
}

TEST_F(Shortcuts, ReadOnlyAndHiddenShortcutsAreRemovedButAHeldOneReportsFalse) {
    MakeDirectory(programs + group);
    const std::string dir = programs + group + "\\";
    const struct {
        const char* name;
        DWORD attributes;
    } cases[] = {
        {"ReadOnly", FILE_ATTRIBUTE_READONLY},
        {"Hidden", FILE_ATTRIBUTE_HIDDEN},
        {"Both", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
    };
    for (const auto& c : cases) {
        std::string link = MakeFile(dir + c.name + ".lnk", c.attributes);
        EXPECT_TRUE(ShellLink_Remove(group, c.name)) << c.name;
        EXPECT_FALSE(File_Exists(link)) << c.name;
    }

    // Open elsewhere without delete sharing: the file stays, and so does its read-only flag.
    std::string held = MakeFile(dir + "Held.lnk", FILE_ATTRIBUTE_READONLY);
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ShellLink_Remove(group, "Held"));
    CloseHandle(h);
    EXPECT_TRUE(File_Exists(held));
    EXPECT_TRUE(GetFileAttributesA(held.c_str()) & FILE_ATTRIBUTE_READONLY);
}

// The data file naming folder and link comes from outside: nothing may lead out of the
// folder it names (program groups lie below Programs; only the old desktop path goes up).
TEST_F(Shortcuts, NamesThatLeaveTheirFolderRemoveNothing) {
    MakeDirectory(programs + group);
    const std::string startMenu = Parent(programs);
    std::string outside = MakeFile(startMenu + "VembrolTest Outside.lnk");
    std::string inGroup = MakeFile(programs + group + "\\App.lnk");
    std::string nested = MakeFile(programs + group + "\\Sub\\App.lnk");
    std::string unnamed = MakeFile(programs + group + "\\.lnk");
    ScratchDir scratch("shortcuts");
    std::string elsewhere = MakeFile(scratch.Path() + "App.lnk");
    const std::string outsideName = "VembrolTest Outside";
    const std::string scratchFolder = scratch.Path().substr(0, scratch.Path().size() - 1);

    const struct {
        std::string folder, link;
    } cases[] = {
        {group, ""},
        {group, "Sub\\App"},
        {group, "Sub/App"},
        {group, "..\\" + group + "\\App"},
        {group, "Sub\\..\\App"},
        {group, "App*"},
        {group, "App?"},
        {group, "App:stream"},
        {group, ".."},
        {"", "..\\" + outsideName},
        {"", "../" + outsideName},
        {"..", outsideName},
        {"..\\", outsideName},
        {group + "\\..\\..", outsideName},
        {group + "\\..\\..\\", outsideName},
        {". .", outsideName},
        {"..\\Programs\\" + group, "App"},
        {".\\" + group, "App"},
        {"..\\..\\Desktop\\..\\..", outsideName},
        {scratchFolder, "App"},
        {"Z:\\", "App"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ShellLink_Remove(c.folder, c.link)) << '"' << c.folder << "\" \"" << c.link << '"';
        for (const auto& kept : {outside, inGroup, nested, unnamed, elsewhere})
            ASSERT_TRUE(File_Exists(kept)) << kept << " after \"" << c.folder << "\" \"" << c.link << '"';
    }
}

}  // namespace
