// Win32 test support: find windows, read and answer message boxes, drive popup menus, start
// and stop processes, and scratch registry keys and folders that clean up after themselves.
// Texts, titles, paths and names are UTF-8 (the programs' own text model): window texts are
// read and processes started with the wide functions, so any script comes through.
#pragma once

#include "Win32.h"

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

// Polls the condition until it holds; false after timeoutMs.
bool Eventually(const std::function<bool()>& condition, int timeoutMs = 5000);

// ---- windows -------------------------------------------------------------------------------

struct WindowQuery {
    const char* title = nullptr;      // exact title, or any when null
    const char* className = nullptr;  // exact class, or any when null
    DWORD processId = 0;              // owning process, or any when 0
    bool visibleOnly = true;
};

HWND Window_Find(const WindowQuery& q);
// Polls until a matching top-level window exists; null after timeoutMs.
HWND Window_WaitFor(const WindowQuery& q, int timeoutMs = 10000);
// Polls until the window is gone or hidden; false after timeoutMs.
bool Window_WaitGone(HWND hwnd, int timeoutMs = 10000);
std::vector<HWND> Window_FindAll(const WindowQuery& q);
std::string Window_GetText(HWND hwnd);
std::string Window_GetClass(HWND hwnd);
DWORD Window_GetProcessId(HWND hwnd);

// ---- message boxes ---------------------------------------------------------------------------

enum class BoxIcon { None, Exclamation, Question, Information, Error, Unknown };
const char* BoxIcon_Name(BoxIcon icon);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;                  // the static control 0xFFFF
    std::vector<std::string> buttons;  // button captions without "&", in child order
    BoxIcon icon = BoxIcon::Unknown;
};

// A visible dialog box (class #32770) of the process (any process when 0).
HWND MessageBox_WaitFor(DWORD processId, int timeoutMs = 10000);
MessageBoxInfo MessageBox_Read(HWND box);
// Presses the button whose caption, without "&", equals buttonText ("Yes", "No", "OK", ...).
bool MessageBox_Press(HWND box, const std::string& buttonText);
// Waits for a box of the process, reads it, presses the button; hwnd is null on timeout.
MessageBoxInfo MessageBox_Answer(DWORD processId, const std::string& buttonText, int timeoutMs = 10000);

// Answers, from a helper thread, the message boxes that code under test shows in this process:
// one button per expected box, in order. Records what each box said.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<std::string> buttons, int timeoutMs = 10000);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    // Waits for the helper thread; returns the boxes it answered (fewer on timeout).
    const std::vector<MessageBoxInfo>& Boxes();

private:
    std::vector<std::string> buttons_;
    int timeoutMs_;
    std::vector<MessageBoxInfo> boxes_;
    std::thread thread_;
};

// ---- icons and display scaling -----------------------------------------------------------

// The width in pixels of an icon's image; 0 for none.
int Icon_Width(HICON icon);

// The DPI that Wine gives every monitor (LogPixels) for the processes started while this object
// lives, such as a death test's child; the value as it was comes back on destruction.
class ScreenDpiForNewProcesses {
public:
    explicit ScreenDpiForNewProcesses(DWORD dpi);
    ~ScreenDpiForNewProcesses();
    ScreenDpiForNewProcesses(const ScreenDpiForNewProcesses&) = delete;
    ScreenDpiForNewProcesses& operator=(const ScreenDpiForNewProcesses&) = delete;

private:
    bool existed_ = false;
    DWORD type_ = 0;
    std::string stored_;
};

// ---- popup menus ---------------------------------------------------------------------------

// A visible popup menu window (class #32768); null after timeoutMs.
HWND PopupMenu_WaitFor(int timeoutMs = 5000);
// Posts a key press for each virtual key, with a short pause between, as a user would type.
void PopupMenu_SendKeys(HWND popup, std::initializer_list<WORD> keys);
// Waits until no popup menu is visible.
bool PopupMenu_WaitClosed(int timeoutMs = 5000);

// ---- processes -----------------------------------------------------------------------------

// A started process; terminated on destruction if it still runs, so a failing test leaves
// nothing behind.
class Process {
public:
    Process() = default;
    // exePath is passed as the program name (no search), args appended after the quoted path.
    // With inheritHandles the process inherits this one's inheritable handles (and its
    // environment, as always).
    static Process Start(const std::string& exePath, const std::string& args = "",
                         const std::string& currentDir = "", bool inheritHandles = false);
    ~Process();
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    bool WaitExit(int timeoutMs = 10000);
    bool Running() const;
    DWORD ExitCode() const;
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// ---- registry and files --------------------------------------------------------------------

// A key HKEY_LOCAL_MACHINE\Software\VembrolTests\<name>, removed with everything under it
// before and after the test.
class ScratchKey {
public:
    explicit ScratchKey(const std::string& name);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::string& Path() const { return path_; }  // relative to HKEY_LOCAL_MACHINE, no trailing "\"

private:
    std::string path_;
};

// A folder C:\vembrol-tests\<name>\, emptied before and removed after the test.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }  // ends with "\"

private:
    std::string path_;
};

