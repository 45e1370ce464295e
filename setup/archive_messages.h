#pragma once
// The archive reader's failure texts, through one lookup from its message numbers (the status
// values, plus a few of its own) to string ids; a number without an id gives an empty text.
#include <cstdint>
#include <string>

enum ArchiveMessageNumber : int {
    // 3 to 14: the status values of the same meaning (see ArchiveStatus).
    kArchiveDamagedEntry = 100,
    kArchiveUnsafeName = 101,
    kArchiveCannotDelete = 102,
};

// The string id of a message number; 0 when it has none.
unsigned ArchiveMessageId(int number);
// The text of a message number with the path or name it is about.
std::string ArchiveMessage(int number, const std::string& subject);
// Not enough room for a file: the file, its folder, the space needed and the space available.
std::string NoSpaceMessage(const std::string& file, const std::string& folder, uint64_t needed, uint64_t available);
