// The InstallFile byte format of Uninstall.dat: reading from and writing to bytes, no IO.
#pragma once

#include "EntrySet.h"
#include "LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>


enum class InstallFileStatus {
    Valid,
    WrongMagic,       // shorter than 11 bytes, or not starting with "InstallFile"
    RecordCutShort,   // the data ends inside a record
    NegativeCount,    // a text's byte count below 0
    CountBeyondData,  // a text's byte count larger than the bytes left
    TooManyRecords,   // more than 32767 records of one kind
};

struct InstallFileParse {
    InstallFileStatus Status = InstallFileStatus::Valid;
    std::size_t Offset = 0;  // where the problem was found
};

// Reads a data file's bytes into set. The three lists are emptied first; only a valid file
// fills them and, through its kind-1 records, the InfoRecord. An invalid file leaves the
// lists empty and the InfoRecord as it was, since nothing of a damaged file may be acted on.
InstallFileParse InstallFile_Parse(std::string_view bytes, EntrySet& set);

const char* InstallFileStatus_Describe(InstallFileStatus status);

// The data file for set: magic and line end, the InfoRecord, then all file, registry-key and
// shortcut records in that order. False (out untouched) when the reader would refuse the
// result: a list over 32767 records or a text of more than 2^31-1 bytes.
bool InstallFile_ToBytes(const EntrySet& set, std::string& out);
