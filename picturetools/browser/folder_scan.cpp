#include "picturetools/browser/folder_scan.h"

#include <algorithm>
#include <cstdio>

#include "base/progress.h"
#include "base/text.h"
#include "picture/graphics_stream.h"
#include "picturetools/browser/browser_files.h"
#include "picturetools/browser/thumbnail_rules.h"
#include "res/resource.h"

namespace {
// File names compare as the file system of the cache's home does: ASCII letters without case.
bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// "Examining "%s" (%d/%d)..." with the name, the 0-based index and the count, filled in order.
std::string ExaminingText(const std::string& name, size_t index, size_t count)
{
    const std::string pattern = LoadText(IDS_EXAMINING_ITEM);
    const std::string args[3] = {name, std::to_string(index), std::to_string(count)};
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            if (next < 3)
                text += args[next++];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

ThumbnailEntry StampOf(const FolderEntry& file, int cellWidth, int cellHeight)
{
    ThumbnailEntry e;
    const LocalMoment t = LocalMomentOfStamp(file.lastWrite);
    e.day = t.day;
    e.month = t.month;
    e.year = t.year;
    e.hour = t.hour;
    e.minute = t.minute;
    e.second = t.second;
    e.fileSize = static_cast<uint32_t>(file.size);
    e.cellWidth = cellWidth;
    e.cellHeight = cellHeight;
    e.name = file.name;
    return e;
}
} // namespace

CFolderScan::CFolderScan(CBrowserFiles& files, const BrowseRequest& request, const std::atomic<bool>& stop,
                         CQnProgress& progress)
    : m_files(files), m_request(request), m_stop(stop), m_progress(progress)
{
}

void CFolderScan::Send(BrowseEvent& event)
{
    event.cellWidth = m_cellWidth;
    event.cellHeight = m_cellHeight;
    if (m_request.receiver)
        m_request.receiver(event);
}

ThumbnailEntry* CFolderScan::FindEntry(const std::string& name)
{
    for (ThumbnailEntry& e : m_entries)
        if (SameName(e.name, name))
            return &e;
    return nullptr;
}

void CFolderScan::Run()
{
    m_changed = m_request.noCache;
    const bool loaded = m_request.noCache || LoadCache();
    if (m_request.cellWidth > 0 && m_request.cellHeight > 0) {
        m_cellWidth = m_request.cellWidth;
        m_cellHeight = m_request.cellHeight;
    } else if (!m_entries.empty() && m_entries.front().cellWidth > 0 && m_entries.front().cellHeight > 0) {
        m_cellWidth = m_entries.front().cellWidth;
        m_cellHeight = m_entries.front().cellHeight;
    } else {
        m_cellWidth = kDefaultCellWidth;
        m_cellHeight = kDefaultCellHeight;
    }
    BrowseEvent started;
    started.code = kBrowseStarted;
    Send(started);

    FolderListing listing = loaded ? ListFolder(m_request.folder) : FolderListing{};
    if (listing.Ok()) {
        std::vector<FolderEntry> files = FilesOf(listing.entries);
        SortByName(files);
        files.erase(std::remove_if(files.begin(), files.end(),
                                   [](const FolderEntry& f) { return SameName(f.name, kBrowserFileName); }),
                    files.end());
        // Entries of files that are gone.
        const size_t before = m_entries.size();
        m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                       [&](const ThumbnailEntry& e) {
                                           return std::none_of(files.begin(), files.end(), [&](const FolderEntry& f) {
                                               return SameName(f.name, e.name);
                                           });
                                       }),
                        m_entries.end());
        m_changed = m_changed || m_entries.size() != before;

        for (size_t i = 0; i < files.size(); ++i) {
            m_progress.SetRange(0, 10);
            const bool going = m_progress.SetPos(0);
            m_progress.SetText(ExaminingText(files[i].name, i, files.size()));
            if (!going || m_stop.load() || !ProcessFile(files[i]) || m_stop.load())
                break;
        }
        if (m_hadCacheFile && m_entries.empty())
            m_changed = true; // an old cache of a folder without pictures goes
        if (m_changed)
            SaveCache();
    }
    BrowseEvent finished;
    finished.code = kBrowseFinished;
    Send(finished);
}

bool CFolderScan::LoadCache()
{
    m_progress.SetText(LoadText(IDS_BROWSER_LOADING_FILE));
    const std::string path = m_files.FindCacheFile(m_request.folder);
    if (path.empty())
        return true;
    m_hadCacheFile = true;
    const std::string copy = m_files.CopyToTemporary(path);
    if (copy.empty())
        return true;
    ThumbnailFileStatus status;
    {
        CGraphicsStream stream;
        status = stream.OpenFile(copy, true) ? ReadThumbnailFile(stream, m_entries, &m_progress)
                                             : ThumbnailFileStatus::Damaged;
    }
    std::remove(copy.c_str());
    if (status == ThumbnailFileStatus::Cancelled)
        return false;
    if (status != ThumbnailFileStatus::Ok)
        m_changed = true; // a damaged file is replaced by a sound one
    return true;
}

void CFolderScan::SaveCache()
{
    m_progress.SetText(LoadText(IDS_BROWSER_SAVING_FILE));
    std::vector<uint8_t> bytes;
    if (!m_entries.empty()) {
        CGraphicsStream stream;
        if (!stream.CreateMemory(64 * 1024) || !WriteThumbnailFile(stream, m_entries, &m_progress))
            return;
        bytes.assign(stream.Data(), stream.Data() + stream.Size());
    }
    m_files.StoreCache(m_request.folder, bytes);
}

bool CFolderScan::ProcessFile(const FolderEntry& file)
{
    const std::string path = JoinBrowserPath(m_request.folder, file.name);
    ThumbnailEntry current = StampOf(file, m_cellWidth, m_cellHeight);
    ThumbnailEntry* entry = FindEntry(file.name);
    PictureFacts own;
    if (entry && entry->picture && entry->SameStamp(current)) {
        if (!m_request.probe || !m_request.probe(path, own))
            own = PictureFacts{entry->thumbWidth, entry->thumbHeight, 24};
    } else {
        auto picture = std::make_unique<CPicture>();
        if (!m_request.loader || !m_request.loader(path, m_cellWidth, m_cellHeight, *picture, own) || picture->IsEmpty())
            return true; // not a picture: no thumbnail, no event
        if (own.width <= 0 || own.height <= 0)
            own = PictureFacts{picture->Width(), picture->Height(), picture->BitsPerPixel()};
        if (!MakeThumbnail(*picture, own.width, own.height, m_cellWidth, m_cellHeight, nullptr))
            return false;
        current.thumbWidth = picture->Width();
        current.thumbHeight = picture->Height();
        current.picture = std::move(picture);
        if (entry) {
            *entry = std::move(current);
        } else {
            m_entries.push_back(std::move(current));
            entry = &m_entries.back();
        }
        m_changed = true;
    }
    CPicture cell;
    if (!ComposeCell(*entry->picture, m_cellWidth, m_cellHeight, cell))
        return false;
    BrowseEvent event;
    event.code = kBrowseThumbnail;
    event.path = path;
    event.cell = &cell;
    event.width = own.width;
    event.height = own.height;
    event.bits = own.bits;
    Send(event);
    return true;
}
