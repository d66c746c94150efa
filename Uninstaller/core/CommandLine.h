// Uninstall.exe's command line, for administrators and scripts: with no switches the program
// runs as it always has, asking the user; the switches never change what a run removes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The process's exit code; a script reads the run's outcome from it alone.
enum class RunOutcome : int {
    AllRemoved = 0,          // everything listed was removed (also after /?)
    UserSaidNo = 1,          // the question was answered No
    DataFileProblem = 2,     // Uninstall.dat missing, unreadable or invalid
    FileStayed = 3,          // the run finished, but at least one file stayed
    CommandLineRefused = 4,  // not understood, or the log cannot be opened: nothing removed
};

struct UninstallOptions {
    bool Silent = false;      // /S: no window, no message box
    bool ShowUsage = false;   // /?
    std::string LogPath;      // /LOG=<file>; empty without /LOG
    bool Understood = true;
    std::string Refused;      // the argument that was not understood
};

// The arguments of a command line as the Windows C runtime splits it: the program name first
// (quotes group, no escapes), then blanks separate unless quoted, and backslashes escape a
// quote only when they come right before it.
std::vector<std::string> CommandLine_Split(std::string_view commandLine);

// The options of a whole command line, program name first. Switch names ignore case.
UninstallOptions CommandLine_Parse(std::string_view commandLine);

// The usage text shown by /? and when the command line is not understood.
extern const char* const Text_Usage;
// The line put above the usage when an argument was not understood.
std::string Text_NotUnderstood(const std::string& argument);
// The line put above the usage when the log file cannot be opened.
std::string Text_LogNotOpened(const std::string& path, const std::string& reason);
