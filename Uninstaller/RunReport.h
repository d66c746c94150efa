// The run's account of itself: the log an administrator asked for and the progress the window
// shows. A process makes one run, so there is one report, started before the run and written
// through these functions by the run's interaction; without a start they record nothing.
#pragma once

#include "CommandLine.h"
#include "EntrySet.h"
#include "RunInteraction.h"
#include "Win32.h"

#include <cstdint>
#include <string>

// Takes the options of the run; opens the log for appending when one was asked for. False, with
// the system's reason, when the log cannot be opened.
bool RunReport_Start(const UninstallOptions& options, std::string& error);
// The control that shows how many records are done; posted to, so any thread may report.
void RunReport_SetProgressBar(HWND bar);

// A message box outside the run (the command line's); one that reports a problem goes into the
// log as well.
int RunReport_Box(HWND owner, const std::string& text, const std::string& title, UINT style);
// A problem told to the user (or, in a silent run, to no one): the log keeps it.
void RunReport_Message(const std::string& text);

void RunReport_DataFile(const std::string& path);
// The removal starts on these records: the progress bar counts each key, file and shortcut.
void RunReport_RemovalBegins(const EntrySet& entries);
void RunReport_File(const std::string& path, FileFate fate, DWORD error = 0);
// result is what the registry said (ERROR_SUCCESS: deleted).
void RunReport_Key(std::uint32_t root, const std::string& keyPath, LONG result);
// One file a pattern record removed.
void RunReport_PatternMatch(const std::string& pattern, const std::string& file);
// A listed shortcut, after its removal was tried: 0 removed, ERROR_FILE_NOT_FOUND not there,
// any other the reason it stayed.
void RunReport_Shortcut(const std::string& folder, const std::string& linkName, DWORD result);
// A line of the run's own, with the system's text for error when it is not 0.
void RunReport_Note(const std::string& text, DWORD error);
// The last line of the log; the progress bar shows every record done.
void RunReport_Finish(RunOutcome outcome);
