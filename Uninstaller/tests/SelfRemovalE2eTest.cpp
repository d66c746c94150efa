// The uninstaller's copy, which runs as administrator after a removal: a normal run stays a
// normal run whatever its environment holds, the copy's folder is closed to everyone but SYSTEM
// and the administrators, and a program takes up a copy's duties only from such a folder and
// with a handle to a process of its own bytes.
#include "Handles.h"
#include "InstallFileFormat.h"
#include "WideText.h"
#include "WinTest.h"

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

using namespace wintest;

namespace {

constexpr wchar_t kVariable[] = L"VEMBROL_UNINSTALL_ORIGINAL";
constexpr char kCopyPrefix[] = "Vembrol-Uninstall-";
const std::set<std::string> kLockedAces = {"(A;OICI;FA;;;SY)", "(A;OICI;FA;;;BA)"};

// The variable as a planted environment would hold it, for the processes started meanwhile.
class Planted {
public:
    explicit Planted(const std::string& value) { SetEnvironmentVariableW(kVariable, Wide_FromText(value).c_str()); }
    ~Planted() { SetEnvironmentVariableW(kVariable, nullptr); }
    Planted(const Planted&) = delete;
    Planted& operator=(const Planted&) = delete;
};

// An inheritable handle to the process, as the original hands it to its copy; its number.
class InheritableHandle {
public:
    explicit InheritableHandle(HANDLE process) {
        DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), handle_.put(),
                        SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
    }
    std::string Number() const { return std::to_string(reinterpret_cast<std::uintptr_t>(handle_.get())); }

private:
    UniqueKernelHandle handle_;
};

// The DACL of a folder as SDDL: its flags ("P" protected) and its entries.
struct Access {
    std::string flags;
    std::set<std::string> aces;
};

Access Folder_ReadAccess(const std::string& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    Access access;
    if (GetNamedSecurityInfoW(Wide_FromText(folder).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return access;
    UniqueLocalMemory owned(descriptor);
    wchar_t* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return access;
    UniqueLocalMemory ownedText(text);
    const std::string sddl = Text_FromWideBuffer(text, 4096);  // "D:P(A;...)(A;...)"
    const std::size_t first = sddl.find('(');
    access.flags = sddl.substr(0, first);
    for (std::size_t at = first; at != std::string::npos && at < sddl.size();) {
        const std::size_t end = sddl.find(')', at);
        if (end == std::string::npos) break;
        access.aces.insert(sddl.substr(at, end - at + 1));
        at = end + 1;
    }
    return access;
}

// Whether the platform keeps the rules a program gives a new folder: this machine's Wine does
// not (its server has no extended-attribute support and derives every folder's rules from the
// Unix mode bits), so there the copy's rules cannot be read back.
bool Platform_KeepsFolderAccess(const std::string& scratch) {
    const std::string probe = scratch + "access-probe\\";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;SY)", SDDL_REVISION_1, &descriptor, nullptr)) return false;
    UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    if (!CreateDirectoryW(Wide_FromText(probe).c_str(), &security)) return false;
    const Access access = Folder_ReadAccess(probe);
    RemoveDirectoryW(Wide_FromText(probe).c_str());
    return access.flags == "D:P" && access.aces == std::set<std::string>{"(A;;FA;;;SY)"};
}

class UninstallCopy : public ::testing::Test {
protected:
    ~UninstallCopy() override {
        // A copy that took up its duties schedules its folder last; then the folder may go.
        for (const auto& name : NewInTemp())
            Eventually([folder = WindowsTempFolder_Get() + name] {
                const auto pending = PendingDeletions_Get();
                if (std::find(pending.begin(), pending.end(), "\\??\\" + folder) == pending.end()) return false;
                Directory_DeleteTree(folder + "\\");
                return !Directory_Exists(folder);
            }, 15000);
        for (const auto& folder : made_) Directory_DeleteTree(folder);
    }
    std::string Root() const { return dir_.Path(); }
    // An installation with a listed and an unlisted file, and its uninstaller.
    std::string Install(const std::string& name) {
        const std::string app = Root() + name + "\\";
        Directory_Create(app);
        EXPECT_TRUE(CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(app + "Uninstall.exe").c_str(), FALSE));
        File_Write(app + "listed.txt", "x");
        File_Write(app + "unlisted.txt", "x");
        EntrySet set;
        set.Info.AppName = "Door App";
        set.Files = {{"", app + "listed.txt", BooleanFalse}};
        std::string bytes;
        EXPECT_TRUE(InstallFile_ToBytes(set, bytes));
        File_Write(app + "Uninstall.dat", bytes);
        return app;
    }
    // A running uninstaller of the same bytes elsewhere, waiting at its "not found" box.
    Process StartWaitingUninstaller(const std::string& name) {
        const std::string dir = Root() + name + "\\";
        Directory_Create(dir);
        EXPECT_TRUE(CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(dir + "Uninstall.exe").c_str(), FALSE));
        Process p = Process::Start(dir + "Uninstall.exe", "", Root());
        EXPECT_NE(MessageBox_WaitFor(p.Id(), 15000), nullptr);
        return p;
    }
    std::vector<std::string> NewInTemp() const {
        std::vector<std::string> added;
        for (const auto& name : Folder_ListNames(WindowsTempFolder_Get()))
            if (std::find(tempBefore_.begin(), tempBefore_.end(), name) == tempBefore_.end() &&
                std::find(made_.begin(), made_.end(), WindowsTempFolder_Get() + name + "\\") == made_.end())
                added.push_back(name);
        return added;
    }
    void Made(const std::string& folder) { made_.push_back(folder); }

