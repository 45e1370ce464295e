#pragma once
// Driving the windows of another process: finding its top-level windows and controls, and
// memory inside it for the messages whose parameters are pointers (list views, tabs, the
// folder browser), which Windows does not carry across processes.
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

// A block of memory in another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : m_process(process), m_size(size),
          m_address(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBuffer()
    {
        if (m_address)
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return m_address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_address); }
    bool Write(const void* data, size_t size) const
    {
        return size <= m_size && WriteProcessMemory(m_process, m_address, data, size, nullptr);
    }
    bool Read(void* data, size_t size) const
    {
        return size <= m_size && ReadProcessMemory(m_process, m_address, data, size, nullptr);
    }

private:
    HANDLE m_process;
    size_t m_size;
    void* m_address;
};

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 15000)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

inline std::string ClassOf(HWND window)
{
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The caption the system keeps for a window (titles, labels): read without asking the
// window's thread, so it answers even while that thread is busy.
inline std::string CaptionOf(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The text of a window of any process (WM_GETTEXT is carried across processes), e.g. an edit's.
inline std::string TextOf(HWND window)
{
    char text[2048] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                        &ignored);
    text[sizeof text - 1] = '\0';
    return text;
}

// Visible top-level windows of the process.
inline std::vector<HWND> WindowsOfProcess(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindWindowOfProcess(DWORD processId, const std::function<bool(HWND)>& matches)
{
    for (HWND window : WindowsOfProcess(processId))
        if (matches(window))
            return window;
    return nullptr;
}

// The first descendant (at any depth) that matches.
inline HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& matches)
{
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        if (matches(child))
            return child;
        if (HWND inner = FindDescendant(child, matches))
            return inner;
    }
    return nullptr;
}

inline HWND FindDescendantById(HWND parent, int id)
{
    return FindDescendant(parent, [id](HWND w) { return GetDlgCtrlID(w) == id; });
}

inline HWND FindDescendantByClass(HWND parent, const char* className)
{
    return FindDescendant(parent, [className](HWND w) { return lstrcmpiA(ClassOf(w).c_str(), className) == 0; });
}

// The toolbox started for a test, with its main window; closed (or ended) with the object.
class QuentaUnderTest {
public:
    QuentaUnderTest() = default;
    ~QuentaUnderTest() { Close(); }
    QuentaUnderTest(const QuentaUnderTest&) = delete;
    QuentaUnderTest& operator=(const QuentaUnderTest&) = delete;

    // Starts `exe` and waits for its main window to show.
    bool Start(const std::string& exe, const std::string& arguments)
    {
        std::string command = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
            return false;
        return WaitFor([&] {
            m_frame = FindWindowA("QuentaMainFrame", nullptr);
            return m_frame && IsWindowVisible(m_frame);
        });
    }

    // Closes every window of the process but the main window (dialogs, the viewer, questions
    // a failed test left open), and waits until they are gone.
    void CloseOtherWindows()
    {
        if (!m_info.hProcess)
            return;
        AskOtherWindowsToClose();
        WaitFor([&] { return WindowsOfProcess(m_info.dwProcessId).size() <= 1; }, 5000);
    }

    // Asks every window to close, the main window last; ends the process if it stays.
    void Close()
    {
        if (!m_info.hProcess)
            return;
        AskOtherWindowsToClose();
        if (m_frame)
            PostMessageA(m_frame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_info.hProcess, 15000) != WAIT_OBJECT_0)
            TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
        m_info = {};
        m_frame = nullptr;
    }

    bool Running() const { return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    HANDLE Process() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }
    HWND Frame() const { return m_frame; }

private:
    void AskOtherWindowsToClose() const
    {
        for (HWND window : WindowsOfProcess(m_info.dwProcessId))
            if (window != m_frame)
                PostMessageA(window, WM_CLOSE, 0, 0);
    }

    PROCESS_INFORMATION m_info{};
    HWND m_frame = nullptr;
};
