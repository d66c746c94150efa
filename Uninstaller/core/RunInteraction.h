// What an uninstall run asks and tells: the question, the Retry/Cancel box, the other messages,
// the window that asks the user to wait, the progress and the log. A run with a window, a
// silent run (/S) and the tests each answer it their own way; the run never shows anything
// itself.
#pragma once

#include "EntrySet.h"

#include <cstdint>
#include <string>

// Stayed: the file is there but could not be looked at or was never tried (its record was
// refused, or its attributes or identity could not be read); it counts as a file not removed.
enum class FileFate { Removed, NotThere, Kept, Skipped, Stayed };

enum class MessageKind {
    Problem,      // exclamation icon; the log keeps it too
    Information,  // information icon
};

class RunInteraction {
public:
    virtual ~RunInteraction() = default;

    // The question before anything is removed (Yes and No); true for Yes.
    virtual bool Confirm(const std::string& question) = 0;
    // A listed file is still there after its deletion (Retry and Cancel): true to try again,
    // false to skip it.
    virtual bool RetryDeletion(const std::string& text) = 0;
    // A message with an OK button only.
    virtual void Tell(MessageKind kind, const std::string& text) = 0;

    // The window that asks the user to wait: shown once the data file is found, and hidden,
    // after a last look, before the final message.
    virtual void WorkBegins() = 0;
    virtual void WorkEnds() = 0;

    // The log and the progress, told as the run goes.
    virtual void DataFileNamed(const std::string& path) = 0;
    // The progress counts each listed key, file and shortcut of entries.
    virtual void RemovalBegins(const EntrySet& entries) = 0;
    // error: the system's reason for Skipped and Stayed, 0 when there is none.
    virtual void FileDone(const std::string& path, FileFate fate, std::uint32_t error) = 0;
    // One file a pattern record removed (the record itself is told by FileDone).
    virtual void PatternMatchRemoved(const std::string& pattern, const std::string& file) = 0;
    // result is the registry's answer (0: deleted, 2: not there, any other: the error).
    virtual void KeyDone(std::uint32_t root, const std::string& keyPath, std::int32_t result) = 0;
    // result: 0 removed, DiskError::FileNotFound not there, any other the reason it stayed.
    virtual void ShortcutDone(const std::string& folder, const std::string& linkName, std::uint32_t result) = 0;
    // A line for the log alone, with the system's text for error appended when it is not 0.
    virtual void Note(const std::string& text, std::uint32_t error) = 0;
};
