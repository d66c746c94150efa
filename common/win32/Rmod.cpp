// The registry access layer: each operation opens its key, does one thing and closes it again.
#include "Rmod.h"

#include "Handles.h"
#include "RegistryText.h"
#include "WideText.h"

#include <limits>
#include <vector>

bool Registry_ReadFailed = false;

namespace {

// Values the programs read are short; the fixed size is kept because callers rely on a value
// above it reading as missing rather than as a truncated text.
constexpr DWORD ReadBufferSize = 128000;

// The handle is taken over only on success: what a failed call leaves in it is not a key.
UniqueKey Key_Open(std::uint32_t root, const std::string& keyPath, REGSAM access, LONG* result = nullptr) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExW(RootKey_ToHandle(root), Wide_FromText(keyPath).c_str(), 0, access, &key);
    if (result) *result = opened;
    return opened == ERROR_SUCCESS ? UniqueKey(key) : UniqueKey();
}

// RegSetValueExW counts one character more for a string kind when the character after the
// data is a NUL (NT does this for callers that "forgot" the terminator, and Wine copies it),
// so a std::wstring would always be stored with its terminator. The data goes out from a copy
// followed by non-NUL bytes, so exactly the given bytes are stored.
LONG Value_Write(HKEY key, const std::string& valueName, std::int32_t kind, const void* data, std::size_t size) {
    if (size >= std::numeric_limits<DWORD>::max() - 2) return ERROR_INVALID_PARAMETER;
    const auto* first = static_cast<const BYTE*>(data);
    std::vector<BYTE> bytes(first, first + size);
    bytes.insert(bytes.end(), {0xFF, 0xFF});
    return RegSetValueExW(key, Wide_FromText(valueName).c_str(), 0, static_cast<DWORD>(kind), bytes.data(),
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

// "Not there" is what a delete wants, so a missing key or value counts as done.
bool Deleted(LONG result) { return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND; }

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
    if (RegQueryValueExW(key.get(), Wide_FromText(valueName).c_str(), nullptr, &kind, buffer.data(), &length) !=
            ERROR_SUCCESS ||
        length > ReadBufferSize) {
        Registry_ReadFailed = true;
        return "";
    }
    switch (kind) {
    case REG_BINARY:
        return RegistryBinary_ToText(buffer.data(), length);
    case REG_DWORD:
        // The whole buffer is NUL-filled, so a shorter DWORD reads its missing bytes as zero.
        return RegistryDword_ToText(buffer.data(), buffer.size());
    default: {
        const std::size_t bytes = RegistryString_ByteLength(buffer.data(), buffer.size());
        return Text_FromWide(reinterpret_cast<const wchar_t*>(buffer.data()), bytes / sizeof(wchar_t));
    }
    }
}

bool Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, std::int32_t kind) {
    UniqueKey key = Key_OpenForWrite(root, keyPath);
    if (!key) return false;
    switch (kind) {
    case RegKind_String:
        return Registry_SetStringValue(key.get(), valueName, kind, value) == ERROR_SUCCESS;
    case RegKind_Binary:
        return Registry_SetBinaryValue(key.get(), valueName, kind, value) == ERROR_SUCCESS;
    case RegKind_Dword: {
        std::int32_t number = 0;
        return RegistryDword_FromText(value, &number) &&
               Registry_SetDwordValue(key.get(), valueName, kind, number) == ERROR_SUCCESS;
    }
    default:  // other kinds are not written; the key stays created
        return true;
    }
}

bool Registry_SetValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       std::int32_t value, std::int32_t kind) {
    if (kind == RegKind_Dword) {
        UniqueKey key = Key_OpenForWrite(root, keyPath);
        return key && Registry_SetDwordValue(key.get(), valueName, kind, value) == ERROR_SUCCESS;
    }
    return Registry_SetValue(root, keyPath, valueName, std::to_string(value), kind);
}

bool Registry_CreateKey(std::uint32_t root, const std::string& keyPath) {
    wchar_t noClass[] = L"";
    SECURITY_ATTRIBUTES security{};  // default security, not inherited
    DWORD disposition = 0;
    HKEY created = nullptr;
    if (RegCreateKeyExW(RootKey_ToHandle(root), Wide_FromText(keyPath).c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, &security, &created, &disposition) != ERROR_SUCCESS)
        return false;
    UniqueKey unused(created);  // only the key's existence was wanted
    return true;
}

bool Registry_DeleteValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) {
    LONG opened = ERROR_SUCCESS;
    // Looked for with read access first: a standard user may read keys such as the Run key but
    // not change them, and a value that is not there needs no change.
    if (UniqueKey reader = Key_Open(root, keyPath, KEY_QUERY_VALUE, &opened)) {
        if (RegQueryValueExW(reader.get(), Wide_FromText(valueName).c_str(), nullptr, nullptr, nullptr, nullptr) ==
            ERROR_FILE_NOT_FOUND)
            return true;
    } else if (opened == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    UniqueKey key = Key_Open(root, keyPath, KEY_WRITE, &opened);
    if (!key) return opened == ERROR_FILE_NOT_FOUND;
    return Deleted(RegDeleteValueW(key.get(), Wide_FromText(valueName).c_str()));
}

bool Registry_DeleteKey(std::uint32_t root, const std::string& keyPath) {
    // An empty path names the root itself, which RegDeleteKeyW would try to delete; a data
    // file with an empty entry must not cost the user a whole branch.
    if (keyPath.empty()) return false;
    return Deleted(Registry_DeleteKeyResult(root, keyPath));
}

LONG Registry_DeleteKeyResult(std::uint32_t root, const std::string& keyPath) {
    if (keyPath.empty()) return ERROR_INVALID_PARAMETER;
    return RegDeleteKeyW(RootKey_ToHandle(root), Wide_FromText(keyPath).c_str());
}

// Strings go out as UTF-16 without a terminating NUL (length = characters); every reader here
// stops at the first NUL or at the data's end, so nothing is lost by leaving it off.
LONG Registry_SetStringValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text) {
    const std::wstring wide = Wide_FromText(text);
    return Value_Write(key, valueName, kind, wide.data(), wide.size() * sizeof(wchar_t));
}

LONG Registry_SetDwordValue(HKEY key, const std::string& valueName, std::int32_t kind, std::int32_t number) {
    const std::string bytes = RegistryDword_Bytes(number);
    return Value_Write(key, valueName, kind, bytes.data(), bytes.size());
}

// Binary data is bytes, not text: the string's bytes are stored as they are.
LONG Registry_SetBinaryValue(HKEY key, const std::string& valueName, std::int32_t kind, const std::string& text) {
    return Value_Write(key, valueName, kind, text.data(), text.size());
}
