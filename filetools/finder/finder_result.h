#pragma once
// One result of the finder: the file information the result list shows and sorts by, kept in
// a process-wide array (shell/module_records.h) that outlives the view, since add-to-list and
// search-in-list build on the previous results.
// Stand-in: these are the fields of the file information record (built without version
// information) that the file properties code provides; when that record is merged, the finder
// keeps it here in place of these fields.
#include <cstdint>
#include <string>

#include "app/folder_listing.h"

struct FinderResult {
    std::string path;
    std::string folder;       // with its trailing separator
    std::string name;
    std::string sizeText;     // short form: "1 Kb" for 0 to 1023 bytes
    std::string typeName;
    std::string modifiedText; // "%m/%d/%Y %I:%M %p", local time
    uint64_t size = 0;
    FileStamp modified = 0;
    int icon = -1;            // in the system's small image list
};

// The short size text: the whole part of size / 1024, plus one, with commas between thousands,
// and " Kb".
std::string ShortSizeText(uint64_t size);
// Whether `path` lies on drive `letter` (its first character, either case).
bool IsOnDrive(const std::string& path, char letter);
// The drive letter of a path, upper case, or 0 for a path without one.
char DriveLetterOf(const std::string& path);
