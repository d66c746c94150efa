// The uninstall run. Its order is fixed: the installation's programs are asked to close before
// anything of theirs goes, registry keys go before the files that programs may still look up
// through them, files before their directories, shortcuts after them, and the data file last of
// all, so that a run cut short can be started again and finish the job.
#include "UninstallRun.h"

#include "FileSearch.h"
#include "InstallFile.h"
#include "KtShellRegistration.h"
#include "PathRules.h"
#include "RemovalPasses.h"
#include "RunningPrograms.h"
#include "SelfRemoval.h"
#include "RunReport.h"
#include "UninstallBox.h"
#include "UninstallTexts.h"
#include "WideText.h"

BaseDirs Uninstall_InitPaths() { return BaseDirs_Make(WindowsDir_Get(), SystemDir_Get(), Module_GetPath()); }

RunOutcome Uninstall_Run(Mfrm& form) {
    const std::string& dataFile = form.Dirs.DataFilePath;
    RunReport_DataFile(dataFile);
    if (dataFile.empty() || dataFile.back() == '\\' || !File_ExistsBySearch(dataFile)) {
        UninstallBox_Show(nullptr, Text_DataFileMissing, MB_OK | MB_ICONEXCLAMATION);
        return RunOutcome::DataFileProblem;
    }
    form.Show();
    // A damaged or unreadable data file says nothing reliable about the installation: the
    // user has been told, and nothing is asked or removed.
    if (InstallFile_Read(form.Hwnd(), dataFile, form.Entries) != InstallFileRead::Read) return RunOutcome::DataFileProblem;
    if (UninstallBox_Show(form.Hwnd(), Text_ConfirmRemoval(form.Entries.Info.AppName), MB_YESNO | MB_ICONQUESTION) != IDYES) return RunOutcome::UserSaidNo;

    EntrySet& e = form.Entries;
    Placeholders_ExpandAll(e, form.Dirs);
    Paths_MakeCanonical(e);
    // The user has just agreed to remove the application: its programs are closed, not asked.
    RunningPrograms_Close(e.Files);
    RunReport_RemovalBegins(e);
    RegistryKeys_Remove(e.RegKeys);
    // The data file is held back from the file pass, whichever record lists it and whichever
    // pattern matches it.
    const std::string canonicalDataFile = Path_Canonical(dataFile);
    std::vector<FileRecord> filePass, dataFileRecord = {{"", canonicalDataFile, BooleanFalse}};
    bool dataFileListed = false;
    filePass.reserve(e.Files.size());
    for (const auto& f : e.Files) {
        if (f.Keep == 0 && Path_SameIgnoringCase(f.FilePath, canonicalDataFile)) {
            if (!dataFileListed) dataFileRecord[0] = f;
            dataFileListed = true;
        } else {
            filePass.push_back(f);
        }
    }
    if (!Files_Remove(form.Hwnd(), filePass, canonicalDataFile, &dataFileListed)) form.NotAllRemoved = true;
    const bool dataFileSpared = Directories_Remove(e.Files, e.Info, form.Dirs);
    Shortcuts_Remove(e.Shortcuts, e.Info);
    if (dataFileListed) {
        if (!Files_Remove(form.Hwnd(), dataFileRecord)) form.NotAllRemoved = true;
    } else if (dataFileSpared) {
        File_Delete(canonicalDataFile);
    }

    // The pause lets the user see the window once more; a silent run has none to see.
    if (form.Hwnd()) Sleep(2000);
    form.Hide();
    UninstallBox_Show(nullptr, form.NotAllRemoved ? Text_NotAllRemoved : Text_RemovedAll, MB_OK | MB_ICONINFORMATION);
    SelfRemoval_Start();
    return form.NotAllRemoved ? RunOutcome::FileStayed : RunOutcome::AllRemoved;
}

RunOutcome Form_Load(Mfrm& form) {
    form.Dirs = Uninstall_InitPaths();
    return Uninstall_Run(form);
}
