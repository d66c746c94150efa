// The files a run must leave where they are whatever other record names them (a pattern, a
// second record, the application folder's wipe): those the data file keeps, or the data file
// itself until the end of the run. "The same file" is the same identity (volume serial number
// and file index), never the same spelling: a short name, another drive letter or a link
// leads to the same file by another text.
#pragma once

#include "Disk.h"

#include <set>
#include <string>
#include <vector>

class KeptSet {
public:
    // The files path (canonical; the last level may be a pattern) names now.
    void Add(Disk& disk, const std::string& path);
    bool Empty() const { return paths_.empty(); }

    // Whether the file at path is one of them. A name that cannot reach any of them (its last
    // level is none of their long or short names) is answered without asking the disk; one
    // that can but whose identity cannot be told counts as one of them, so that doubt keeps.
    bool Holds(Disk& disk, const std::string& path) const;
    // The same for the entry called name in folder.
    bool Holds(DiskFolder& folder, const std::string& path, const std::string& name) const;

private:
    bool MayBe(const std::string& path, const std::string& name, bool& byText) const;

    std::vector<std::string> paths_;
    std::set<std::u16string> names_;  // folded long and short names
    std::vector<DiskIdentity> ids_;
    bool someUnknown_ = false;  // a kept file whose identity could not be told
};