// A folder name outside every ANSI code page ("Проба 文字"): a program that meets the system
// with "A" functions sees "?" in its place.
constexpr const char* UnicodeFolderName = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB1\xD0\xB0 \xE6\x96\x87\xE5\xAD\x97";

// Makes a key unchangeable as HKEY_LOCAL_MACHINE is for a standard user: its values can be
// neither set nor deleted (KEY_SET_VALUE denied), and it cannot be deleted (it is given a
// subkey, since Wine does not check DELETE). Creates the key when missing; gives the key its
// own access rules back and removes the subkey again on destruction.
class UnchangeableKey {
public:
    UnchangeableKey(HKEY root, const std::string& path);
    ~UnchangeableKey();
    UnchangeableKey(const UnchangeableKey&) = delete;
    UnchangeableKey& operator=(const UnchangeableKey&) = delete;
    bool Active() const { return !savedDacl_.empty(); }  // false when the key could not be locked

private:
    HKEY root_;
    std::string path_;
    std::string savedDacl_;  // the key's own security descriptor (DACL part), self-relative
    bool createdHolder_ = false;
};

bool Registry_KeyExists(HKEY root, const std::string& path);
// The value's bytes as stored (strings as UTF-16LE), through the wide functions; false when
// key or value is missing.
bool Registry_ReadStored(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                         std::string* data);
// Stores exactly these bytes (no terminator added), creating the key; false on failure.
bool Registry_WriteStored(HKEY root, const std::string& path, const std::string& name, DWORD type,
                          const std::string& data);
// A UTF-8 text as the UTF-16LE bytes the registry stores for a string.
std::string Utf16_Bytes(const std::string& text);
// Reads a value's raw data through the "A" functions (strings in the ANSI code page; path and
// name ASCII); false when key or value is missing.
bool Registry_ReadRaw(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                      std::string* data);
void Registry_WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::string& data);
void Registry_DeleteTree(HKEY root, const std::string& path);
// The names of all values of a key, in enumeration order.
std::vector<std::string> Registry_ValueNames(HKEY root, const std::string& path);

bool File_Exists(const std::string& path);  // any file, hidden ones included
bool Directory_Exists(const std::string& path);
void File_Write(const std::string& path, const std::string& bytes);
std::string File_Read(const std::string& path);
void Directory_Create(const std::string& path);  // with every missing parent
void Directory_DeleteTree(const std::string& path);
void File_SetAttributes(const std::string& path, DWORD attributes);
// A shortcut file leading to target, written by the shell's own writer; false when it failed.
bool Shortcut_Create(const std::string& file, const std::string& target);

}  // namespace wintest

// ---- input boxes ----------------------------------------------------------------------------

namespace wintest {

// A dialog with a prompt (the static control 0xFFFF, as in message boxes), one edit field and
// buttons, such as the Starter's input box.
struct InputBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string prompt;
    std::string editText;                // the edit field's text when read
    bool editTextSelected = false;       // all of it selected (an empty text counts as selected)
    std::vector<std::string> buttons;    // captions without "&", in child order
};

// A visible dialog (class #32770) with this title, of the process (any process when 0).
HWND InputBox_WaitFor(DWORD processId, const std::string& title, int timeoutMs = 10000);
InputBoxInfo InputBox_Read(HWND box);
// Replaces the edit field's text (WM_SETTEXT, which also works across processes).
bool InputBox_Type(HWND box, const std::string& text);
// Waits for the box, reads it, types text into the edit field and presses the button ("OK",
// "Cancel"); hwnd is null on timeout. Call it from a helper thread for boxes of this process.
InputBoxInfo InputBox_Answer(DWORD processId, const std::string& title, const std::string& text,
                             const std::string& buttonText, int timeoutMs = 10000);

}  // namespace wintest

// ---- temporary folder and restart-time deletions ----------------------------------------------

namespace wintest {

// The user's temporary folder, ending with "\".
std::string TempFolder_Get();
// The system's Windows folder's "Temp\", where the uninstaller makes the folder of its copy.
std::string WindowsTempFolder_Get();
// The names directly in a folder (files and folders, without "." and "..").
std::vector<std::string> Folder_ListNames(const std::string& dir);
// The paths that PendingFileRenameOperations deletes at the next restart, in their order.
std::vector<std::string> PendingDeletions_Get();

// Keeps PendingFileRenameOperations as it was at construction and puts it back on destruction:
// a test prefix never restarts, so what a test schedules there would pile up.
class PendingRenamesKept {
public:
    PendingRenamesKept();
    ~PendingRenamesKept();
    PendingRenamesKept(const PendingRenamesKept&) = delete;
    PendingRenamesKept& operator=(const PendingRenamesKept&) = delete;

private:
    bool existed_ = false;
    std::string stored_;
};

}  // namespace wintest
