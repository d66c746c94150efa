// The plain-text form of a data file used by the installfile tool (described in README.md,
// "The data file tool, for installer authors").
#pragma once

#include "EntrySet.h"

#include <string>
#include <string_view>

// The text of set in canonical form: the info line, then file, regkey and shortcut lines in
// list order, each line ending with "\n".
std::string InstallFileText_Print(const EntrySet& set);

// Reads a text into set. On a malformed line returns false with error naming the line.
bool InstallFileText_Parse(std::string_view text, EntrySet& set, std::string& error);
