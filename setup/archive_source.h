#pragma once
// Where an archive's bytes come from: a file opened read-only, or a memory block the archive
// owns. Reads are positioned and never go past the end.
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `count` bytes at `position`; false when they are not all there.
    virtual bool ReadAt(uint64_t position, uint8_t* into, size_t count) = 0;

    // Null when the file cannot be opened.
    static std::unique_ptr<ArchiveSource> OpenFile(const std::string& path);
    static std::unique_ptr<ArchiveSource> FromMemory(std::vector<uint8_t> bytes);
};
