// Which file or folder a path from a data file really names, and whether it stays inside the
// folder it is meant to stay in. The text of a path is not its identity: "/" and "\", doubled
// separators, "." and ".." and trailing dots all lead to the same place for the system.
#pragma once

#include <string>

// The path as the system resolves it before touching anything: "/" read as "\", doubled
// separators folded, "." dropped, ".." taking back one level (never above the drive or share
// root), one trailing dot dropped from an inner level, trailing dots and blanks dropped from the
// last one (but its trailing dots when it is a pattern with * or ?: "*." names the files without
// an extension). A trailing "\" stays. Only a path from a drive root ("C:\...") or a share
// ("\\server\share\...") names something; any other path gives "", and so does an inner level
// that would still end with a dot ("b..", "..."): the system would take another dot off each
// time the text is used, so the result would not be the folder it names.
std::string Path_Canonical(const std::string& path);

// The drive root ("C:\") or share root ("\\server\share\") that path starts from, ending with
// "\" and with "/" read as "\"; "" when path starts from no root (relative, "C:" alone, a
// device or raw "\\?\" path, "\\server" alone).
std::string Path_GetRoot(const std::string& path);
// The folder that holds path: the text up to and with its last "\"; "" when it has none.
std::string Path_GetParent(const std::string& path);

// The canonical path of relative taken inside folder (absolute), when it lies strictly below
// folder; "" when it is folder itself, lies elsewhere, or either names nothing. A ".." inside a
// name ("Tips...") is no climb; only a whole ".." level is.
std::string Path_StrictlyBelow(const std::string& folder, const std::string& relative);

// The system's ordinal comparison without regard to case (CompareStringOrdinal with ignore
// case, and how NTFS compares names): each UTF-16 unit upper-cased by one fixed table, with no
// locale, so that "Ärger.ini" and "ärger.ini" are one name and "ß" is no "SS".
char16_t Ordinal_Upper(char16_t unit);
// Whether two texts (UTF-8) are the same name or path for the file system and the registry.
bool Path_Equal(const std::string& a, const std::string& b);
// A key for maps and sets of paths: equal exactly when Path_Equal holds.
std::u16string Path_FoldCase(const std::string& path);

// Whether linkName can name a shortcut file "<linkName>.lnk" in its folder and nothing else:
// not empty, no separator, drive or stream colon, wildcard, control or other character that
// files cannot carry, and not made of dots and blanks only.
bool ShortcutName_IsValid(const std::string& linkName);
