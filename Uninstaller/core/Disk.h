// The disk as an uninstall run sees it: files and folders named by canonical paths (UTF-8, as
// Path_Canonical makes them), with the few operations the removal passes and the wipe guard
// need. The real disk implements it on Windows, MemoryDisk in memory for the native tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The platform's attribute bits, with the same values everywhere, so that a rule decided on
// them reads the same natively and on Windows.
namespace FileAttribute {
constexpr std::uint32_t ReadOnly = 0x1;
constexpr std::uint32_t Hidden = 0x2;
constexpr std::uint32_t System = 0x4;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
constexpr std::uint32_t Device = 0x40;
constexpr std::uint32_t Normal = 0x80;
constexpr std::uint32_t ReparsePoint = 0x400;
// What GetAttributes answers when nothing is there.
constexpr std::uint32_t Missing = 0xFFFFFFFF;
}  // namespace FileAttribute

// The platform's error codes a run reports (the log shows the system's text for them).
namespace DiskError {
constexpr std::uint32_t FileNotFound = 2;
constexpr std::uint32_t PathNotFound = 3;
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t NotReady = 21;
constexpr std::uint32_t InvalidName = 123;
constexpr std::uint32_t DirNotEmpty = 145;
}  // namespace DiskError

// One entry of a folder as a search shows it.
struct DiskEntry {
    std::string Name;       // the long name
    std::string ShortName;  // the 8.3 name, "" when the long name is one already
    std::uint32_t Attributes = 0;
    bool IsFolder() const { return (Attributes & FileAttribute::Directory) != 0; }
};

// Volume serial number and file index: the same for every name that leads to one file or
// folder (another drive letter, a share, a link), which no comparison of texts can promise.
struct DiskIdentity {
    std::uint32_t Volume = 0;
    std::uint64_t Index = 0;
    bool operator==(const DiskIdentity& o) const { return Volume == o.Volume && Index == o.Index; }
    bool operator!=(const DiskIdentity& o) const { return !(*this == o); }
};

// A folder held open. While held it cannot be renamed, removed or replaced (the Win32 disk shares
// it for reading and writing only), and whatever is done through it happens in this folder,
// whatever its path leads to meanwhile: a folder swapped for a link between a check and a
// deletion cannot redirect the deletion.
class DiskFolder {
public:
    virtual ~DiskFolder() = default;
    // Its own attributes (ReparsePoint when the name led to a link, which is not followed).
    virtual std::uint32_t Attributes() = 0;
    virtual bool Identify(DiskIdentity& id) = 0;
    // Each entry directly in it ("." and ".." never), until visit returns false.
    virtual void List(const std::function<bool(const DiskEntry&)>& visit) = 0;
    // The identity of the entry called name (a long or short name) in it; false when unknown.
    virtual bool IdentifyEntry(const std::string& name, DiskIdentity& id) = 0;
    // Deletes the file called name in it: 0, or the platform's error code.
    virtual std::uint32_t RemoveFile(const std::string& name) = 0;
};

class Disk {
public:
    virtual ~Disk() = default;

    // Each entry a search for pattern shows ("." and ".." never), until visit returns false. The
    // last level of pattern may hold * and ? (and the DOS forms < > "), matched against long and
    // short names; a pattern ending with "\" finds nothing.
    virtual void Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) = 0;
    // The attributes of a file or folder, a link's own (not its target's); FileAttribute::Missing
    // when nothing is there or they cannot be read, and then error tells which (FileNotFound or
    // PathNotFound: nothing is there).
    virtual std::uint32_t GetAttributes(const std::string& path, std::uint32_t& error) = 0;
    std::uint32_t GetAttributes(const std::string& path) {
        std::uint32_t error = 0;
        return GetAttributes(path, error);
    }
    // The identity of what path leads to, links followed; false when it cannot be told.
    virtual bool Identify(const std::string& path, DiskIdentity& id) = 0;
    // Deletes a file: 0, or the platform's error code when it stays or was not there.
    virtual std::uint32_t RemoveFile(const std::string& path) = 0;
    // Removes an empty folder (a link: the link itself); false when it stays.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Clears the given bits among read-only, hidden, system and archive; false when refused.
    virtual bool ClearAttributes(const std::string& path, std::uint32_t bits) = 0;
    // The path the system reaches the folder by, every link on the way resolved, canonical and
    // ending with "\"; "" when the platform cannot tell.
    virtual std::string FinalPath(const std::string& folder) = 0;
    // The root of the volume path really lies on ("C:\", a share, a mounted folder), ending
    // with "\"; "" when the platform cannot tell.
    virtual std::string VolumeRoot(const std::string& path) = 0;
    // Opens the folder path names, a link at its last level not followed; nullptr when that fails.
    virtual std::unique_ptr<DiskFolder> OpenFolder(const std::string& path) = 0;
};

inline bool DiskError_IsNotThere(std::uint32_t error) {
    return error == DiskError::FileNotFound || error == DiskError::PathNotFound;
}

inline bool Attributes_IsReparsePoint(std::uint32_t attributes) {
    return attributes != FileAttribute::Missing && (attributes & FileAttribute::ReparsePoint) != 0;
}
