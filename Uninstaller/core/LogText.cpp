// The log's escaping of record texts.
#include "LogText.h"

#include <cstdio>

namespace {

std::string Hex(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The length of a valid UTF-8 sequence starting at i (shortest form, no surrogates, at most
// U+10FFFF); 0 when the bytes there are none.
std::size_t Utf8_SequenceLength(const std::string& text, std::size_t i, unsigned& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    std::size_t length;
    if (lead < 0x80) length = 1, codePoint = lead;
    else if (lead >= 0xC2 && lead <= 0xDF) length = 2, codePoint = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, codePoint = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, codePoint = lead & 0x07u;
    else return 0;
    if (text.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3Fu);
    }
    static constexpr unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::string LogText_Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned codePoint = 0;
        const std::size_t length = Utf8_SequenceLength(text, i, codePoint);
        if (length == 0) {
            out += Hex("<0x%02X>", static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        switch (codePoint) {
            case 0x00: out += "<NUL>"; break;
            case 0x09: out += "<TAB>"; break;
            case 0x0A: out += "<LF>"; break;
            case 0x0D: out += "<CR>"; break;
            case '<': out += "<<"; break;
            default:
                if (codePoint < 0x20 || codePoint == 0x7F) out += Hex("<0x%02X>", codePoint);
                else if ((codePoint >= 0x80 && codePoint <= 0x9F) || codePoint == 0x2028 || codePoint == 0x2029)
                    out += Hex("<U+%04X>", codePoint);
                else out.append(text, i, length);
        }
        i += length;
    }
    return out;
}
