// The shipped programs as Windows reads them from the release folder: version resource,
// application manifest and icon, each read back with the platform's own resource functions.
#include "Handles.h"
#include "ManifestText.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

struct ShippedProgram {
    const char* file;
    const char* executionLevel;
    // A word its description carries, so that Task Manager and the file's properties tell the two
    // programs apart.
    const char* descriptionWord;
};

// The Starter runs from the Run key at every logon and must never prompt; the uninstaller removes
// files under Program Files and keys under HKEY_LOCAL_MACHINE, where a refused write without
// elevation would be a silent failure reported as success.
const ShippedProgram kPrograms[] = {
    {"Vembrol Starter.exe", "asInvoker", "Starter"},
    {"Uninstall.exe", "requireAdministrator", "Uninstall"},
};

std::string Program_Path(const ShippedProgram& p) { return std::string(RELEASE_DIST_DIR) + p.file; }

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool Present() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        void* block = nullptr;
        UINT size = 0;
        if (!Present() || !VerQueryValueA(data_.data(), "\\", &block, &size) || size < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(block);
    }

    // "040904b0" and the like: the string tables that the translation list announces.
    std::vector<std::string> Translations() const {
        std::vector<std::string> names;
        void* block = nullptr;
        UINT size = 0;
        if (!Present() || !VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &block, &size)) return names;
        const WORD* pairs = static_cast<const WORD*>(block);
        for (UINT i = 0; i + 1 < size / sizeof(WORD); i += 2) {
            char name[16];
            std::snprintf(name, sizeof name, "%04x%04x", pairs[i], pairs[i + 1]);
            names.push_back(name);
        }
        return names;
    }

    // The value as Windows shows it, from the first announced table; "(missing)" when absent.
    std::string String(const std::string& name) const {
        const auto tables = Translations();
        if (tables.empty()) return "(missing)";
        void* block = nullptr;
        UINT size = 0;
        const std::string path = "\\StringFileInfo\\" + tables.front() + "\\" + name;
        if (!VerQueryValueA(data_.data(), path.c_str(), &block, &size) || size == 0) return "(missing)";
        return std::string(static_cast<const char*>(block), size - 1);  // size counts the NUL
    }

private:
    std::vector<char> data_;
};

// The program file mapped as data: its resources are readable, none of its code runs.
UniqueModule Module_LoadAsData(const std::string& path) {
    return UniqueModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

BOOL CALLBACK Resource_CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    if (IS_INTRESOURCE(name))
        names->push_back("#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)));
    else
        names->push_back(name);
    return TRUE;
}

// Resource names of a type, in the file's order; integer ids as "#<id>", as FindResource
// accepts them back.
std::vector<std::string> Resource_Names(HMODULE module, LPCSTR type) {
    std::vector<std::string> names;
    EnumResourceNamesA(module, type, Resource_CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// The bytes of one resource; empty when it is not there.
std::string Resource_Bytes(HMODULE module, LPCSTR type, const std::string& name) {
    HRSRC found = FindResourceA(module, name.c_str(), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, found));
}

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;  // 1 for icons
    WORD count;
};
struct GroupIconEntry {
    BYTE width;  // 0 stands for 256
    BYTE height;
    BYTE colors;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;  // the RT_ICON resource holding the image
};
#pragma pack(pop)

// The pixel size of an image as Windows builds an icon from it; 0 when it cannot.
int IconImage_Size(const std::string& image, int expectedSize) {
    std::vector<BYTE> bits(image.begin(), image.end());
    UniqueIcon icon(CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000,
                                             expectedSize, expectedSize, LR_DEFAULTCOLOR));
    if (!icon) return 0;
    ICONINFO info = {};
    if (!GetIconInfo(icon.get(), &info)) return 0;
    UniqueGdiObject color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap = {};
    if (!GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap)) return 0;
    return bitmap.bmWidth;
}

