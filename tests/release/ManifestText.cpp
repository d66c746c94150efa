// Reads an application manifest's common-controls dependency, execution level and DPI awareness.
#include "ManifestText.h"

#include <algorithm>
#include <cctype>

namespace {

struct Tag {
    std::string name;        // local name, namespace prefix removed
    std::string attributes;  // everything between the name and the closing ">"
    std::string text;        // character data up to the next tag
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(std::string_view s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return std::string(s.substr(begin, end - begin));
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string WithoutComments(std::string_view xml) {
    std::string out;
    size_t at = 0;
    while (at < xml.size()) {
        size_t open = xml.find("<!--", at);
        if (open == std::string_view::npos) break;
        out.append(xml.substr(at, open - at));
        size_t close = xml.find("-->", open + 4);
        if (close == std::string_view::npos) return out;  // an unclosed comment runs to the end
        at = close + 3;
    }
    if (at < xml.size()) out.append(xml.substr(at));
    return out;
}

// Start tags (and empty-element tags) in document order; end tags, declarations and processing
// instructions are passed over.
std::vector<Tag> StartTags(const std::string& xml) {
    std::vector<Tag> tags;
    size_t at = 0;
    while ((at = xml.find('<', at)) != std::string::npos) {
        size_t close = xml.find('>', at);
        if (close == std::string::npos) break;
        const char first = at + 1 < xml.size() ? xml[at + 1] : '>';
        if (first != '/' && first != '!' && first != '?') {
            size_t nameEnd = at + 1;
            while (nameEnd < close && !IsBlank(xml[nameEnd]) && xml[nameEnd] != '/') ++nameEnd;
            Tag tag;
            tag.name = xml.substr(at + 1, nameEnd - at - 1);
            const size_t colon = tag.name.find(':');
            if (colon != std::string::npos) tag.name.erase(0, colon + 1);
            tag.attributes = xml.substr(nameEnd, close - nameEnd);
            const size_t next = xml.find('<', close);
            tag.text = Trim(std::string_view(xml).substr(close + 1, (next == std::string::npos ? xml.size() : next) - close - 1));
            tags.push_back(std::move(tag));
        }
        at = close + 1;
    }
    return tags;
}

// The value of attribute name (without a namespace prefix), in double or single quotes.
std::string Attribute(const std::string& attributes, const std::string& name) {
    size_t at = 0;
    while ((at = attributes.find(name, at)) != std::string::npos) {
        const bool startsName = at == 0 || IsBlank(attributes[at - 1]);
        size_t eq = at + name.size();
        while (eq < attributes.size() && IsBlank(attributes[eq])) ++eq;
        if (startsName && eq < attributes.size() && attributes[eq] == '=') {
            size_t quote = eq + 1;
            while (quote < attributes.size() && IsBlank(attributes[quote])) ++quote;
            if (quote < attributes.size() && (attributes[quote] == '"' || attributes[quote] == '\'')) {
                const size_t end = attributes.find(attributes[quote], quote + 1);
                if (end != std::string::npos) return attributes.substr(quote + 1, end - quote - 1);
            }
        }
        at += name.size();
    }
    return "";
}

}  // namespace

ManifestSettings Manifest_Read(std::string_view xml) {
    ManifestSettings settings;
    for (const Tag& tag : StartTags(WithoutComments(xml))) {
        if (tag.name == "assemblyIdentity" && Attribute(tag.attributes, "name") == "Microsoft.Windows.Common-Controls")
            settings.commonControlsVersion = Attribute(tag.attributes, "version");
        else if (tag.name == "requestedExecutionLevel")
            settings.executionLevels.push_back(Attribute(tag.attributes, "level"));
        else if (tag.name == "dpiAware")
            settings.dpiAware.push_back(tag.text);
    }
    return settings;
}

bool DpiAware_IsOn(const std::string& text) {
    const std::string t = Lower(Trim(text));
    return t == "true" || t == "true/pm" || t == "per monitor";
}
