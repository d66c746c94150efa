// How close a silent Uninstall.exe run comes to the bare system calls that make the same
// deletions: 10,000 files in 1,000 folders and 1,000 registry keys, removed once by
// DeleteFileW, RemoveDirectoryW and RegDeleteKeyW alone and once by Uninstall.exe /S. Run by
// hand under Wine (see README); it prints both times and their ratio.
#include "EntrySet.h"
#include "InstallFileFormat.h"
#include "WideText.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 1000, kFilesPerFolder = 10, kKeys = 1000;
const std::string kRoot = "C:\\vembrol-bench\\";
const std::string kKeyParent = "Software\\VembrolBench\\";

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring W(const std::string& text) { return Wide_FromText(text); }

struct Layout {
    std::vector<std::string> files, folders, keys;
};

// The same names every time; the data file lists them as an installer would.
Layout Layout_Make() {
    Layout l;
    for (int d = 0; d < kFolders; ++d) {
        const std::string folder = kRoot + "App\\Data\\d" + std::to_string(d) + "\\";
        l.folders.push_back(folder);
        for (int f = 0; f < kFilesPerFolder; ++f) l.files.push_back(folder + "file" + std::to_string(f) + ".dat");
    }
    for (int k = 0; k < kKeys; ++k) l.keys.push_back(kKeyParent + "Key" + std::to_string(k));
    return l;
}

bool Layout_Build(const Layout& l) {
    CreateDirectoryW(W(kRoot).c_str(), nullptr);
    CreateDirectoryW(W(kRoot + "App\\").c_str(), nullptr);
    CreateDirectoryW(W(kRoot + "App\\Data\\").c_str(), nullptr);
    for (const auto& folder : l.folders) CreateDirectoryW(W(folder).c_str(), nullptr);
    for (const auto& file : l.files) {
        HANDLE h = CreateFileW(W(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot create %s: %s\n", file.c_str(), SystemError_Text(GetLastError()).c_str());
            return false;
        }
        DWORD put = 0;
        WriteFile(h, "x", 1, &put, nullptr);
        CloseHandle(h);
    }
    for (const auto& key : l.keys) {
        HKEY h = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) != ERROR_SUCCESS) {
            std::fprintf(stderr, "cannot create key %s\n", key.c_str());
            return false;
        }
        RegCloseKey(h);
    }
    return true;
}

// The floor: each deletion once, with nothing looked at.
double Bare_Remove(const Layout& l) {
    const double start = Seconds();
    for (const auto& key : l.keys) RegDeleteKeyW(HKEY_LOCAL_MACHINE, W(key).c_str());
    const double keys = Seconds();
    for (const auto& file : l.files) DeleteFileW(W(file).c_str());
    const double files = Seconds();
    for (auto folder = l.folders.rbegin(); folder != l.folders.rend(); ++folder) RemoveDirectoryW(W(*folder).c_str());
    const double end = Seconds();
    std::printf("  bare: keys %.3f s, files %.3f s, folders %.3f s\n", keys - start, files - keys, end - files);
    return end - start;
}

bool File_Put(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

// Uninstall.exe /S in its own folder beside a data file listing set; the time from its start to
// its end. Silent runs make no pause and wait for no answer.
double Uninstall_Run(const std::string& exe, const std::string& folder, const EntrySet& set, DWORD& exitCode) {
    CreateDirectoryW(W(folder).c_str(), nullptr);
    std::string bytes;
    if (!InstallFile_ToBytes(set, bytes) || !File_Put(folder + "Uninstall.dat", bytes) ||
        !CopyFileW(W(exe).c_str(), W(folder + "Uninstall.exe").c_str(), FALSE)) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", folder.c_str(), SystemError_Text(GetLastError()).c_str());
        return -1;
    }
    std::wstring command = L"\"" + W(folder + "Uninstall.exe") + L"\" /S";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const double start = Seconds();
    if (!CreateProcessW(W(folder + "Uninstall.exe").c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        W(folder).c_str(), &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    const double took = Seconds() - start;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string exe = argc > 1 ? argv[1] : UNINSTALL_EXE;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const Layout layout = Layout_Make();
    EntrySet listed, nothing;
    listed.Info.AppName = nothing.Info.AppName = "Bench App";
    for (const auto& f : layout.files) listed.Files.push_back({"", f, BooleanFalse});
    for (const auto& k : layout.keys) listed.RegKeys.push_back({static_cast<std::int32_t>(0x80000002u), k, "", ""});

    std::printf("layout: %d files in %d folders, %d keys; %d runs, medians shown\n", kFolders * kFilesPerFolder, kFolders,
                kKeys, runs);
    std::vector<double> bare, full, empty;
    for (int run = 0; run < runs; ++run) {
        if (!Layout_Build(layout)) return 1;
        bare.push_back(Bare_Remove(layout));
        if (!Layout_Build(layout)) return 1;
        DWORD code = 0, emptyCode = 0;
        full.push_back(Uninstall_Run(exe, kRoot + "App\\", listed, code));
        // The same program on a data file that lists nothing: start, reading and ending, which
        // happen before the Yes and after the final message of an interactive run.
        empty.push_back(Uninstall_Run(exe, kRoot + "Empty\\", nothing, emptyCode));
        if (full.back() < 0 || empty.back() < 0 || code != 0 || emptyCode != 0) {
            std::fprintf(stderr, "Uninstall.exe failed: exit codes %lu and %lu\n", static_cast<unsigned long>(code),
                         static_cast<unsigned long>(emptyCode));
            return 1;
        }
        std::printf("run %d: bare calls %.3f s, Uninstall.exe /S %.3f s, with nothing listed %.3f s, ratio %.2f\n", run + 1,
                    bare.back(), full.back(), empty.back(), (full.back() - empty.back()) / bare.back());
    }
    // Other programs on the machine slow some runs down; each run's own ratio cancels much of
    // that, so their median is the figure to go by.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < bare.size(); ++i) ratios.push_back((full[i] - empty[i]) / bare[i]);
    const double floor = Median(bare), removal = Median(full) - Median(empty);
    std::printf("bare calls:               %.3f s\n", floor);
    std::printf("Uninstall.exe removal:    %.3f s  (%.3f s run less %.3f s with nothing listed)\n", removal, Median(full),
                Median(empty));
    std::printf("ratio:                    %.2f  (median of the runs' own ratios)\n", Median(ratios));
    // The fastest run of each is the one least disturbed.
    const double fastBare = *std::min_element(bare.begin(), bare.end());
    const double fastRemoval = *std::min_element(full.begin(), full.end()) - *std::min_element(empty.begin(), empty.end());
    std::printf("fastest runs:             bare %.3f s, removal %.3f s, ratio %.2f\n", fastBare, fastRemoval,
                fastRemoval / fastBare);
    return 0;
}
