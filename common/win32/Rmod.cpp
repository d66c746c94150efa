// The registry access layer: each operation opens its key, does one thing and closes it again.
#include "Rmod.h"

#include "Handles.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

bool Registry_ReadFailed = false;

namespace {

// Values the programs read are short; the fixed size is kept because callers rely on a value
// above it reading as missing rather than as a truncated text.
constexpr DWORD ReadBufferSize = 128000;

HKEY Root_Handle(std::uint32_t root) { return RootKey_ToHandle(root); }

// The handle is taken over only on success: what a failed call leaves in it is not a key.
UniqueKey Key_Open(std::uint32_t root, const std::string& keyPath, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(Root_Handle(root), keyPath.c_str(), 0, access, &key) != ERROR_SUCCESS) return UniqueKey();
    return UniqueKey(key);
}

std::string Binary_ToText(const unsigned char* data, DWORD length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    if (length > 0) text.reserve(static_cast<std::size_t>(length) * 3 - 1);
    for (DWORD i = 0; i < length; ++i) {
        if (i > 0) text += ' ';
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }
    return text;
}

// The buffer is NUL-filled and far longer than four bytes, so a shorter DWORD value reads its
// missing bytes as zero instead of past its data.
std::string Dword_ToText(const unsigned char* data) {
    std::uint32_t bits = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                         static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    std::int32_t number;
    std::memcpy(&number, &bits, sizeof number);
    return std::to_string(number);
}

// Text kinds end at the first NUL; the reported length is ignored, as the value's own
// terminator (or a second string of a REG_MULTI_SZ) must not come back. A value filling the
// whole buffer without a NUL comes back whole rather than cut or lost.
std::string Buffer_ToText(const std::vector<unsigned char>& buffer) {
    const void* nul = std::memchr(buffer.data(), 0, buffer.size());
    std::size_t length = nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - buffer.data())
                             : buffer.size();
    return std::string(reinterpret_cast<const char*>(buffer.data()), length);
}

// The decimal text of a DWORD written from text: optional blanks around an optionally signed
// run of digits that fits 32 bits. Anything else is the caller's error and writes nothing.
bool Text_ToDword(const std::string& text, std::int32_t* number) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    std::size_t last = text.find_last_not_of(' ') + 1;
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
    long long value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) return false;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return false;
    *number = static_cast<std::int32_t>(value);
    return true;
}

// RegSetValueExA counts one byte more for a string kind when the byte after the data is a NUL
// (NT does this for callers that "forgot" the terminator, and Wine copies it), so a
// std::string would always be stored with its terminator. The data goes out from a copy
// followed by a non-NUL byte, so exactly the given bytes are stored.
LONG Value_Write(HKEY key, const std::string& valueName, std::int32_t kind, const char* data, std::size_t size) {
    if (size >= std::numeric_limits<DWORD>::max()) return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> bytes(data, data + size);
    bytes.push_back(0xFF);
    return RegSetValueExA(key, valueName.c_str(), 0, static_cast<DWORD>(kind), bytes.data(),
                          static_cast<DWORD>(size));
}

// Opens the key for writing, creating it (and every missing parent) when it is not there yet.
UniqueKey Key_OpenForWrite(std::uint32_t root, const std::string& keyPath) {
    UniqueKey key = Key_Open(root, keyPath, KEY_WRITE);
    if (!key) {
        Registry_CreateKey(root, keyPath);
        key = Key_Open(root, keyPath, KEY_WRITE);
    }
    return key;
}

}  // namespace

std::string Registry_GetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) {
    // A fresh NUL-filled buffer per read: a shorter value must never show a longer one's tail.
    std::vector<unsigned char> buffer(ReadBufferSize, 0);
    DWORD length = ReadBufferSize;
    UniqueKey key = Key_Open(root, keyPath, KEY_READ);
    if (!key) {
        Registry_ReadFailed = true;
        return "";
    }
    Registry_ReadFailed = false;
    DWORD kind = 0;
    if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &kind, buffer.data(), &length) != ERROR_SUCCESS ||
        length > ReadBufferSize) {
        Registry_ReadFailed = true;
        return "";
    }
    switch (kind) {
    case REG_BINARY:
        return Binary_ToText(buffer.data(), length);
    case REG_DWORD:
        return Dword_ToText(buffer.data());
    default:
        return Buffer_ToText(buffer);
    }
}

void Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, std::int32_t kind) {
    UniqueKey key = Key_OpenForWrite(root, keyPath);
    if (!key) return;
    switch (kind) {
    case RegKind_String:
        Registry_SetStringValue(key.get(), valueName, kind, value);
        break;
    case RegKind_Binary:
        Registry_SetBinaryValue(key.get(), valueName, kind, value);
        break;
    case RegKind_Dword: {
        std::int32_t number = 0;
        if (Text_ToDword(value, &number)) Registry_SetDwordValue(key.get(), valueName, kind, number);
        break;
    }
    default:  // other kinds are not written; the key stays created
        break;
    }
}

void Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       std::int32_t value, std::int32_t kind) {
    UniqueKey key = Key_OpenForWrite(root, keyPath);
    if (!key) return;
    switch (kind) {
    case RegKind_String:
        Registry_SetStringValue(key.get(), valueName, kind, std::to_string(value));
        break;
    case RegKind_Binary:
        Registry_SetBinaryValue(key.get(), valueName, kind, std::to_string(value));
        break;
    case RegKind_Dword:
        Registry_SetDwordValue(key.get(), valueName, kind, value);
        break;
    default:
        break;
    }
}

void Registry_CreateKey(std::uint32_t root, const std::string& keyPath) {
    char noClass[] = "";
    SECURITY_ATTRIBUTES security{};  // default security, not inherited
    DWORD disposition = 0;
    HKEY created = nullptr;
    if (RegCreateKeyExA(Root_Handle(root), keyPath.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, &security,
                        &created, &disposition) != ERROR_SUCCESS)
        return;
    UniqueKey unused(created);  // only the key's existence was wanted
}

void Registry_DeleteValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) {
    UniqueKey key = Key_Open(root, keyPath, KEY_WRITE);
    if (key) RegDeleteValueA(key.get(), valueName.c_str());
}

void Registry_DeleteKey(std::uint32_t root, const std::string& keyPath) {
    // An empty path names the root itself, which RegDeleteKeyA would try to delete; a data
    // file with an empty entry must not cost the user a whole branch.
    if (keyPath.empty()) return;
    RegDeleteKeyA(Root_Handle(root), keyPath.c_str());
}

// Strings go out without a terminating NUL (length = characters); every reader here stops at
// the first NUL or at the data's end, so nothing is lost by leaving it off.
LONG Registry_SetStringValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text) {
    return Value_Write(key, valueName, kind, text.data(), text.size());
}

LONG Registry_SetDwordValue(HKEY key, const std::string& valueName, std::int32_t kind, std::int32_t number) {
    std::uint32_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8 & 0xFF),
                           static_cast<char>(bits >> 16 & 0xFF), static_cast<char>(bits >> 24 & 0xFF)};
    return Value_Write(key, valueName, kind, bytes, sizeof bytes);
}

LONG Registry_SetBinaryValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text) {
    return Value_Write(key, valueName, kind, text.data(), text.size());
}
