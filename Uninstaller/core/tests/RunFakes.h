// The interaction and the rest of the machine for runs on a MemoryDisk: what the run told is
// recorded as lines, the answers are the test's, and the registry and shortcuts are sets.
#pragma once

#include "UninstallSteps.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class RecordingInteraction : public RunInteraction {
public:
    std::vector<std::string> Lines;
    bool ConfirmAnswer = true;
    // Asked for each Retry/Cancel box with its text; true means Retry. Cancel when unset.
    std::function<bool(const std::string&)> RetryAnswer;

    bool Confirm(const std::string& question) override {
        Lines.push_back("question: " + question);
        return ConfirmAnswer;
    }
    bool RetryDeletion(const std::string& text) override {
        Lines.push_back("retry or cancel: " + text);
        return RetryAnswer && RetryAnswer(text);
    }
    void Tell(MessageKind kind, const std::string& text) override {
        Lines.push_back((kind == MessageKind::Problem ? "problem: " : "information: ") + text);
    }
    void WorkBegins() override { Lines.push_back("window shown"); }
    void WorkEnds() override { Lines.push_back("window hidden"); }
    void DataFileNamed(const std::string& path) override { Lines.push_back("data file " + path); }
    void RemovalBegins(const EntrySet&) override { Lines.push_back("removal begins"); }
    void FileDone(const std::string& path, FileFate fate, std::uint32_t error) override {
        static const char* const fates[] = {"removed", "not there", "kept", "skipped", "stayed"};
        Lines.push_back("file " + path + ": " + fates[static_cast<int>(fate)] + (error ? " " + std::to_string(error) : ""));
    }
    void PatternMatchRemoved(const std::string& pattern, const std::string& file) override {
        Lines.push_back("pattern " + pattern + " removed " + file);
    }
    void Note(const std::string& text, std::uint32_t error) override {
        Lines.push_back("note: " + text + (error ? " " + std::to_string(error) : ""));
    }
    void KeyDone(std::uint32_t root, const std::string& keyPath, std::int32_t result) override {
        Lines.push_back("key " + std::to_string(root) + " " + keyPath + ": " + std::to_string(result));
    }
    void ShortcutDone(const std::string& folder, const std::string& linkName, std::uint32_t result) override {
        Lines.push_back("shortcut " + folder + "|" + linkName + ": " + std::to_string(result));
    }

    // The index of the first line that starts with prefix; Lines.size() when none does.
    std::size_t IndexOf(const std::string& prefix) const {
        for (std::size_t i = 0; i < Lines.size(); ++i)
            if (Lines[i].rfind(prefix, 0) == 0) return i;
        return Lines.size();
    }
};

class MemoryPlatform : public RunPlatform {
public:
    EntrySet DataFile;  // what reading the data file gives
    InstallFileRead ReadOutcome = InstallFileRead::Read;
    std::set<std::pair<std::uint32_t, std::string>> Keys;  // with trailing "\"
    std::set<std::string> Shortcuts;                        // "folder|link"
    std::map<std::string, std::string> Targets;             // "folder|link" to where it leads
    std::map<std::string, std::uint32_t> Stuck;             // "folder|link" that stays, and why
    std::vector<std::string> Closed;                         // the files ClosePrograms was given

    InstallFileRead ReadDataFile(const std::string&, EntrySet& set) override {
        if (ReadOutcome == InstallFileRead::Read) set = DataFile;
        return ReadOutcome;
    }
    void ClosePrograms(const std::vector<FileRecord>& files) override {
        for (const auto& f : files) Closed.push_back(f.FilePath);
    }
    // The registry and the shell read a text up to its first NUL, as the system does.
    std::int32_t DeleteKey(std::uint32_t root, const std::string& keyPath) override {
        std::string read = keyPath.substr(0, keyPath.find('\0'));
        if (read.empty() || read.back() != '\\') read += '\\';
        return Keys.erase({root, read}) ? 0 : 2;
    }
    std::uint32_t RemoveShortcut(const std::string& folder, const std::string& linkName) override {
        const std::string key = folder + "|" + linkName.substr(0, linkName.find('\0'));
        if (!Shortcuts.count(key)) return DiskError::FileNotFound;
        if (Stuck.count(key)) return Stuck[key];
        Shortcuts.erase(key);
        return 0;
    }
    std::uint32_t ShortcutTarget(const std::string& folder, const std::string& linkName, std::string& target) override {
        const std::string key = folder + "|" + linkName;
        if (linkName.empty()) return DiskError::InvalidName;
        if (!Shortcuts.count(key)) return DiskError::FileNotFound;
        target = Targets[key];
        return 0;
    }
    std::string ProgramsFolder() override { return "C:\\Users\\u\\Start Menu\\Programs\\"; }
};
