// A disk in memory, for running the real removal passes natively: folders and files with long
// and 8.3 short names, several roots for one folder (a subst drive letter, a share), folder
// links, the attributes that decide what a search shows, files that cannot be deleted, and a
// switch that makes every call after the k-th fail, as a disk that went away would. Names
// compare as the file system compares them (Path_Equal), and a path ends at its first NUL, as
// for the system.
#pragma once

#include "Disk.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

class MemoryDisk : public Disk {
public:
    // A new volume whose root is root ("C:\" or "\\server\share\").
    void AddVolume(const std::string& root, std::uint32_t serial);
    // Another root for an existing folder, as subst or a share makes one; false when the
    // folder is not there. FinalPath cannot tell what lies below an opaque root, as for a share
    // of this computer whose folder the system does not name.
    bool MapRoot(const std::string& root, const std::string& folder, bool opaque = false);
    // The folder and every missing one above it; false when a file is in the way or the root
    // is unknown.
    bool AddFolder(const std::string& path, std::uint32_t attributes = 0);
    // A file (and its folders). Without a short name, one is made as the system makes them
    // ("LONGNA~1.TXT") for a long name that is no 8.3 name.
    bool AddFile(const std::string& path, std::uint32_t attributes = FileAttribute::Archive,
                 const std::string& shortName = "");
    // A folder link (a junction) at path, leading to the folder target.
    bool AddLink(const std::string& path, const std::string& target);
    // RemoveFile and RemoveFolder refuse it (a program holds it open), with AccessDenied.
    // RemoveFolder also refuses a folder held open through OpenFolder, as the system does.
    bool SetUndeletable(const std::string& path, bool undeletable = true);
    // Reading its attributes fails with AccessDenied, as for a file whose folder the run may
    // not list.
    bool SetUnreadable(const std::string& path, bool unreadable = true);
    // Moves a file or folder to another name in the same volume (the test's hand, not a call).
    bool Rename(const std::string& from, const std::string& to);
    // Every call after the first calls ones fails: finds nothing, changes nothing.
    void FailAfter(std::size_t calls) { failAfter_ = calls; }
    // Runs hook just before the call-th call (counting from 1) is carried out, as another
    // program acting between two of the run's calls would.
    void OnCall(std::size_t call, std::function<void()> hook) {
        hookAt_ = call;
        hook_ = std::move(hook);
    }
    // The calls made so far through the Disk interface.
    std::size_t Calls() const { return calls_; }

    // For the tests' checks, not counted as calls: whether path leads to something (a link
    // itself counts), its attributes, every entry (by its first root and long names, folders
    // ending with "\"), and what the Disk calls deleted, in order.
    bool Exists(const std::string& path) const;
    std::uint32_t AttributesOf(const std::string& path) const;
    std::vector<std::string> Paths() const;
    const std::vector<std::string>& Removed() const { return removed_; }

    void Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) override;
    using Disk::GetAttributes;
    std::uint32_t GetAttributes(const std::string& path, std::uint32_t& error) override;
    bool Identify(const std::string& path, DiskIdentity& id) override;
    std::uint32_t RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool ClearAttributes(const std::string& path, std::uint32_t bits) override;
    std::string FinalPath(const std::string& folder) override;
    std::string VolumeRoot(const std::string& path) override;
    std::unique_ptr<DiskFolder> OpenFolder(const std::string& path) override;

private:
    class Folder;
    struct Node {
        std::string Name, ShortName;
        std::uint32_t Attributes = 0;
        bool Undeletable = false;
        bool Unreadable = false;
        int HeldOpen = 0;  // folders open through OpenFolder, which keep it from being removed
        bool Gone = false;
        Node* Parent = nullptr;
        Node* Target = nullptr;  // a link's folder
        std::uint32_t Volume = 0;
        std::uint64_t Index = 0;
        std::string RootText;  // a volume's root: its first root
        std::vector<Node*> Children;
    };
    struct Root {
        std::string Text;
        Node* Folder;
        bool Opaque;
    };

    bool Call();
    Node* New(Node* parent, const std::string& name, std::uint32_t attributes);
    Node* Child(const Node* folder, const std::string& name) const;
    Node* Resolve(const std::string& path, bool followLast) const;
    Node* Make(const std::string& path, bool lastIsFolder);
    void Erase(Node* node, const std::string& path);
    std::string ShortName_Make(const Node* folder, const std::string& name) const;
    std::string PathOf(const Node* node) const;

    std::vector<std::unique_ptr<Node>> nodes_;  // every node ever made: removed ones stay, Gone
    std::vector<Root> roots_;
    std::vector<std::string> removed_;
    std::size_t calls_ = 0;
    std::size_t failAfter_ = std::numeric_limits<std::size_t>::max();
    std::size_t hookAt_ = 0;
    std::function<void()> hook_;
    std::uint64_t nextIndex_ = 16;
};
