// Win32 test support: see WinTest.h.
#include "WinTest.h"

#include "Handles.h"
#include "WideText.h"

#include <objbase.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>

namespace wintest {
namespace {

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

std::string StripAmpersands(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
}

bool Matches(HWND hwnd, const WindowQuery& q) {
    if (q.visibleOnly && !IsWindowVisible(hwnd)) return false;
    if (q.processId && Window_GetProcessId(hwnd) != q.processId) return false;
    if (q.className && Window_GetClass(hwnd) != q.className) return false;
    if (q.title && Window_GetText(hwnd) != q.title) return false;
    return true;
}

struct FindAllState {
    const WindowQuery* q;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMatching(HWND hwnd, LPARAM lp) {
    auto* st = reinterpret_cast<FindAllState*>(lp);
    if (Matches(hwnd, *st->q)) st->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND IconControl(HWND box) {
    for (HWND child : Children(box)) {
        if (Window_GetClass(child) != "Static") continue;
        LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

using Pixels = std::vector<std::uint32_t>;

// The icon control's pixels as the screen shows them. Painting is forced first so that a box
// that has just appeared is captured with its icon drawn.
Pixels CaptureIcon(HWND box) {
    HWND icon = IconControl(box);
    if (!icon || !IsWindowVisible(icon)) return {};
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    GetWindowRect(icon, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return {};
    ScreenDc screen(nullptr);
    UniqueMemoryDc mem(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject bmp(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp || !bits) return {};
    {
        ScopedSelectObject selected(mem.get(), bmp.get());
        BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    }
    const auto* p = static_cast<const std::uint32_t*>(bits);
    Pixels out(p, p + static_cast<size_t>(w) * static_cast<size_t>(h));
    for (auto& px : out) px &= 0x00FFFFFFu;
    return out;
}

struct IconReference {
    BoxIcon icon;
    UINT style;
    LPCSTR resource;
};
const IconReference kIcons[] = {
    {BoxIcon::Exclamation, MB_ICONEXCLAMATION, IDI_EXCLAMATION},
    {BoxIcon::Question, MB_ICONQUESTION, IDI_QUESTION},
    {BoxIcon::Information, MB_ICONINFORMATION, IDI_ASTERISK},
    {BoxIcon::Error, MB_ICONHAND, IDI_HAND},
};

// Pixels of each icon as this desktop draws it, taken from boxes this process shows itself.
const std::map<BoxIcon, Pixels>& ReferencePixels() {
    static std::map<BoxIcon, Pixels> refs;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const auto& ref : kIcons) {
            std::string caption = "wintest icon reference " + std::to_string(static_cast<int>(ref.icon));
            std::thread shower([&] { MessageBoxA(nullptr, "reference", caption.c_str(), MB_OK | ref.style); });
            WindowQuery q;
            q.title = caption.c_str();
            q.className = "#32770";
            q.processId = GetCurrentProcessId();
            if (HWND box = Window_WaitFor(q, 10000)) {
                Pause(100);
                refs[ref.icon] = CaptureIcon(box);
                MessageBox_Press(box, "OK");
            }
            shower.join();
        }
    });
    return refs;
}

BoxIcon IdentifyIcon(HWND box) {
    HWND icon = IconControl(box);
    if (!icon || !IsWindowVisible(icon)) return BoxIcon::None;
    if (Window_GetProcessId(box) == GetCurrentProcessId()) {
        auto h = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
        if (!h) return BoxIcon::None;
        for (const auto& ref : kIcons)
            if (h == LoadIconA(nullptr, ref.resource)) return ref.icon;
    }
    Pixels shown = CaptureIcon(box);
    if (shown.empty()) return BoxIcon::None;
    for (const auto& [which, pixels] : ReferencePixels())
        if (!pixels.empty() && pixels == shown) return which;
    return BoxIcon::Unknown;
}

}  // namespace

bool Eventually(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD begin = GetTickCount();
    while (!condition()) {
        if (static_cast<int>(GetTickCount() - begin) > timeoutMs) return false;
        Pause(20);
    }
    return true;
}

// ---- windows -------------------------------------------------------------------------------

std::vector<HWND> Window_FindAll(const WindowQuery& q) {
    FindAllState st{&q, {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&st));
    return st.found;
}

HWND Window_Find(const WindowQuery& q) {
    auto all = Window_FindAll(q);
    return all.empty() ? nullptr : all.front();
}

HWND Window_WaitFor(const WindowQuery& q, int timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND h = Window_Find(q)) return h;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return nullptr;
        Pause(10);
    }
}

bool Window_WaitGone(HWND hwnd, int timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
        Pause(10);
    }
    return true;
}

std::string Window_GetText(HWND hwnd) {
    // WM_GETTEXT is answered by the window's thread, so another process's title is exact.
    wchar_t buf[4096] = {};
    auto n = SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000,
                                 nullptr);
    if (!n) GetWindowTextW(hwnd, buf, 4096);
    return Text_FromWideBuffer(buf, 4096);
}

