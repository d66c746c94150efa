// UTF-8 <-> UTF-16 and ANSI conversions at the Win32 boundary.
#include "WideText.h"

#include "Handles.h"

#include <limits>
#include <vector>

namespace {

// Longer texts than an int can count do not occur at this boundary (paths, captions, values
// of at most 128,000 bytes); they convert to "" rather than to a cut text.
bool FitsInt(std::size_t size) { return size <= static_cast<std::size_t>(std::numeric_limits<int>::max()); }

std::wstring Wide_FromCodePage(UINT codePage, const std::string& text) {
    if (text.empty() || !FitsInt(text.size())) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), needed);
    return wide;
}

std::string CodePage_FromWide(UINT codePage, const wchar_t* wide, std::size_t length) {
    if (length == 0 || !FitsInt(length)) return std::string();
    const int size = static_cast<int>(length);
    const int needed = WideCharToMultiByte(codePage, 0, wide, size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::string();
    std::string text(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, wide, size, text.data(), needed, nullptr, nullptr);
    return text;
}

}  // namespace

std::wstring Wide_FromText(const std::string& text) { return Wide_FromCodePage(CP_UTF8, text); }

std::string Text_FromWide(const wchar_t* wide, std::size_t length) {
    return CodePage_FromWide(CP_UTF8, wide, length);
}

std::string Text_FromWide(const std::wstring& wide) { return Text_FromWide(wide.data(), wide.size()); }

std::string Text_FromWideBuffer(const wchar_t* buffer, std::size_t size) {
    std::size_t length = 0;
    while (length < size && buffer[length] != L'\0') ++length;
    return Text_FromWide(buffer, length);
}

std::string Text_FromAnsi(const std::string& bytes) {
    const std::wstring wide = Wide_FromCodePage(CP_ACP, bytes);
    return Text_FromWide(wide);
}

std::string Ansi_FromText(const std::string& text) {
    const std::wstring wide = Wide_FromText(text);
    return CodePage_FromWide(CP_ACP, wide.data(), wide.size());
}

std::string Module_GetPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return "";
        // A full buffer means the path was cut: long-path installs need a larger one.
        if (length < buffer.size()) return Text_FromWide(buffer.data(), length);
        if (buffer.size() >= 32768) return "";
        buffer.resize(buffer.size() * 2);
    }
}

std::string Process_GetImagePath(HANDLE process) {
    std::wstring buffer(32768, L'\0');  // the longest path the system can give
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!QueryFullProcessImageNameW(process, 0, buffer.data(), &size)) return "";
    return Text_FromWide(buffer.data(), size);
}

int MessageBox_Show(HWND owner, const std::string& text, const std::string& title, UINT style) {
    return MessageBoxW(owner, Wide_FromText(text).c_str(), Wide_FromText(title).c_str(), style);
}

std::string SystemError_Text(DWORD error) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const UniqueLocalMemory owned(message);
    std::string text = length ? Text_FromWide(message, length) : std::string();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    if (text.empty()) text = "error " + std::to_string(error);
    return text;
}
