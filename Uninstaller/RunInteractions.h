// The two ways a run on this machine asks and tells: through the window and its message boxes,
// or silently (/S). Both keep the log and the progress through RunReport.
#pragma once

#include "Mfrm.h"
#include "RunInteraction.h"

// The log and the progress, the same in both kinds of run.
class ReportedInteraction : public RunInteraction {
public:
    void DataFileNamed(const std::string& path) override;
    void RemovalBegins(const EntrySet& entries) override;
    void FileDone(const std::string& path, FileFate fate, std::uint32_t error) override;
    void KeyDone(std::uint32_t root, const std::string& keyPath, std::int32_t result) override;
    void PatternMatchRemoved(const std::string& pattern, const std::string& file) override;
    void ShortcutDone(const std::string& folder, const std::string& linkName, std::uint32_t result) override;
    void Note(const std::string& text, std::uint32_t error) override;
};

// Every box and every change of the window happens on the window's thread, and the run waits
// there for the answer; boxes are owned by the window while it shows.
class WindowInteraction : public ReportedInteraction {
public:
    explicit WindowInteraction(Mfrm& form) : form_(form) {}
    bool Confirm(const std::string& question) override;
    bool RetryDeletion(const std::string& text) override;
    void Tell(MessageKind kind, const std::string& text) override;
    void WorkBegins() override;
    void WorkEnds() override;

private:
    int Box(const std::string& text, UINT style);

    Mfrm& form_;
    bool shown_ = false;  // touched on the window's thread only
};

// Nobody to ask: the question counts as Yes, a file that stays is skipped as with Cancel, and
// messages only reach the log.
class SilentInteraction : public ReportedInteraction {
public:
    bool Confirm(const std::string& question) override;
    bool RetryDeletion(const std::string& text) override;
    void Tell(MessageKind kind, const std::string& text) override;
    void WorkBegins() override {}
    void WorkEnds() override {}
};