std::string Window_GetClass(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return Text_FromWideBuffer(buf, 256);
}

DWORD Window_GetProcessId(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

// ---- message boxes ---------------------------------------------------------------------------

const char* BoxIcon_Name(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::None: return "none";
        case BoxIcon::Exclamation: return "exclamation";
        case BoxIcon::Question: return "question";
        case BoxIcon::Information: return "information";
        case BoxIcon::Error: return "error";
        case BoxIcon::Unknown: break;
    }
    return "unknown";
}

HWND MessageBox_WaitFor(DWORD processId, int timeoutMs) {
    WindowQuery q;
    q.className = "#32770";
    q.processId = processId;
    return Window_WaitFor(q, timeoutMs);
}

MessageBoxInfo MessageBox_Read(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    info.caption = Window_GetText(box);
    if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = Window_GetText(text);
    for (HWND child : Children(box))
        if (Window_GetClass(child) == "Button" && IsWindowVisible(child))
            info.buttons.push_back(StripAmpersands(Window_GetText(child)));
    info.icon = IdentifyIcon(box);
    return info;
}

bool MessageBox_Press(HWND box, const std::string& buttonText) {
    for (HWND child : Children(box)) {
        if (Window_GetClass(child) != "Button") continue;
        if (StripAmpersands(Window_GetText(child)) != buttonText) continue;
        int id = GetDlgCtrlID(child);
        return PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(child)) != 0;
    }
    return false;
}

MessageBoxInfo MessageBox_Answer(DWORD processId, const std::string& buttonText, int timeoutMs) {
    HWND box = MessageBox_WaitFor(processId, timeoutMs);
    if (!box) return {};
    Pause(50);  // let the box finish its dialog initialisation before it is read
    MessageBoxInfo info = MessageBox_Read(box);
    MessageBox_Press(box, buttonText);
    Window_WaitGone(box, 5000);
    return info;
}

BoxAnswerer::BoxAnswerer(std::vector<std::string> buttons, int timeoutMs)
    : buttons_(std::move(buttons)), timeoutMs_(timeoutMs) {
    ReferencePixels();  // before the code under test puts its own boxes on screen
    thread_ = std::thread([this] {
        for (const auto& button : buttons_) {
            MessageBoxInfo info = MessageBox_Answer(GetCurrentProcessId(), button, timeoutMs_);
            if (!info.hwnd) return;
            boxes_.push_back(std::move(info));
        }
    });
}

BoxAnswerer::~BoxAnswerer() {
    if (thread_.joinable()) thread_.join();
}

const std::vector<MessageBoxInfo>& BoxAnswerer::Boxes() {
    if (thread_.joinable()) thread_.join();
    return boxes_;
}

// ---- icons and display scaling -----------------------------------------------------------

int Icon_Width(HICON icon) {
    ICONINFO info = {};
    BITMAP image = {};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(image), &image);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return image.bmWidth;
}

namespace {
const char kDesktopKey[] = "Control Panel\\Desktop";
}  // namespace

