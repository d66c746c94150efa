// Shared set-up of the end-to-end tests: a copy of the real Uninstall.exe in a scratch folder
// with its data file, the sentinels that no run may touch, and the process's boxes and window.
#pragma once

#include "EntrySet.h"
#include "WinTest.h"

#include <gtest/gtest.h>

#include <string>

constexpr std::int32_t E2eHKLM = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t E2eHKCU = static_cast<std::int32_t>(0x80000001u);

class UninstallE2e : public ::testing::Test {
protected:
    // name: the scratch folder and key, unique per test.
    explicit UninstallE2e(const std::string& name);
    ~UninstallE2e() override;

    const std::string& Root() const { return dir_.Path(); }         // the scratch folder, with "\"
    std::string AppDir() const { return Root() + "App\\"; }          // holds Uninstall.exe
    std::string DataFile() const { return AppDir() + "Uninstall.dat"; }
    std::string Tree() const { return Root() + "Tree\\"; }          // installed files go below it
    const std::string& Key() const { return key_.Path(); }           // HKLM and HKCU

    void WriteDataFile(const EntrySet& set);
    // Starts the copy; its current directory is elsewhere, so that only its own folder counts.
    wintest::Process Start();
    // The form's window of the process, visible or not.
    HWND MainWindow(DWORD processId);
    // The process shows no further box and ends with exit code 0.
    void ExpectEndsQuietly(wintest::Process& p);
    // The unlisted folders and keys that every run must leave in place.
    void ExpectSentinelsIntact();

private:
    wintest::ScratchDir dir_;
    wintest::ScratchKey key_;
};

FileRecord E2eFile(const std::string& path, bool keep = false);
