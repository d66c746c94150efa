// Helpers of the launch tests: stand-in programs planted where a test needs them, their start
// log, and guards that give back the registry values and current directory a test changes.
#pragma once

#include "WinTest.h"

#include <string>
#include <vector>

// The stand-in copied to path (missing directories created); removed again on destruction.
class PlantedProgram {
public:
    explicit PlantedProgram(std::string path, bool emptyFile = false);
    ~PlantedProgram();
    PlantedProgram(const PlantedProgram&) = delete;
    PlantedProgram& operator=(const PlantedProgram&) = delete;
    const std::string& Path() const { return path_; }
    std::string LogPath() const;  // standin.log beside it

private:
    std::string path_;
};

// One "start|exe|cwd|command line" line of a stand-in's log.
struct StartRecord {
    std::string exe, directory, commandLine;
};
std::vector<StartRecord> StartLog_Read(const std::string& logPath);
// Waits until the log holds at least count start lines; returns what it holds then.
std::vector<StartRecord> StartLog_WaitFor(const std::string& logPath, std::size_t count = 1, int timeoutMs = 10000);
bool TextContains(const std::string& text, const std::string& part);

// Restores the default value of a key under HKEY_CLASSES_ROOT (or removes it when it had none)
// and removes the listed keys, before and after a test.
class ClassesRootGuard {
public:
    ClassesRootGuard(std::string keyWithDefault, std::vector<std::string> scratchKeys);
    ~ClassesRootGuard();
    ClassesRootGuard(const ClassesRootGuard&) = delete;
    ClassesRootGuard& operator=(const ClassesRootGuard&) = delete;

private:
    std::string key_;
    std::vector<std::string> scratch_;
    bool had_ = false;
    DWORD type_ = 0;
    std::string data_;
};
void ClassesRoot_SetDefault(const std::string& key, const std::string& text);

// Sets the current directory for the test and brings back the one before afterwards.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const std::string& directory);
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::string before_;
};
std::string CurrentDirectory_Get();  // as the platform gives it, without a trailing "\"

// Closes every top-level window with this title (Vembrol stand-ins a test started).
void Windows_CloseTitled(const char* title);
