// The uninstall run. Its order is fixed: registry keys go before the files that programs may
// still look up through them, files before their directories, shortcuts last.
#include "UninstallRun.h"

#include "FileSearch.h"
#include "InstallFile.h"
#include "KtShellRegistration.h"
#include "RemovalPasses.h"
#include "UninstallBox.h"
#include "UninstallTexts.h"
#include "WideText.h"

BaseDirs Uninstall_InitPaths() { return BaseDirs_Make(WindowsDir_Get(), SystemDir_Get(), Module_GetPath()); }

void Uninstall_Run(Mfrm& form) {
    const std::string& dataFile = form.Dirs.DataFilePath;
    if (dataFile.empty() || dataFile.back() == '\\' || !File_ExistsBySearch(dataFile)) {
        UninstallBox_Show(nullptr, Text_DataFileMissing, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    form.Show();
    // A damaged or unreadable data file says nothing reliable about the installation: the
    // user has been told, and nothing is asked or removed.
    if (InstallFile_Read(form.Hwnd(), dataFile, form.Entries) != InstallFileRead::Read) return;
    if (UninstallBox_Show(form.Hwnd(), Text_ConfirmRemoval(form.Entries.Info.AppName), MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    EntrySet& e = form.Entries;
    Placeholders_ExpandAll(e, form.Dirs);
    RegistryKeys_Remove(e.RegKeys);
    if (!Files_Remove(form.Hwnd(), e.Files)) form.NotAllRemoved = true;
    Directories_Remove(e.Files, e.Info, form.Dirs);
    Shortcuts_Remove(e.Shortcuts, e.Info);

    Sleep(2000);
    form.Hide();
    UninstallBox_Show(nullptr, form.NotAllRemoved ? Text_NotAllRemoved : Text_RemovedAll, MB_OK | MB_ICONINFORMATION);
}

void Form_Load(Mfrm& form) {
    form.Dirs = Uninstall_InitPaths();
    Uninstall_Run(form);
}
