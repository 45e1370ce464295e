#pragma once
// What the file system says about one file: the platform adapter under the file information
// record and the properties dialog (file_facts_win.cpp: GetFileAttributesEx; file_facts_native.cpp:
// stat, for tests on the build machine).
#include <cstdint>
#include <string>

#include "app/folder_listing.h"

struct FileFacts {
    uint64_t size = 0;
    FileStamp created = 0;
    FileStamp lastAccess = 0;
    FileStamp lastWrite = 0;
    uint32_t attributes = 0; // FolderEntryAttribute bits (Windows FILE_ATTRIBUTE_* values)
};

// False when the path names nothing readable; `facts` is then left as it was.
bool ReadFileFacts(const std::string& path, FileFacts& facts);