ScreenDpiForNewProcesses::ScreenDpiForNewProcesses(DWORD dpi) {
    existed_ = Registry_ReadStored(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", &type_, &stored_);
    Registry_WriteStored(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD,
                         std::string(reinterpret_cast<const char*>(&dpi), sizeof(dpi)));
}

ScreenDpiForNewProcesses::~ScreenDpiForNewProcesses() {
    if (existed_) Registry_WriteStored(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", type_, stored_);
    if (!existed_) RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
}

// ---- popup menus ---------------------------------------------------------------------------

HWND PopupMenu_WaitFor(int timeoutMs) {
    WindowQuery q;
    q.className = "#32768";
    return Window_WaitFor(q, timeoutMs);
}

void PopupMenu_SendKeys(HWND popup, std::initializer_list<WORD> keys) {
    for (WORD vk : keys) {
        PostMessageA(popup, WM_KEYDOWN, vk, 1);
        Pause(60);
    }
}

bool PopupMenu_WaitClosed(int timeoutMs) {
    DWORD start = GetTickCount();
    WindowQuery q;
    q.className = "#32768";
    while (Window_Find(q)) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
        Pause(10);
    }
    return true;
}

// ---- processes -----------------------------------------------------------------------------

Process Process::Start(const std::string& exePath, const std::string& args, const std::string& currentDir,
                       bool inheritHandles) {
    Process p;
    std::string cmd = "\"" + exePath + "\"";
    if (!args.empty()) cmd += " " + args;
    std::wstring line = Wide_FromText(cmd);
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    const std::wstring program = Wide_FromText(exePath), dir = Wide_FromText(currentDir);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, inheritHandles, 0, nullptr,
                       currentDir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
        CloseHandle(pi.hThread);
        p.process_ = pi.hProcess;
        p.id_ = pi.dwProcessId;
        WaitForInputIdle(p.process_, 5000);
    }
    return p;
}

Process::~Process() { Terminate(); }

Process::Process(Process&& o) noexcept : process_(std::exchange(o.process_, nullptr)), id_(o.id_) {}

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Terminate();
        process_ = std::exchange(o.process_, nullptr);
        id_ = o.id_;
    }
    return *this;
}

bool Process::WaitExit(int timeoutMs) {
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

void Process::Terminate() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
    process_ = nullptr;
}

// ---- registry and files --------------------------------------------------------------------

ScratchKey::ScratchKey(const std::string& name) : path_("Software\\VembrolTests\\" + name) {
    Registry_DeleteTree(HKEY_LOCAL_MACHINE, path_);
}

ScratchKey::~ScratchKey() { Registry_DeleteTree(HKEY_LOCAL_MACHINE, path_); }

ScratchDir::ScratchDir(const std::string& name) : path_("C:\\vembrol-tests\\" + name + "\\") {
    Directory_DeleteTree(path_);
    Directory_Create(path_);
}

ScratchDir::~ScratchDir() { Directory_DeleteTree(path_); }

bool Registry_KeyExists(HKEY root, const std::string& path) {
    UniqueKey key;
    return RegOpenKeyExW(root, Wide_FromText(path).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

bool Registry_ReadRaw(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                      std::string* data) {
    UniqueKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    DWORD t = 0, size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS) return false;
    std::string buf(size, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &t,
                         reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        return false;
    buf.resize(size);
    if (type) *type = t;
    if (data) *data = buf;
    return true;
}

void Registry_WriteRaw(HKEY root, const std::string& path, const std::string& name, DWORD type,
                       const std::string& data) {
    UniqueKey key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
}

void Registry_DeleteTree(HKEY root, const std::string& path) {
    if (path.empty()) return;  // never the root itself
    {
        UniqueKey key;
        if (RegOpenKeyExW(root, Wide_FromText(path).c_str(), 0, KEY_READ | KEY_WRITE, key.put()) != ERROR_SUCCESS)
            return;
        for (;;) {
            wchar_t sub[256];
            DWORD len = 256;
            if (RegEnumKeyExW(key.get(), 0, sub, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            std::string child = path;
            if (child.back() != '\\') child += '\\';
            child += Text_FromWide(sub, len);
            Registry_DeleteTree(root, child);
            if (Registry_KeyExists(root, child)) break;  // could not delete: avoid looping
        }
    }
    RegDeleteKeyW(root, Wide_FromText(path).c_str());
}

namespace {
const wchar_t HolderName[] = L"held by UnchangeableKey";
}  // namespace

UnchangeableKey::UnchangeableKey(HKEY root, const std::string& path) : root_(root), path_(path) {
    UniqueKey key;
    if (RegCreateKeyExW(root, Wide_FromText(path).c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | WRITE_DAC, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS)
        return;
    UniqueKey holder;
    DWORD disposition = 0;
    if (RegCreateKeyExW(key.get(), HolderName, 0, nullptr, 0, KEY_READ, nullptr, holder.put(), &disposition) !=
        ERROR_SUCCESS)
        return;
    createdHolder_ = disposition == REG_CREATED_NEW_KEY;
    DWORD size = 0;
    RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    std::string saved(size, '\0');
    if (size == 0 || RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, saved.data(), &size) != ERROR_SUCCESS)
        return;
    // Deny first: a deny entry after an allow entry would never be reached.
    PSECURITY_DESCRIPTOR locked = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x0002;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1,
                                                              &locked, nullptr))
        return;
    UniqueLocalMemory lockedMemory(locked);
    if (RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, locked) == ERROR_SUCCESS) savedDacl_ = saved;
}

UnchangeableKey::~UnchangeableKey() {
    UniqueKey key;
    if (RegOpenKeyExW(root_, Wide_FromText(path_).c_str(), 0, READ_CONTROL | WRITE_DAC, key.put()) != ERROR_SUCCESS)
        return;
    if (Active()) RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, savedDacl_.data());
    if (createdHolder_) RegDeleteKeyW(key.get(), HolderName);
}

