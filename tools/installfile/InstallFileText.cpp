// Text form of the data file: one record a line, fields separated by "|", and "^HH" for a
// byte that would otherwise break the line apart.
#include "InstallFileText.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct RootName {
    const char* name;
    std::uint32_t value;
};
const RootName kRoots[] = {
    {"HKCR", 0x80000000u}, {"HKCU", 0x80000001u}, {"HKLM", 0x80000002u}, {"HKU", 0x80000003u}};

const char kHex[] = "0123456789ABCDEF";

std::string Escaped(const std::string& field) {
    std::string out;
    out.reserve(field.size());
    for (char ch : field) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || c == '|' || c == '^') {
            out += '^';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(std::string_view field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '^') {
            out += field[i];
            continue;
        }
        int hi = i + 1 < field.size() ? HexValue(field[i + 1]) : -1;
        int lo = i + 2 < field.size() ? HexValue(field[i + 2]) : -1;
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

std::string RootText(std::int32_t root) {
    auto u = static_cast<std::uint32_t>(root);
    for (const auto& r : kRoots)
        if (r.value == u) return r.name;
    char buf[16];
    std::snprintf(buf, sizeof(buf), "0x%08X", static_cast<unsigned>(u));
    return buf;
}

bool ParseRoot(const std::string& text, std::int32_t& root) {
    for (const auto& r : kRoots)
        if (text == r.name) {
            root = static_cast<std::int32_t>(r.value);
            return true;
        }
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    std::uint32_t u = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        int v = HexValue(text[i]);
        if (v < 0) return false;
        u = u * 16 + static_cast<std::uint32_t>(v);
    }
    root = static_cast<std::int32_t>(u);
    return true;
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) return fields;
        start = bar + 1;
    }
}

bool ParseLine(std::string_view line, EntrySet& set, std::string& why) {
    std::vector<std::string_view> raw = Split(line);
    std::string kind(raw[0]);
    std::vector<std::string> f(raw.size());
    for (std::size_t i = 1; i < raw.size(); ++i)
        if (!Unescape(raw[i], f[i])) {
            why = "field " + std::to_string(i) + " has a \"^\" not followed by two hex digits";
            return false;
        }
    auto fieldCount = [&](std::size_t n) {
        if (raw.size() == n + 1) return true;
        why = "\"" + kind + "\" takes " + std::to_string(n) + " fields, found " + std::to_string(raw.size() - 1);
        return false;
    };
    if (kind == "info") {
        if (!fieldCount(4)) return false;
        set.Info = {f[1], f[2], f[3], f[4]};
    } else if (kind == "file") {
        const bool kept = raw.size() == 4;
        if (kept && f[3] != "keep") {
            why = "the third field of \"file\" is \"keep\" or absent";
            return false;
        }
        if (!kept && !fieldCount(2)) return false;
        set.Files.push_back({f[1], f[2], kept ? BooleanTrue : BooleanFalse});
    } else if (kind == "regkey") {
        if (!fieldCount(4)) return false;
        RegKeyRecord k;
        if (!ParseRoot(f[1], k.RootKey)) {
            why = "root key \"" + f[1] + "\" is none of HKCR, HKCU, HKLM, HKU or 0x followed by 1 to 8 hex digits";
            return false;
        }
        k.KeyPath = f[2];
        k.ExtraText1 = f[3];
        k.ExtraText2 = f[4];
        set.RegKeys.push_back(std::move(k));
    } else if (kind == "shortcut") {
        if (!fieldCount(3)) return false;
        set.Shortcuts.push_back({f[1], f[2], f[3]});
    } else {
        why = "unknown record kind \"" + kind + "\"";
        return false;
    }
    return true;
}

}  // namespace

std::string InstallFileText_Print(const EntrySet& set) {
    std::string out;
    const InfoRecord& i = set.Info;
    out += "info|" + Escaped(i.ExtraPath) + "|" + Escaped(i.AppName) + "|" + Escaped(i.AppFile) + "|" +
           Escaped(i.GroupFolder) + "\n";
    for (const auto& f : set.Files)
        out += "file|" + Escaped(f.ExtraPath) + "|" + Escaped(f.FilePath) + (f.Keep != 0 ? "|keep" : "") + "\n";
    for (const auto& k : set.RegKeys)
        out += "regkey|" + RootText(k.RootKey) + "|" + Escaped(k.KeyPath) + "|" + Escaped(k.ExtraText1) + "|" +
               Escaped(k.ExtraText2) + "\n";
    for (const auto& s : set.Shortcuts)
        out += "shortcut|" + Escaped(s.Folder) + "|" + Escaped(s.LinkName) + "|" + Escaped(s.ExtraPath) + "\n";
    return out;
}

bool InstallFileText_Parse(std::string_view text, EntrySet& set, std::string& error) {
    EntrySet parsed;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        // Editors on Windows end lines with CR LF; a CR inside a field is always written "^0D".
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        std::string why;
        if (!ParseLine(line, parsed, why)) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    set = std::move(parsed);
    return true;
}
