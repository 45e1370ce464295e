#pragma once
// The finder's results: file information records (built without version information) in a
// process-wide array that outlives the view, since add-to-list and search-in-list build on the
// previous results.
#include <windows.h>

#include <string>
#include <unordered_map>

#include "filetools/properties/file_record.h"
#include "shell/module_records.h"

struct FinderResultsTag {};
using FinderResults = ModuleRecords<FileRecord, FinderResultsTag>;

// Builds result records with their small icon. A file's icon follows its extension, except for
// the kinds that carry their own: those are asked per file, the others once per extension for
// as long as the builder remembers (one search).
class FinderRecordBuilder {
public:
    FileRecord Build(const std::string& path);
    void Refill(FileRecord& record, const std::string& path);
    void Forget() { m_iconByExtension.clear(); }

private:
    int IconOf(const std::string& path);
    std::unordered_map<std::string, int> m_iconByExtension;
};

bool FileStillExists(const std::string& path);
