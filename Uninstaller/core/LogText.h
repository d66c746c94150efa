// Texts from a data file as the log writes them: one log line stays one line, whatever a record
// holds, and the line can be read back to the exact text.
#pragma once

#include <string>

// The text with every character that would break or hide a line written visibly: "<NUL>",
// "<TAB>", "<LF>", "<CR>", "<0xHH>" for the other bytes below 0x20 and for 0x7F, "<U+HHHH>" for
// the C1 controls (U+0080-U+009F) and the line and paragraph separators (U+2028, U+2029), and a
// literal "<" doubled as "<<". Read from the left, "<<" is "<" and any other "<...>" is one of
// the escapes, so no text can pass for another. Bytes that are no valid UTF-8 are written as
// "<0xHH>" too.
std::string LogText_Escape(const std::string& text);