TEST(ReleasedPrograms, CarryAVersionResourceNamingProductProgramAndVersion) {
    std::set<std::string> productNames;
    for (const ShippedProgram& p : kPrograms) {
        SCOPED_TRACE(p.file);
        const VersionInfo version(Program_Path(p));
        ASSERT_TRUE(version.Present()) << "no version resource in " << Program_Path(p);
        const VS_FIXEDFILEINFO* fixed = version.Fixed();
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u) << "file version 1.0";
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u) << "product version 1.0";
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
        EXPECT_FALSE(version.Translations().empty()) << "no translation announces the string table";

        EXPECT_EQ(version.String("FileVersion"), "1.0");
        EXPECT_EQ(version.String("ProductVersion"), "1.0");
        EXPECT_EQ(version.String("OriginalFilename"), p.file);
        const std::string description = version.String("FileDescription");
        EXPECT_NE(description.find(p.descriptionWord), std::string::npos) << description;
        const std::string product = version.String("ProductName");
        EXPECT_NE(product.find("Vembrol"), std::string::npos) << product;
        productNames.insert(product);
    }
    EXPECT_EQ(productNames.size(), 1u) << "both programs belong to one product";
}

TEST(ReleasedPrograms, CarryAManifestForCommonControls6DpiAwarenessAndTheirExecutionLevel) {
    for (const ShippedProgram& p : kPrograms) {
        SCOPED_TRACE(p.file);
        UniqueModule module = Module_LoadAsData(Program_Path(p));
        ASSERT_TRUE(module) << "cannot map " << Program_Path(p) << ", error " << GetLastError();
        // Windows reads an executable's manifest from id 1 only; a second one would be ignored.
        EXPECT_EQ(Resource_Names(module.get(), MAKEINTRESOURCEA(24)), std::vector<std::string>{"#1"});
        const std::string xml = Resource_Bytes(module.get(), MAKEINTRESOURCEA(24), "#1");
        ASSERT_FALSE(xml.empty()) << "no application manifest (type 24, id 1)";

        const ManifestSettings settings = Manifest_Read(xml);
        EXPECT_EQ(settings.commonControlsVersion.substr(0, 2), "6.") << settings.commonControlsVersion;
        EXPECT_EQ(settings.executionLevels, std::vector<std::string>{p.executionLevel});
        ASSERT_EQ(settings.dpiAware.size(), 1u);
        EXPECT_TRUE(DpiAware_IsOn(settings.dpiAware.front())) << settings.dpiAware.front();
    }
}

TEST(ReleasedPrograms, ShowTheirIconIn16And32Pixels) {
    for (const ShippedProgram& p : kPrograms) {
        SCOPED_TRACE(p.file);
        UniqueModule module = Module_LoadAsData(Program_Path(p));
        ASSERT_TRUE(module);
        // Explorer and the taskbar show the first icon group of the file.
        const std::vector<std::string> groups = Resource_Names(module.get(), MAKEINTRESOURCEA(14));
        ASSERT_FALSE(groups.empty()) << "no icon group";
        const std::string group = Resource_Bytes(module.get(), MAKEINTRESOURCEA(14), groups.front());
        ASSERT_GE(group.size(), sizeof(GroupIconHeader));
        GroupIconHeader header;
        std::memcpy(&header, group.data(), sizeof header);
        EXPECT_EQ(header.type, 1u);
        ASSERT_GE(group.size(), sizeof header + header.count * sizeof(GroupIconEntry)) << "group cut short";

        std::set<int> sizes;
        for (WORD i = 0; i < header.count; ++i) {
            GroupIconEntry entry;
            std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
            const int size = entry.width == 0 ? 256 : entry.width;
            SCOPED_TRACE(size);
            EXPECT_EQ(entry.width, entry.height);
            const std::string image = Resource_Bytes(module.get(), MAKEINTRESOURCEA(3), "#" + std::to_string(entry.id));
            ASSERT_EQ(image.size(), entry.bytes) << "image " << entry.id << " missing or of another size";
            EXPECT_EQ(IconImage_Size(image, size), size) << "Windows cannot build an icon from image " << entry.id;
            sizes.insert(size);
        }
        EXPECT_EQ(sizes.count(16), 1u);
        EXPECT_EQ(sizes.count(32), 1u);
    }
}

}  // namespace
