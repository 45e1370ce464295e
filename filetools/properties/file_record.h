#pragma once
// The file information record: the texts and numbers one listed file shows in the columns of
// the explorer's report, the finder's results and the system lists.
#include <cstdint>
#include <string>

#include "app/folder_listing.h"

struct FileRecord {
    std::string path;           // full path
    std::string version;        // "FileVersion", else "ProductVersion"; empty without version information
    std::string folder;         // folder part of the path with its trailing "\"
    std::string sizeText;       // short size form ("1 Kb" for 0 bytes)
    std::string typeName;       // the shell's type name ("Unknown" when it has none)
    std::string attributes;     // "RHAS" order, each letter only when set; empty without version information
    std::string modifiedText;   // "%m/%d/%Y %I:%M %p", local time
    uint64_t byteSize = 0;      // for sorting
    FileStamp modified = 0;     // for sorting
    std::string productName;    // "ProductName", else "ProductVersion"; empty without version information
    int iconIndex = -1;         // set by the list that shows the record
};

// Fills or refills `record` for `path`. The finder builds records without version information
// (no version, product name or attribute texts: cheaper for thousands of results); the
// explorer's report builds them with it. A file that cannot be read keeps zero size and time.
void BuildFileRecord(FileRecord& record, const std::string& path, bool withoutVersion);

// Attribute letters of FolderEntryAttribute bits: "R", "H", "A", "S" in that order (records),
// and the variant "R", "A", "H", "S" of the system tools' file lists.
std::string AttributesText(uint32_t attributes);
std::string AttributesTextRAHS(uint32_t attributes);

// A file stamp in local time with a strftime format; empty for an unknown (0) stamp.
std::string FormatLocalStamp(FileStamp stamp, const char* format);
// "%m/%d/%Y %I:%M %p" of the record's modified column.
std::string ModifiedText(FileStamp stamp);
