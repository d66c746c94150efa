// The guard of the directory pass's one broad deletion: the remaining files of the
// application directory.
#pragma once

#include <string>

// Case-insensitive (ASCII letters) equality of two directory paths, each taken with a
// trailing "\".
bool Directory_SameText(const std::string& a, const std::string& b);

// Whether listedDir (as the directory pass holds it) is the directory of appFile.
bool Directory_IsAppDir(const std::string& listedDir, const std::string& appFile);

// Whether the files of fullDir (its absolute, normalised form) may be wiped: it must be an
// absolute drive or share path without "." or ".." levels, not a drive or share root, and not
// the Windows directory, the system directory or anything below either of them. With a Windows
// or system directory that is not itself absolute, nothing may be wiped.
bool Directory_MayBeWiped(const std::string& fullDir, const std::string& windowsDir, const std::string& systemDir);
