// The one place where the programs' text (UTF-8 in std::string) meets the system's: every Win32
// call takes the wide ("W") form and converts here, so a folder or user name in any script
// reaches the system unchanged instead of as "?".
#pragma once

#include "Win32.h"

#include <cstddef>
#include <string>

// UTF-8 to UTF-16 for a W function; a byte that is no valid UTF-8 becomes U+FFFD.
std::wstring Wide_FromText(const std::string& text);
// UTF-16 from a W function to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Text_FromWide(const wchar_t* wide, std::size_t length);
std::string Text_FromWide(const std::wstring& wide);
// A NUL-terminated wide buffer (all of it when there is no NUL within size) to UTF-8.
std::string Text_FromWideBuffer(const wchar_t* buffer, std::size_t size);

// Bytes in the system's ANSI code page, as installers write the data file's texts, to UTF-8.
std::string Text_FromAnsi(const std::string& bytes);
// UTF-8 to the system's ANSI code page (for data files written back in their own encoding);
// characters the code page lacks become its default character.
std::string Ansi_FromText(const std::string& text);

// The running program's full path, of any length.
std::string Module_GetPath();
// The full path of the image file a process runs (a handle with query rights); "" on failure.
std::string Process_GetImagePath(HANDLE process);

// A modal message box; returns the button pressed (0 when the box could not be shown).
int MessageBox_Show(HWND owner, const std::string& text, const std::string& title, UINT style);

// The system's text for an error code (no trailing line end), e.g. "Access is denied.".
std::string SystemError_Text(DWORD error);
