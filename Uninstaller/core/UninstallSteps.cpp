// The uninstall run's steps in their fixed order.
#include "UninstallSteps.h"

#include "DiskSearch.h"
#include "PathRules.h"
#include "RecordTexts.h"
#include "RemovalPasses.h"
#include "UninstallTexts.h"

std::string Text_DataFileNotRead(InstallFileRead outcome, const std::string& path) {
    switch (outcome) {
        case InstallFileRead::Read: return "";
        case InstallFileRead::Missing: return Text_ReadNotFound(path);
        case InstallFileRead::Unreadable: return Text_Unreadable(path);
        case InstallFileRead::Invalid: return Text_InvalidFile(path);
    }
    return "";
}

RunOutcome Uninstall_Run(RunState& state, Disk& disk, RunPlatform& platform, RunInteraction& ui) {
    const std::string& dataFile = state.Dirs.DataFilePath;
    ui.DataFileNamed(dataFile);
    if (dataFile.empty() || dataFile.back() == '\\' || !File_ExistsBySearch(disk, dataFile)) {
        ui.Tell(MessageKind::Problem, Text_DataFileMissing);
        return RunOutcome::DataFileProblem;
    }
    ui.WorkBegins();
    // A damaged or unreadable data file says nothing reliable about the installation: the
    // user has been told, and nothing is asked or removed.
    const InstallFileRead read = platform.ReadDataFile(dataFile, state.Entries);
    if (read != InstallFileRead::Read) {
        ui.Tell(MessageKind::Problem, Text_DataFileNotRead(read, dataFile));
        return RunOutcome::DataFileProblem;
    }
    if (!ui.Confirm(Text_ConfirmRemoval(state.Entries.Info.AppName))) return RunOutcome::UserSaidNo;
    return Removal_Run(state, disk, platform, ui);
}

RunOutcome Removal_Run(RunState& state, Disk& disk, RunPlatform& platform, RunInteraction& ui) {
    EntrySet& e = state.Entries;
    Placeholders_ExpandAll(e, state.Dirs);
    // A text the system would read otherwise than every rule here does names nothing: its
    // record is dropped before anything touches the system, and a refused file counts as one
    // that stayed. The info record's refused texts only skip the steps that use them.
    const EntrySetScreening screening = EntrySet_Screen(e);
    if (screening.FilesRefused > 0) state.NotAllRemoved = true;
    InfoRecord info = e.Info;
    if (screening.AppFileRefused) info.AppFile.clear();
    if (screening.GroupFolderRefused) info.GroupFolder.clear();
    e.Info = info;
    Paths_MakeCanonical(e);
    // The user has just agreed to remove the application: its programs are closed, not asked.
    platform.ClosePrograms(e.Files);
    ui.RemovalBegins(e);
    for (const auto& refused : screening.Refused) {
        // The log writes the text visibly once, with the rest of the line.
        RefusedRecord shown = refused;
        shown.Text.clear();
        ui.Note(RefusedRecord_Describe(shown) + refused.Text, 0);
    }
    const bool desktopGoes = !screening.AppNameRefused && DesktopShortcut_LeadsIn(disk, platform, ui, e, state.Dirs);
    RegistryKeys_Remove(platform, ui, e.RegKeys);
    // Keep wins over every other record. The data file is held back from the file pass and
    // the wipe, whichever record lists it under whichever name and whichever pattern matches it.
    KeptSet kept, dataFile;
    for (const auto& f : e.Files)
        if (f.Keep != 0) kept.Add(disk, f.FilePath);
    const std::string canonicalDataFile = Path_Canonical(state.Dirs.DataFilePath);
    dataFile.Add(disk, canonicalDataFile);
    std::vector<FileRecord> filePass, dataFileRecord = {{"", canonicalDataFile, BooleanFalse}};
    bool dataFileListed = false;
    filePass.reserve(e.Files.size());
    for (const auto& f : e.Files) {
        if (f.Keep == 0 && !f.FilePath.empty() && !Path_IsPattern(f.FilePath) && dataFile.Holds(disk, f.FilePath)) {
            if (!dataFileListed) dataFileRecord[0] = f;
            dataFileListed = true;
        } else {
            filePass.push_back(f);
        }
    }
    if (!Files_Remove(disk, ui, filePass, kept, &dataFile, &dataFileListed)) state.NotAllRemoved = true;
    HeldBackFile dataFileSpared = Directories_Remove(disk, e.Files, e.Info, state.Dirs, kept, dataFile);
    Shortcuts_Remove(disk, platform, ui, e.Shortcuts, e.Info, desktopGoes);
    if (dataFileListed) {
        if (!Files_Remove(disk, ui, dataFileRecord, kept)) state.NotAllRemoved = true;
    } else if (dataFileSpared.Folder) {
        dataFileSpared.Folder->RemoveFile(dataFileSpared.Name);
    }
    dataFileSpared.Folder.reset();

    ui.WorkEnds();
    ui.Tell(MessageKind::Information, state.NotAllRemoved ? Text_NotAllRemoved : Text_RemovedAll);
    return state.NotAllRemoved ? RunOutcome::FileStayed : RunOutcome::AllRemoved;
}
