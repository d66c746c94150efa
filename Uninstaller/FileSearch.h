// The real disk of an uninstall run: the Win32 file functions behind the Disk interface. Every
// path goes to the system in its "\\?\" form, so that files and folders deeper than the
// 260-character limit are reached like any other.
#pragma once

#include "Disk.h"
#include "DiskSearch.h"
#include "PathRules.h"

#include <string>

// The form of path the wide file functions take without the length limit ("\\?\C:\...",
// "\\?\UNC\server\share\..."), for a path that names something; other texts unchanged.
std::wstring Wide_LongForm(const std::string& path);

class Win32Disk : public Disk {
public:
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
};
