// Value comparison of the data file's records, used by round trips and tests.
#include "EntrySet.h"

bool operator==(const InfoRecord& a, const InfoRecord& b) {
    return a.ExtraPath == b.ExtraPath && a.AppName == b.AppName && a.AppFile == b.AppFile &&
           a.GroupFolder == b.GroupFolder;
}

bool operator==(const FileRecord& a, const FileRecord& b) {
    return a.ExtraPath == b.ExtraPath && a.FilePath == b.FilePath && (a.Keep != 0) == (b.Keep != 0);
}

bool operator==(const RegKeyRecord& a, const RegKeyRecord& b) {
    return a.RootKey == b.RootKey && a.KeyPath == b.KeyPath && a.ExtraText1 == b.ExtraText1 &&
           a.ExtraText2 == b.ExtraText2;
}

bool operator==(const ShortcutRecord& a, const ShortcutRecord& b) {
    return a.Folder == b.Folder && a.LinkName == b.LinkName && a.ExtraPath == b.ExtraPath;
}

bool operator==(const EntrySet& a, const EntrySet& b) {
    return a.Info == b.Info && a.Files == b.Files && a.RegKeys == b.RegKeys && a.Shortcuts == b.Shortcuts;
}
