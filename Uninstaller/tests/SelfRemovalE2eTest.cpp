// The uninstaller's copy, which runs as administrator after a removal: a normal run stays a
// normal run whatever its environment holds, the copy's folder is closed to everyone but SYSTEM
// and the administrators, and a program acts as the copy only from such a folder and with a
// handle to another process of its own bytes.
#include "Handles.h"
#include "InstallFileFormat.h"
#include "WideText.h"
#include "WinTest.h"

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace wintest;

namespace {

constexpr wchar_t kVariable[] = L"VEMBROL_UNINSTALL_ORIGINAL";
constexpr char kCopyPrefix[] = "Vembrol-Uninstall-";

// An inheritable handle to the process, as the original hands one to its copy; its number.
std::string Inheritable(HANDLE process, UniqueKernelHandle& held) {
    DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), held.put(), SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
    return std::to_string(reinterpret_cast<std::uintptr_t>(held.get()));
}

// A folder's DACL as SDDL: whether it is protected ("D:P", perhaps with "AI") and its entries.
bool Folder_HasAccess(const std::string& folder, const std::string& entries) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t* text = nullptr;
    if (GetNamedSecurityInfoW(Wide_FromText(folder).c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    UniqueLocalMemory owned(descriptor);
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return false;
    UniqueLocalMemory ownedText(text);
    const std::string sddl = Text_FromWideBuffer(text, 4096);
    return sddl.rfind("D:P", 0) == 0 && sddl.find('(') != std::string::npos && sddl.substr(sddl.find('(')) == entries;
}

// This machine's Wine keeps no folder's DACL (its server lacks extended attributes and derives
// every DACL from the Unix mode bits); there the copy's cannot be read back.
bool Platform_KeepsFolderAccess(const std::string& probe) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;SY)", SDDL_REVISION_1, &descriptor, nullptr);
    UniqueLocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    const bool kept = CreateDirectoryW(Wide_FromText(probe).c_str(), &security) && Folder_HasAccess(probe, "(A;;FA;;;SY)");
    RemoveDirectoryW(Wide_FromText(probe).c_str());
    return kept;
}

bool Pending_Names(const std::string& folder) {
    const auto pending = PendingDeletions_Get();
    return std::any_of(pending.begin(), pending.end(), [&](const std::string& p) { return _stricmp(p.substr(4, folder.size()).c_str(), folder.c_str()) == 0; });
}

class UninstallCopy : public ::testing::Test {
protected:
    ~UninstallCopy() override {
        // A working copy schedules its folder last; only then may the folder go.
        for (const auto& name : Folder_ListNames(WindowsTempFolder_Get()))
            if (std::find(tempBefore_.begin(), tempBefore_.end(), name) == tempBefore_.end())
                Eventually([f = WindowsTempFolder_Get() + name + "\\"] { return Pending_Names(f) && (Directory_DeleteTree(f), !Directory_Exists(f)); }, 15000);
        for (const auto& folder : made_) Directory_DeleteTree(folder);
    }
    std::string Place(const std::string& folder) {
        made_.push_back(folder);
        Directory_Create(folder);
        EXPECT_TRUE(CopyFileW(Wide_FromText(UNINSTALL_EXE).c_str(), Wide_FromText(folder + "Uninstall.exe").c_str(), FALSE));
        return folder + "Uninstall.exe";
    }
    // A running uninstaller of the same bytes in a folder of its own, waiting at its "not found" box.
    Process StartWaiting(const std::string& name) {
        Process p = Process::Start(Place(dir_.Path() + name + "\\"), "", dir_.Path());
        EXPECT_NE(MessageBox_WaitFor(p.Id(), 15000), nullptr);
        return p;
    }
    // Started with the variable set to value (unset when empty) and this process's inheritable handles.
    Process Start(const std::string& exe, const std::string& args, const std::string& value) {
        SetEnvironmentVariableW(kVariable, value.empty() ? nullptr : Wide_FromText(value).c_str());
        Process p = Process::Start(exe, args, dir_.Path(), true);
        SetEnvironmentVariableW(kVariable, nullptr);
        return p;
    }
    ScratchDir dir_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    PendingRenamesKept pending_;
    std::vector<std::string> made_;
    const std::vector<std::string> tempBefore_ = Folder_ListNames(WindowsTempFolder_Get());
};