private:
    static std::string Name() { return ::testing::UnitTest::GetInstance()->current_test_info()->name(); }
    ScratchDir dir_{Name()};
    PendingRenamesKept pending_;
    std::vector<std::string> made_;
    const std::vector<std::string> tempBefore_ = Folder_ListNames(WindowsTempFolder_Get());
};

bool Pending_Names(const std::string& folder) {
    for (const auto& path : PendingDeletions_Get())
        if (path.size() >= 4 && _stricmp(path.substr(4, folder.size()).c_str(), folder.c_str()) == 0) return true;
    return false;
}

// Whatever the variable holds, up to a handle to a running uninstaller of the same bytes, a run
// from the installation removes what is listed, logs, and leaves nothing of the installation
// to the next restart; its own copy goes to a folder only SYSTEM and the administrators may
// change, and removes the uninstaller.
TEST_F(UninstallCopy, PlantedVariableLeavesANormalRunAsItIs) {
    const bool keepsAccess = Platform_KeepsFolderAccess(Root());
    if (!keepsAccess) std::printf("This platform keeps no folder access rules: the copy's folder's rules are not read back.\n");
    Process sameProgram = StartWaitingUninstaller("Same");
    const InheritableHandle toSame(sameProgram.Handle()), toSelf(GetCurrentProcess());
    const struct { const char* what; std::string value; } cases[] = {
        {"a text", "not a handle"},
        {"a small number", "4"},
        {"a handle to another program", toSelf.Number()},
        {"a handle to a running uninstaller", toSame.Number()},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string app = Install("App" + std::to_string(++run)), log = app + "..\\run" + std::to_string(run) + ".log";
        const std::vector<std::string> before = NewInTemp();
        {
            Planted planted(c.value);
            Process p = Process::Start(app + "Uninstall.exe", "/S \"/LOG=" + log + "\"", Root(), true);
            ASSERT_TRUE(p.WaitExit(30000));
            EXPECT_EQ(p.ExitCode(), 0u);
        }
        EXPECT_FALSE(File_Exists(app + "listed.txt"));
        EXPECT_TRUE(File_Exists(app + "unlisted.txt"));
        EXPECT_NE(File_Read(log).find("Outcome 0: everything listed was removed\r\n"), std::string::npos) << File_Read(log);
        EXPECT_TRUE(Eventually([&] { return !File_Exists(app + "Uninstall.exe"); }, 15000)) << "the uninstaller stays";
        EXPECT_FALSE(Pending_Names(app)) << "the installation is left to the next restart";

        std::vector<std::string> copies;
        for (const auto& name : NewInTemp())
            if (std::find(before.begin(), before.end(), name) == before.end()) copies.push_back(name);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].rfind(kCopyPrefix, 0), 0u) << copies[0];
        const std::string copyDir = WindowsTempFolder_Get() + copies[0] + "\\";
        if (keepsAccess) {
            const Access access = Folder_ReadAccess(copyDir);
            EXPECT_EQ(access.flags.rfind("D:P", 0), 0u) << access.flags << ": the folder inherits";
            EXPECT_EQ(access.aces, kLockedAces);
        }
        EXPECT_TRUE(Eventually([&] { return Pending_Names(copyDir); }, 15000)) << "the copy is not left to the next restart";
    }
    EXPECT_TRUE(sameProgram.Running());
    EXPECT_TRUE(File_Exists(Root() + "Same\\Uninstall.exe"));
}

