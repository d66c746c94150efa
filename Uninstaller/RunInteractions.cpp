// The window's and the silent run's answers.
#include "RunInteractions.h"

#include "RunReport.h"
#include "UninstallTexts.h"
#include "WideText.h"

void ReportedInteraction::DataFileNamed(const std::string& path) { RunReport_DataFile(path); }
void ReportedInteraction::RemovalBegins(const EntrySet& entries) { RunReport_RemovalBegins(entries); }
void ReportedInteraction::FileDone(const std::string& path, FileFate fate, std::uint32_t error) {
    RunReport_File(path, fate, error);
}
void ReportedInteraction::KeyDone(std::uint32_t root, const std::string& keyPath, std::int32_t result) {
    RunReport_Key(root, keyPath, result);
}
void ReportedInteraction::PatternMatchRemoved(const std::string& pattern, const std::string& file) {
    RunReport_PatternMatch(pattern, file);
}
void ReportedInteraction::ShortcutDone(const std::string& folder, const std::string& linkName, std::uint32_t result) {
    RunReport_Shortcut(folder, linkName, result);
}
void ReportedInteraction::Note(const std::string& text, std::uint32_t error) { RunReport_Note(text, error); }

int WindowInteraction::Box(const std::string& text, UINT style) {
    int answer = 0;
    form_.OnWindowThread([&] { answer = MessageBox_Show(shown_ ? form_.Hwnd() : nullptr, text, UninstallTitle, style); });
    return answer;
}

bool WindowInteraction::Confirm(const std::string& question) { return Box(question, MB_YESNO | MB_ICONQUESTION) == IDYES; }

bool WindowInteraction::RetryDeletion(const std::string& text) {
    return Box(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

void WindowInteraction::Tell(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::Problem) RunReport_Message(text);
    Box(text, MB_OK | (kind == MessageKind::Problem ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

void WindowInteraction::WorkBegins() {
    form_.OnWindowThread([&] {
        form_.Show();
        shown_ = form_.Hwnd() != nullptr;
    });
}

void WindowInteraction::WorkEnds() {
    // The pause lets the user see the window once more; the run's thread waits, the window
    // keeps answering.
    if (form_.Hwnd()) Sleep(2000);
    form_.OnWindowThread([&] {
        form_.Hide();
        shown_ = false;
    });
}

bool SilentInteraction::Confirm(const std::string&) { return true; }
bool SilentInteraction::RetryDeletion(const std::string&) { return false; }
void SilentInteraction::Tell(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::Problem) RunReport_Message(text);
}