// Whatever the variable holds, up to a handle to a running uninstaller of the same bytes, a run
// from the installation removes what is listed, logs, leaves nothing of the installation to the
// next restart, and its own copy, in a folder closed to all but SYSTEM and the administrators,
// removes the uninstaller.
TEST_F(UninstallCopy, PlantedVariableLeavesANormalRunAsItIs) {
    const bool keepsAccess = Platform_KeepsFolderAccess(dir_.Path() + "probe");
    if (!keepsAccess) std::printf("This platform keeps no folder DACL: the copy's folder's is not read back.\n");
    Process same = StartWaiting("Same");
    UniqueKernelHandle held;
    for (const std::string& value : {std::string("4"), Inheritable(same.Handle(), held)}) {
        SCOPED_TRACE(value);
        const std::string app = dir_.Path() + "App" + value + "\\", log = dir_.Path() + value + ".log";
        const std::string exe = Place(app);
        File_Write(app + "listed.txt", "x");
        EntrySet set;
        set.Files = {{"", app + "listed.txt", BooleanFalse}};
        std::string bytes;
        ASSERT_TRUE(InstallFile_ToBytes(set, bytes));
        File_Write(app + "Uninstall.dat", bytes);
        const std::vector<std::string> before = Folder_ListNames(WindowsTempFolder_Get());
        Process p = Start(exe, "/S \"/LOG=" + log + "\"", value);
        ASSERT_TRUE(p.WaitExit(30000));
        EXPECT_EQ(p.ExitCode(), 0u);
        EXPECT_FALSE(File_Exists(app + "listed.txt"));
        EXPECT_NE(File_Read(log).find("Outcome 0: everything listed was removed\r\n"), std::string::npos);
        EXPECT_TRUE(Eventually([&] { return !File_Exists(exe); }, 15000)) << "the uninstaller stays";
        EXPECT_FALSE(Pending_Names(app)) << "the installation is left to the next restart";
        std::vector<std::string> copies;
        for (const auto& name : Folder_ListNames(WindowsTempFolder_Get()))
            if (std::find(before.begin(), before.end(), name) == before.end()) copies.push_back(name);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].rfind(kCopyPrefix, 0), 0u) << copies[0];
        if (keepsAccess) {
            EXPECT_TRUE(Folder_HasAccess(WindowsTempFolder_Get() + copies[0], "(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"));
        }
    }
    EXPECT_TRUE(same.Running() && File_Exists(dir_.Path() + "Same\\Uninstall.exe"));
}

// Started by hand, a copy is an ordinary run (silent, without a data file: exit code 2) unless it
// lies in a folder of the kind made for copies and holds a handle to another process of its own
// bytes: only then does it delete that process's image, once the process has ended.
TEST_F(UninstallCopy, OnlyItsOwnFolderAndAHandleToTheSameProgramMakeACopy) {
    enum Handle { Garbage, OtherProgram, SameProgram };
    const struct { std::string parent; Handle handle; bool deletes; } cases[] = {
        {WindowsTempFolder_Get(), Garbage, false}, {WindowsTempFolder_Get(), OtherProgram, false},
        {TempFolder_Get(), SameProgram, false}, {WindowsTempFolder_Get(), SameProgram, true}};
    Process other = Process::Start(STANDIN_EXE, "/Window=Other program");
    ASSERT_NE(Window_WaitFor({"Other program", nullptr, other.Id(), false}), nullptr);
    UniqueKernelHandle toOther, toSame;
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(++run));
        const std::string folder = c.parent + kCopyPrefix + "test-" + std::to_string(run) + "\\", victim = "Same" + std::to_string(run);
        const std::string copyExe = Place(folder);
        Process same = StartWaiting(victim);
        const std::string value = c.handle == Garbage ? "123" : c.handle == OtherProgram ? Inheritable(other.Handle(), toOther) : Inheritable(same.Handle(), toSame);
        Process copy = Start(copyExe, "/S", value);
        MessageBox_Answer(same.Id(), "OK");
        ASSERT_TRUE(same.WaitExit() && copy.WaitExit(20000));
        EXPECT_EQ(copy.ExitCode(), c.deletes ? 0u : 2u);
        EXPECT_EQ(!File_Exists(dir_.Path() + victim + "\\Uninstall.exe"), c.deletes);
        EXPECT_EQ(Pending_Names(folder), c.deletes);
    }
    EXPECT_TRUE(other.Running() && File_Exists(STANDIN_EXE));
}

}  // namespace
