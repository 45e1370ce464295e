#pragma once
// The picture browser: a worker thread that produces the thumbnail of every picture file of
// one folder, keeping the folder's thumbnail cache file ("zephra.zeb", see thumbnail_file.h)
// so that a folder already seen is shown without decoding its pictures again.
//
// One worker at a time. A new request sets the stop flag of the running worker and, while it
// still runs, keeps the caller's message loop alive (one message per round, 10 ms pause) until
// it has ended; a request made from a message handled during that wait returns at once.
// The receiver callback runs on the worker thread: a window posts itself what it needs.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "picturetools/browser/browser_platform.h"

class CBrowserFiles;
class CPicture;
class CQnProgress;
class CRegistryAccess;

enum BrowseEventCode : int {
    kBrowseStarted = 0,   // cell size known
    kBrowseThumbnail = 1, // one cell picture
    kBrowseFinished = 2,
};

struct BrowseEvent {
    int code = kBrowseStarted;
    int cellWidth = 0, cellHeight = 0;
    // kBrowseThumbnail only: the file's full path, its cell picture (valid during the call),
    // and the picture's own width, height and bits per pixel.
    std::string path;
    const CPicture* cell = nullptr;
    int width = 0, height = 0, bits = 0;
};
using BrowseReceiver = std::function<void(const BrowseEvent&)>;

// The picture's own size and depth, as a loader reports it.
struct PictureFacts {
    int width = 0, height = 0, bits = 0;
};
// Loads `path` quietly for a thumbnail of a cellWidth x cellHeight cell. The picture may be a
// reduced decode (at least twice the thumbnail size); `own` receives the picture's own size.
using BrowseLoader = std::function<bool(const std::string& path, int cellWidth, int cellHeight, CPicture& picture,
                                        PictureFacts& own)>;
using BrowseProbe = std::function<bool(const std::string& path, PictureFacts& own)>;

// The default loader (reduced JPEG decode, else LoadPicture) and probe (GetPictureFileInfo).
bool LoadThumbnailPicture(const std::string& path, int cellWidth, int cellHeight, CPicture& picture, PictureFacts& own);
bool ProbeThumbnailPicture(const std::string& path, PictureFacts& own);

struct BrowseRequest {
    std::string folder;       // empty: only stop the running scan
    BrowseReceiver receiver;  // events 0, 1 and 2 (on the worker thread)
    CQnProgress* progress = nullptr; // used on the worker thread; null for none
    BrowseLoader loader = LoadThumbnailPicture;
    BrowseProbe probe = ProbeThumbnailPicture;
    int cellWidth = -1, cellHeight = -1; // -1: the cache file's first entry's, else 80 x 60
    bool noCache = false;     // ignore the cache file and rewrite it
};

class CBrowsePicture {
public:
    // `files` locates and stores cache files; `pump` dispatches one of the caller's messages
    // (PumpOneMessage by default).
    explicit CBrowsePicture(CBrowserFiles& files, std::function<void()> pump = PumpOneMessage);
    // Stops and waits for the worker.
    ~CBrowsePicture();
    CBrowsePicture(const CBrowsePicture&) = delete;
    CBrowsePicture& operator=(const CBrowsePicture&) = delete;

    // Stops a running scan, then starts one for request.folder unless it is empty. False when
    // the request was refused (nested) or the worker could not start.
    bool BrowseFolder(const BrowseRequest& request);
    // Stops the running scan and waits for it (pumping the caller's messages).
    void Stop();
    // Waits (pumping the caller's messages) until the running scan has ended by itself.
    void Wait();
    bool IsRunning() const { return m_running.load(); }

private:
    void WaitForWorker(bool stop);
    void Run(BrowseRequest request);

    CBrowserFiles& m_files;
    std::function<void()> m_pump;
    CBrowserThread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    bool m_inRequest = false; // caller's thread only
};

// The process-wide browser on the real registry, temporary folder and message loop.
bool BrowseFolder(const BrowseRequest& request);
