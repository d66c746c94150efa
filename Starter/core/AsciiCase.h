// Letter-case folding for the Starter's fixed keywords ("lau", "%systemroot%", ".EXE"): ASCII
// only, so that the user's locale can never change what a keyword matches.
#pragma once

#include <string>

inline char Ascii_ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Ascii_ToLower(std::string text) {
    for (char& c : text) c = Ascii_ToLower(c);
    return text;
}
