#pragma once
// The setup stub's files on Windows.
#include "setupstub/stub_archive.h"

class WinStubFiles final : public StubFiles {
public:
    bool CreateFoldersOf(const std::string& path) override;
    bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) override;
};
