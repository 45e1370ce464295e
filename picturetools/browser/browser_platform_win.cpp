// Win32 side of the thumbnail engine's platform needs.
#include "picturetools/browser/browser_platform.h"

#include <windows.h>

#include <memory>

namespace {
LocalMoment MomentOf(const SYSTEMTIME& t)
{
    LocalMoment m;
    m.year = t.wYear;
    m.month = t.wMonth;
    m.day = t.wDay;
    m.hour = t.wHour;
    m.minute = t.wMinute;
    m.second = t.wSecond;
    return m;
}

DWORD WINAPI RunBody(void* parameter)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    try {
        (*body)();
    } catch (...) {
        // Nothing may escape a thread's entry.
    }
    return 0;
}
} // namespace

LocalMoment LocalMomentNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MomentOf(now);
}

LocalMoment LocalMomentOfStamp(FileStamp stamp)
{
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(stamp);
    utc.dwHighDateTime = static_cast<DWORD>(stamp >> 32);
    SYSTEMTIME t{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t))
        return {};
    return MomentOf(t);
}

bool SetHiddenAttribute(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool MakeFolderLevel(const std::string& path)
{
    if (CreateDirectoryA(path.c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PumpOneMessage()
{
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct CBrowserThread::State {
    HANDLE thread = nullptr;
};

CBrowserThread::~CBrowserThread() { Join(); }

bool CBrowserThread::Start(std::function<void()> body)
{
    Join();
    auto* parameter = new std::function<void()>(std::move(body));
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, RunBody, parameter, CREATE_SUSPENDED, &id);
    if (!thread) {
        delete parameter;
        return false;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_NORMAL);
    m_state = new State{thread};
    ResumeThread(thread);
    return true;
}

void CBrowserThread::Join()
{
    if (!m_state)
        return;
    WaitForSingleObject(m_state->thread, INFINITE);
    CloseHandle(m_state->thread);
    delete m_state;
    m_state = nullptr;
}
