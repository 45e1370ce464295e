#pragma once
// The file actions on the selected rows of a file list, shared by the explorer and the finder:
// clipboard, drag and drop, move, delete to the recycle bin, open, rename, properties, and
// viewing or printing a picture (codes in file_action_code.h).
#include <string>
#include <vector>

#include "filetools/common/file_action_code.h"

class CQnFormView;
class CReportList;

// A list that keeps one file record per row: the row's path comes from its record, and a row
// whose file was renamed or changed gets its record and cells refilled.
class IFileRowRecords {
public:
    virtual ~IFileRowRecords() = default;
    virtual std::string PathOfRow(int row) const = 0;
    virtual void RefreshRow(int row, const std::string& path) = 0;
};

// The path of a row without records: `folder` joined with the first column's text after its
// first line break (a thumbnail's caption ends with the file name), else the whole text.
std::string RowPathInFolder(const std::string& folder, const std::string& firstCell);

// Runs `action` on the selected rows of `list`; `argument` 1 asks Print for a preview. A move
// or delete removes the rows of the files that went. True when the action ran on some files.
bool DoFileAction(CQnFormView& view, CReportList& list, const std::string& folder, int action, int argument,
                  IFileRowRecords* records = nullptr);

// Moves (or copies) `paths` into `folder` through the shell, undoably, under names that replace
// nothing there (see free_names.h). False when the user or the shell stopped it.
bool TransferFilesKeepingBoth(const std::vector<std::string>& paths, const std::string& folder, bool move);
