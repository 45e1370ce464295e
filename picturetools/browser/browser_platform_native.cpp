// POSIX side of the thumbnail engine's platform needs (tests and tools on the build machine).
#include "picturetools/browser/browser_platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <thread>

namespace {
LocalMoment MomentOf(time_t seconds)
{
    struct tm local{};
    localtime_r(&seconds, &local);
    LocalMoment m;
    m.year = local.tm_year + 1900;
    m.month = local.tm_mon + 1;
    m.day = local.tm_mday;
    m.hour = local.tm_hour;
    m.minute = local.tm_min;
    m.second = local.tm_sec;
    return m;
}
} // namespace

LocalMoment LocalMomentNow() { return MomentOf(::time(nullptr)); }

LocalMoment LocalMomentOfStamp(FileStamp stamp) { return MomentOf(static_cast<time_t>(UnixSecondsOfStamp(stamp))); }

bool SetHiddenAttribute(const std::string&) { return true; } // a leading dot hides here, not an attribute

bool MakeFolderLevel(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    struct stat info;
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void PumpOneMessage() {}

struct CBrowserThread::State {
    std::thread thread;
};

CBrowserThread::~CBrowserThread() { Join(); }

bool CBrowserThread::Start(std::function<void()> body)
{
    Join();
    m_state = new State;
    try {
        m_state->thread = std::thread(std::move(body));
    } catch (...) {
        delete m_state;
        m_state = nullptr;
        return false;
    }
    return true;
}

void CBrowserThread::Join()
{
    if (!m_state)
        return;
    if (m_state->thread.joinable())
        m_state->thread.join();
    delete m_state;
    m_state = nullptr;
}
