// How the Starter turns a stored command into a process: which program it names, where a program
// named without a folder is looked for, and a command line that hands every argument over whole.
// Portable: whether a file exists is asked of the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct StartCommand {
    std::string Program;    // as the command names it, without its quotes; not yet looked up
    std::string Arguments;  // the rest, unchanged, without the blanks that part it from the program
};

// The program of a command and its arguments. The program is the quoted part when the command
// starts with a quote; else the whole command when isFile says it names an existing file; else
// everything up to and with the first blank-delimited word that ends in ".exe" or ".com" (any
// case); else the first word. Blanks (spaces and tabs) around the command do not count. No
// shorter prefix and no appended ".exe" is ever tried: that guess is what runs a planted
// C:\data\My.exe for C:\data\My Player\player.exe.
StartCommand StartCommand_Split(const std::string& command, const std::function<bool(const std::string&)>& isFile);

// True when the program is named with a folder or a drive; only a bare name is looked up.
bool Program_HasFolder(const std::string& program);

// The folders a bare program name is looked up in, in order: the Starter's, the system folder, the
// Windows folder, then each entry of the PATH text (quotes removed). Entries that are not absolute
// (".", "bin") are dropped, as they would mean whatever folder happens to be current; empty
// directories are dropped too. Each folder ends with "\".
std::vector<std::string> ProgramSearch_Folders(const std::string& starterDir, const std::string& systemDir,
                                               const std::string& windowsDir, const std::string& pathVariable);

// One argument as a program splitting its command line by the usual rules reads it back: as it is
// when it is not empty and holds no blank, tab, line feed or quote; else in quotes, with a quote
// inside escaped and the backslashes before any quote, the closing one included, doubled.
std::string CommandLine_QuoteArgument(const std::string& argument);

// A command line whose first token is the program's path in quotes, then a blank and the
// arguments when there are any.
std::string CommandLine_Build(const std::string& programPath, const std::string& arguments);

// The arguments of a registered command with argument put in place of every "%1" or "%L" (any
// case), quoted so that it arrives as one argument, also where the registration already put
// quotes round the placeholder; appended after a blank when there is no placeholder.
std::string CommandArguments_Fill(const std::string& arguments, const std::string& argument);