// A copy started by hand, wherever it lies and whatever handle it is given, is an ordinary run
// (here silent, with no data file beside it: exit code 2) unless it lies in a folder of the kind
// made for copies and holds a handle to another process of its own bytes: only then does it
// delete that process's image, once that process has ended.
TEST_F(UninstallCopy, OnlyItsOwnFolderAndAHandleToTheSameProgramMakeACopy) {
    enum Folder { CopyFolder, UserTemp, OtherName, Installation };
    enum Handle { None, Garbage, OtherProgram, SameProgram };
    const struct { Folder folder; Handle handle; bool deletes; } cases[] = {
        {CopyFolder, None, false},     {CopyFolder, Garbage, false},     {CopyFolder, OtherProgram, false},
        {UserTemp, SameProgram, false}, {OtherName, SameProgram, false}, {Installation, SameProgram, false},
        {CopyFolder, SameProgram, true},
    };
    Process other = Process::Start(STANDIN_EXE, "/Window=Other program");
    ASSERT_NE(Window_WaitFor({"Other program", nullptr, other.Id(), false}), nullptr);
    const InheritableHandle toOther(other.Handle());
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.folder) + " " + std::to_string(c.handle));
        const std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++run) + "\\";
        const std::string folder = c.folder == CopyFolder   ? WindowsTempFolder_Get() + kCopyPrefix + "test-" + tag
                                   : c.folder == UserTemp   ? TempFolder_Get() + kCopyPrefix + "test-" + tag
                                   : c.folder == OtherName  ? WindowsTempFolder_Get() + "Vembrol-Other-" + tag
                                                            : Install("Installation" + std::to_string(run));
        Made(folder);
        Directory_Create(folder);
        ASSERT_TRUE(CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(folder + "Uninstall.exe").c_str(), FALSE));
        Process same = StartWaitingUninstaller("Same" + std::to_string(run));
        const InheritableHandle toSame(same.Handle());
        const std::string value = c.handle == Garbage ? "123" : c.handle == OtherProgram ? toOther.Number() : toSame.Number();
        Process copy;
        {
            Planted planted(value);
            if (c.handle == None) SetEnvironmentVariableW(kVariable, nullptr);
            // The installation's run needs its question answered; /S answers it.
            copy = Process::Start(folder + "Uninstall.exe", "/S", Root(), true);
        }
        ASSERT_TRUE(copy.Started());
        // The awaited program ends as a user ends it.
        MessageBox_Answer(same.Id(), "OK");
        ASSERT_TRUE(same.WaitExit());
        ASSERT_TRUE(copy.WaitExit(20000));
        const DWORD ordinary = c.folder == Installation ? 0u : 2u;
        EXPECT_EQ(copy.ExitCode(), c.deletes ? 0u : ordinary);
        EXPECT_EQ(!File_Exists(Root() + "Same" + std::to_string(run) + "\\Uninstall.exe"), c.deletes);
        EXPECT_EQ(Pending_Names(folder), c.deletes);
        EXPECT_TRUE(other.Running() && File_Exists(STANDIN_EXE));
    }
}

}  // namespace
