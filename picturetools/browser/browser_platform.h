#pragma once
// What the thumbnail engine needs from the platform beyond portable C++: local time, the
// hidden attribute, one folder level, the worker thread and the caller's message pump.
// Win32 in browser_platform_win.cpp, POSIX in browser_platform_native.cpp.
#include <cstdint>
#include <functional>
#include <string>

#include "app/folder_listing.h"

#ifdef _WIN32
constexpr char kBrowserPathSeparator = '\\';
#else
constexpr char kBrowserPathSeparator = '/';
#endif

// A moment broken down in local time, as the thumbnail records keep it.
struct LocalMoment {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LocalMoment LocalMomentNow();
LocalMoment LocalMomentOfStamp(FileStamp stamp);

// folder + separator + name (no separator doubled).
std::string JoinBrowserPath(const std::string& folder, const std::string& name);

bool SetHiddenAttribute(const std::string& path);
// Creates one folder level; true when it exists afterwards.
bool MakeFolderLevel(const std::string& path);

// Dispatches at most one waiting message of the calling thread (Win32); nothing natively.
void PumpOneMessage();

// A worker thread created suspended, given normal priority, then resumed. Join waits for its
// end and releases it; the destructor joins.
class CBrowserThread {
public:
    CBrowserThread() = default;
    ~CBrowserThread();
    CBrowserThread(const CBrowserThread&) = delete;
    CBrowserThread& operator=(const CBrowserThread&) = delete;

    bool Start(std::function<void()> body);
    void Join();

private:
    struct State;
    State* m_state = nullptr;
};
