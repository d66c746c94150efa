// The real disk of an uninstall run: the Win32 file functions behind the Disk interface.
#pragma once

#include "Disk.h"
#include "DiskSearch.h"
#include "PathRules.h"

class Win32Disk : public Disk {
public:
    void Find(const std::string& pattern, const std::function<bool(const DiskEntry&)>& visit) override;
    std::uint32_t GetAttributes(const std::string& path) override;
    bool Identify(const std::string& path, DiskIdentity& id) override;
    std::uint32_t RemoveFile(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool ClearAttributes(const std::string& path, std::uint32_t bits) override;
    std::string FinalPath(const std::string& folder) override;
    std::string VolumeRoot(const std::string& path) override;
};
