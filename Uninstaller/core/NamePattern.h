// A listed pattern's last level against one long file name, as a Windows user reads the
// pattern: the directory search's own matching also tries each file's short 8.3 name, so that
// "*.htm" finds "page.html"; matching the long name here never widens a pattern.
#pragma once

#include <string>

// Whether name (one long file name, UTF-8) matches pattern (the last level of a listed pattern).
// "*" is any run of characters; "?" is one character, or none at the end of the name or before
// its last dot; "*.*" is every name; a "*" right before a dot never runs past the name's last
// dot, and a dot before "*", "?" or at the pattern's end also matches the end of a name without
// one, so "*." is every name without an extension. Letters compare as the system's ordinal
// comparison without regard to case. "." and ".." match nothing.
bool NamePattern_Matches(const std::string& pattern, const std::string& name);
