// The installfile tool's file access: whole files in, whole files out, and every failure as a
// message that names the file and gives the system's reason.
#pragma once

#include <string>

// Reads the whole file at path as raw bytes; "-" reads standard input, in binary mode on
// Windows too, so that CR LF and byte 0x1A come through as they are.
bool ToolFile_ReadAll(const std::string& path, std::string& bytes, std::string& error);

// Writes bytes to a new file beside path and renames it over path only once every byte is on
// disk: a failed write leaves an existing file at path exactly as it was, and no partial file.
bool ToolFile_Replace(const std::string& path, const std::string& bytes, std::string& error);

// Writes bytes to standard output unchanged (no CR added on Windows).
bool ToolStdout_Write(const std::string& bytes, std::string& error);
