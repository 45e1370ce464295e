#pragma once
// One worker's pass over a folder: the cell size, the cache file loaded, every file examined
// (thumbnail from the cache when still valid, else computed), the cache saved when anything
// changed, and the events sent to the receiver.
#include <atomic>
#include <string>
#include <vector>

#include "app/folder_listing.h"
#include "picturetools/browser/thumbnail_engine.h"
#include "picturetools/browser/thumbnail_file.h"

class CBrowserFiles;

class CFolderScan {
public:
    CFolderScan(CBrowserFiles& files, const BrowseRequest& request, const std::atomic<bool>& stop,
                CQnProgress& progress);
    void Run();

private:
    bool LoadCache();   // false when cancelled
    void SaveCache();
    bool ProcessFile(const FolderEntry& file); // false ends the scan
    ThumbnailEntry* FindEntry(const std::string& name);
    void Send(BrowseEvent& event);

    CBrowserFiles& m_files;
    const BrowseRequest& m_request;
    const std::atomic<bool>& m_stop;
    CQnProgress& m_progress;
    std::vector<ThumbnailEntry> m_entries;
    int m_cellWidth = 0, m_cellHeight = 0;
    bool m_changed = false;
    bool m_hadCacheFile = false;
};
