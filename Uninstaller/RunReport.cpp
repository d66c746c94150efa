// The run's log and progress.
#include "RunReport.h"

#include "Handles.h"
#include "LogText.h"
#include "RegistryRoots.h"
#include "WideText.h"

#include <commctrl.h>

#include <atomic>
#include <cstdio>

namespace {

struct Report {
    UniqueFile log;
    HWND bar = nullptr;
    std::atomic<long> total{0};
    std::atomic<long> done{0};
    // The bar is told at most this often, so that a long run does not flood the window's queue.
    long step = 1;
    long keysLeft = 0;
};

Report& The() {
    static Report report;
    return report;
}

std::string Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[32];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

void Log(const std::string& line) {
    Report& r = The();
    if (!r.log) return;
    // One write a line, straight to the file: a run that is killed still leaves what it did.
    const std::string bytes = LogText_Escape(line) + "\r\n";
    DWORD put = 0;
    WriteFile(r.log.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
}

void Progress_Post() {
    Report& r = The();
    if (r.bar) PostMessageW(r.bar, PBM_SETPOS, static_cast<WPARAM>(r.done.load()), 0);
}

void Progress_Advance() {
    Report& r = The();
    const long now = ++r.done;
    if (now % r.step == 0 || now == r.total) Progress_Post();
}

const char* RootName(std::uint32_t root) {
    switch (root) {
        case RegRoot_ClassesRoot: return "HKEY_CLASSES_ROOT";
        case RegRoot_CurrentUser: return "HKEY_CURRENT_USER";
        case RegRoot_LocalMachine: return "HKEY_LOCAL_MACHINE";
        case RegRoot_Users: return "HKEY_USERS";
        case RegRoot_CurrentConfig: return "HKEY_CURRENT_CONFIG";
        default: return nullptr;
    }
}

std::string RootText(std::uint32_t root) {
    if (const char* name = RootName(root)) return name;
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(root));
    return text;
}

const char* OutcomeText(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::AllRemoved: return "everything listed was removed";
        case RunOutcome::UserSaidNo: return "the question was answered No, nothing was removed";
        case RunOutcome::DataFileProblem: return "the data file is missing, unreadable or invalid, nothing was removed";
        case RunOutcome::FileStayed: return "finished, not all files have been removed";
        case RunOutcome::CommandLineRefused: return "the command line was not understood, nothing was removed";
    }
    return "";
}

}  // namespace

bool RunReport_Start(const UninstallOptions& options, std::string& error) {
    Report& r = The();
    if (options.LogPath.empty()) return true;
    // Shared for writing too: runs on several machines may append to one log on a share, each
    // line in one write at the end of the file.
    r.log.reset(CreateFileW(Wide_FromText(options.LogPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!r.log) {
        error = SystemError_Text(GetLastError());
        return false;
    }
    Log(Now() + " Uninstall started" + (options.Silent ? " (silent)" : ""));
    return true;
}

void RunReport_SetProgressBar(HWND bar) { The().bar = bar; }

int RunReport_Box(HWND owner, const std::string& text, const std::string& title, UINT style) {
    if ((style & MB_TYPEMASK) == MB_OK && (style & MB_ICONMASK) == MB_ICONEXCLAMATION) RunReport_Message(text);
    return MessageBox_Show(owner, text, title, style);
}

void RunReport_Message(const std::string& text) { Log("Message: " + text); }

void RunReport_DataFile(const std::string& path) { Log("Data file: " + path); }

void RunReport_RemovalBegins(const EntrySet& e) {
    Report& r = The();
    r.keysLeft = static_cast<long>(e.RegKeys.size());
    r.total = static_cast<long>(e.RegKeys.size() + e.Files.size() + e.Shortcuts.size());
    r.done = 0;
    r.step = r.total / 200 + 1;
    if (r.bar) PostMessageW(r.bar, PBM_SETRANGE32, 0, r.total);
    Progress_Post();
}

void RunReport_File(const std::string& path, FileFate fate, DWORD error) {
    switch (fate) {
        case FileFate::Removed: Log("File " + path + ": removed"); break;
        case FileFate::NotThere: Log("File " + path + ": not there"); break;
        case FileFate::Kept: Log("File " + path + ": kept"); break;
        case FileFate::Skipped:
            Log("File " + path + ": skipped" + (error ? ": " + SystemError_Text(error) : std::string()));
            break;
        case FileFate::Stayed:
            Log("File " + path + ": stayed" + (error ? ": " + SystemError_Text(error) : std::string()));
            break;
    }
    Progress_Advance();
}

void RunReport_Key(std::uint32_t root, const std::string& keyPath, LONG result) {
    std::string shown = keyPath;
    if (!shown.empty() && shown.back() == '\\') shown.pop_back();
    const std::string key = "Key " + RootText(root) + "\\" + shown + ": ";
    if (result == ERROR_SUCCESS)
        Log(key + "deleted");
    else if (result == ERROR_FILE_NOT_FOUND)
        Log(key + "not there");
    else
        Log(key + "not deleted: " + SystemError_Text(static_cast<DWORD>(result)));
    // The pass also deletes the levels between listed keys; the bar counts listed keys only.
    Report& r = The();
    if (r.keysLeft > 0) {
        --r.keysLeft;
        Progress_Advance();
    }
}

void RunReport_PatternMatch(const std::string& pattern, const std::string& file) {
    Log("File " + file + ": removed, as it matches " + pattern);
}

void RunReport_Shortcut(const std::string& folder, const std::string& linkName, DWORD result) {
    const std::string shown = "Shortcut " + folder + (folder.empty() || folder.back() == '\\' ? "" : "\\") + linkName + ".lnk: ";
    if (result == ERROR_SUCCESS)
        Log(shown + "removed");
    else if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND)
        Log(shown + "not there");
    else
        Log(shown + "stayed: " + SystemError_Text(result));
    Progress_Advance();
}

void RunReport_Note(const std::string& text, DWORD error) { Log(text + (error ? ": " + SystemError_Text(error) : std::string())); }

void RunReport_Finish(RunOutcome outcome) {
    Report& r = The();
    r.done = r.total.load();
    Progress_Post();
    Log(Now() + " Outcome " + std::to_string(static_cast<int>(outcome)) + ": " + OutcomeText(outcome));
}
