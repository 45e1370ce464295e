#pragma once
// The setup stub's own small ZIP reader: the directory of an archive held in memory, and every
// member extracted below a folder.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "setup/zip_records.h"

struct StubEntry {
    ZipCentralHeader header;
    std::string name;
};

struct StubDirectory {
    std::vector<StubEntry> entries;
    uint64_t totalSize = 0;
    bool anyEncrypted = false;
};

// The files the stub writes. The program's are Windows'; tests give their own.
class StubFiles {
public:
    virtual ~StubFiles() = default;
    // Creates every missing folder of the path's folder part, one level after another.
    virtual bool CreateFoldersOf(const std::string& path) = 0;
    // Writes the file whole (a new file beside it replaces it), or leaves nothing.
    virtual bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) = 0;
};

// The directory; false when the archive has no end record or a damaged central directory.
bool ReadStubDirectory(std::span<const uint8_t> archive, StubDirectory& directory);

// Extracts every member below `folder` ("/" in names becomes "\"); members of size 0 (folders,
// empty files) are skipped. A member that fails (damaged data, a method other than stored or
// deflated, encryption, a name reaching outside the folder) is left out and the others are still
// tried. Returns the path of the last file written, empty when none was.
std::string ExtractStubArchive(std::span<const uint8_t> archive, const std::string& folder, StubFiles& files);

// "%s%s" when a ends with "\", else "%s\%s"; a leading "\" of b is dropped; an empty side gives
// the other.
std::string JoinStubPath(const std::string& a, const std::string& b);