bool Registry_ReadStored(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                         std::string* data) {
    UniqueKey key;
    if (RegOpenKeyExW(root, Wide_FromText(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    const std::wstring wideName = Wide_FromText(name);
    DWORD t = 0, size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS) return false;
    std::string buf(size, '\0');
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(buf.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    buf.resize(size);
    if (type) *type = t;
    if (data) *data = buf;
    return true;
}

bool Registry_WriteStored(HKEY root, const std::string& path, const std::string& name, DWORD type,
                          const std::string& data) {
    UniqueKey key;
    if (RegCreateKeyExW(root, Wide_FromText(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    // Non-NUL bytes after the data, or the platform stores a terminator the test did not ask for.
    const std::string bytes = data + "\xFF\xFF";
    return RegSetValueExW(key.get(), Wide_FromText(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

std::string Utf16_Bytes(const std::string& text) {
    const std::wstring wide = Wide_FromText(text);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::vector<std::string> Registry_ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    UniqueKey key;
    if (RegOpenKeyExW(root, Wide_FromText(path).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD len = 16384;
        if (RegEnumValueW(key.get(), i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Text_FromWide(name, len));
    }
    return names;
}

// Long paths in the form the wide file functions take without the 260-character limit.
std::wstring Wide_FilePath(const std::string& path) {
    if (path.size() < 240 || path.size() < 3 || path[1] != ':' || path[2] != '\\') return Wide_FromText(path);
    return L"\\\\?\\" + Wide_FromText(path);
}

bool File_Exists(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide_FilePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Directory_Exists(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide_FilePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void File_Write(const std::string& path, const std::string& bytes) {
    UniqueFile f(CreateFileW(Wide_FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return;
    DWORD written = 0;
    WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string File_Read(const std::string& path) {
    UniqueFile f(CreateFileW(Wide_FilePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    if (!f) return {};
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f.get(), buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
    return out;
}

void Directory_Create(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.back() == '\\') p.pop_back();
    if (p.empty() || Directory_Exists(p)) return;
    size_t cut = p.find_last_of('\\');
    if (cut != std::string::npos && cut > 2) Directory_Create(p.substr(0, cut));
    CreateDirectoryW(Wide_FilePath(p).c_str(), nullptr);
}

void Directory_DeleteTree(const std::string& path) {
    std::string dir = path;
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    if (dir.size() <= 3) return;  // never a drive root
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW(Wide_FilePath(dir + "\\*").c_str(), &fd));
    if (find) {
        do {
            std::string name = Text_FromWideBuffer(fd.cFileName, MAX_PATH);
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                Directory_DeleteTree(full);
            } else {
                SetFileAttributesW(Wide_FilePath(full).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(Wide_FilePath(full).c_str());
            }
        } while (FindNextFileW(find.get(), &fd));
    }
    find.reset();
    SetFileAttributesW(Wide_FilePath(dir).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(Wide_FilePath(dir).c_str());
}

bool Shortcut_Create(const std::string& file, const std::string& target) {
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link)))) {
        IPersistFile* persisted = nullptr;
        if (SUCCEEDED(link->SetPath(Wide_FromText(target).c_str())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted)))) {
            saved = SUCCEEDED(persisted->Save(Wide_FilePath(file).c_str(), TRUE));
            persisted->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(started)) CoUninitialize();
    return saved;
}

void File_SetAttributes(const std::string& path, DWORD attributes) {
    SetFileAttributesW(Wide_FilePath(path).c_str(), attributes);
}

}  // namespace wintest

// ---- input boxes ----------------------------------------------------------------------------

namespace wintest {

namespace {

HWND EditChild(HWND box) {
    for (HWND child : Children(box))
        if (Window_GetClass(child) == "Edit") return child;
    return nullptr;
}

}  // namespace

HWND InputBox_WaitFor(DWORD processId, const std::string& title, int timeoutMs) {
    WindowQuery q;
    q.className = "#32770";
    q.title = title.c_str();
    q.processId = processId;
    return Window_WaitFor(q, timeoutMs);
}

InputBoxInfo InputBox_Read(HWND box) {
    InputBoxInfo info;
    info.hwnd = box;
    info.caption = Window_GetText(box);
    if (HWND prompt = GetDlgItem(box, 0xFFFF)) info.prompt = Window_GetText(prompt);
    if (HWND edit = EditChild(box)) {
        info.editText = Window_GetText(edit);
        DWORD_PTR selection = 0;
        SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
        // The selection counts UTF-16 characters.
        info.editTextSelected =
            LOWORD(selection) == 0 && HIWORD(selection) == static_cast<WORD>(Wide_FromText(info.editText).size());
    }
    for (HWND child : Children(box))
        if (Window_GetClass(child) == "Button" && IsWindowVisible(child))
            info.buttons.push_back(StripAmpersands(Window_GetText(child)));
    return info;
}

bool InputBox_Type(HWND box, const std::string& text) {
    HWND edit = EditChild(box);
    DWORD_PTR result = 0;
    const std::wstring wide = Wide_FromText(text);
    return edit && SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                                       SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

InputBoxInfo InputBox_Answer(DWORD processId, const std::string& title, const std::string& text,
                             const std::string& buttonText, int timeoutMs) {
    HWND box = InputBox_WaitFor(processId, title, timeoutMs);
    if (!box) return {};
    Pause(50);  // let the dialog finish WM_INITDIALOG before it is read
    InputBoxInfo info = InputBox_Read(box);
    InputBox_Type(box, text);
    MessageBox_Press(box, buttonText);
    Window_WaitGone(box, 5000);
    return info;
}

}  // namespace wintest

// ---- temporary folder and restart-time deletions ----------------------------------------------

namespace wintest {

namespace {

const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

}  // namespace

std::string TempFolder_Get() {
    wchar_t buffer[MAX_PATH + 1] = {};
    return Text_FromWide(buffer, GetTempPathW(MAX_PATH + 1, buffer));
}

std::string WindowsTempFolder_Get() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH + 1);
    const std::string windows = Text_FromWide(buffer, length <= MAX_PATH ? length : 0) + "\\";
    // Spelt as the folder itself is ("temp" under Wine), as a program started from it sees its path.
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW(Wide_FromText(windows + "Temp").c_str(), &found));
    return windows + (find ? Text_FromWideBuffer(found.cFileName, MAX_PATH) : std::string("Temp")) + "\\";
}

std::vector<std::string> Folder_ListNames(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const std::string folder = !dir.empty() && dir.back() == '\\' ? dir : dir + "\\";
    UniqueFind find(FindFirstFileW(Wide_FromText(folder + "*").c_str(), &found));
    if (!find) return names;
    do {
        const std::string name = Text_FromWideBuffer(found.cFileName, MAX_PATH);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find.get(), &found));
    return names;
}

// The value is pairs of texts, each a source and a target; an empty target means deletion.
std::vector<std::string> PendingDeletions_Get() {
    DWORD type = 0;
    std::string stored;
    std::vector<std::string> texts, deletions;
    if (!Registry_ReadStored(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, &type, &stored)) return deletions;
    const std::string all = Text_FromWide(reinterpret_cast<const wchar_t*>(stored.data()), stored.size() / sizeof(wchar_t));
    for (std::size_t start = 0; start <= all.size();) {
        std::size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        texts.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 0; i + 1 < texts.size() && !texts[i].empty(); i += 2)
        if (texts[i + 1].empty()) deletions.push_back(texts[i]);
    return deletions;
}

PendingRenamesKept::PendingRenamesKept() {
    DWORD type = 0;
    existed_ = Registry_ReadStored(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, &type, &stored_);
}

PendingRenamesKept::~PendingRenamesKept() {
    if (existed_)
        Registry_WriteStored(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, REG_MULTI_SZ, stored_);
    else
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Wide_FromText(kSessionManager).c_str(), Wide_FromText(kPendingRenames).c_str());
}

}  // namespace wintest
