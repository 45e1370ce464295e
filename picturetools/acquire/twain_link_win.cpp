#include "picturetools/acquire/twain_link_win.h"

#include <cstddef>

#include "app/message.h"
#include "base/text.h"
#include "picture/picture.h"
#include "picturetools/acquire/acquire_module.h"
#include "res/resource.h"

// The portable structures are laid out as the manager reads them.
static_assert(sizeof(void*) == sizeof(HWND) && sizeof(void*) == sizeof(HGLOBAL));

namespace {
CTwainLink* g_link = nullptr;

std::string FolderFile(UINT (WINAPI* folder)(LPSTR, UINT))
{
    char path[MAX_PATH] = "";
    const UINT length = folder(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string file = path;
    if (file.back() != '\\')
        file += '\\';
    return file + "TWAIN_32.DLL";
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

std::string CTwainManagerLibrary::WindowsFolderPath() { return FolderFile(GetWindowsDirectoryA); }
std::string CTwainManagerLibrary::SystemFolderPath() { return FolderFile(GetSystemDirectoryA); }

bool CTwainManagerLibrary::Load()
{
    if (m_entry)
        return true;
    std::string path = WindowsFolderPath();
    if (!FileExists(path))
        path = SystemFolderPath();
    if (!FileExists(path))
        return false;
    m_library = LoadLibraryA(path.c_str());
    if (!m_library)
        return false;
    m_entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m_library, "DSM_Entry")));
    if (!m_entry) {
        FreeLibrary(m_library);
        m_library = nullptr;
        return false;
    }
    return true;
}

void CTwainManagerLibrary::Unload()
{
    m_entry = nullptr;
    if (m_library)
        FreeLibrary(m_library);
    m_library = nullptr;
}

uint16_t CTwainManagerLibrary::Call(twain::TwIdentity* origin, twain::TwIdentity* destination, uint32_t group,
                                    uint16_t argument, uint16_t message, void* data)
{
    return m_entry ? m_entry(origin, destination, group, argument, message, data) : twain::TWRC_FAILURE;
}

CTwainLink::CTwainLink(HWND mainWindow) : m_mainWindow(mainWindow), m_session(m_library)
{
    m_session.SetPageSink([this](void* handle) { ReceiveBitmap(handle); });
    g_link = this;
}

CTwainLink::~CTwainLink()
{
    if (g_link == this)
        g_link = nullptr;
    m_receiver = nullptr;
    m_session.StepBackTo(kTwainNothingLoaded);
}

CTwainLink* MainTwainLink() { return g_link; }

std::unique_ptr<CMainWindowPart> CreateTwainLink(HWND mainWindow) { return std::make_unique<CTwainLink>(mainWindow); }

std::string TwainErrorMessage(int error)
{
    return FormatText(IDS_TWAIN_ERROR_FORMAT, std::to_string(error), LoadText(TwainErrorTextId(error)));
}

bool CTwainLink::PreTranslateMessage(const MSG& msg)
{
    if (m_session.State() < kTwainSourceEnabled)
        return false;
    MSG message = msg;
    return m_session.ProcessMessage(&message);
}

void CTwainLink::SelectSource()
{
    const TwainError error = m_session.SelectSource(m_mainWindow);
    if (error != TwainError::None)
        ShowMessage(TwainErrorMessage(static_cast<int>(error)));
}

void CTwainLink::Acquire()
{
    const TwainError error = m_session.Acquire(m_mainWindow);
    if (error != TwainError::None)
        ShowMessage(TwainErrorMessage(static_cast<int>(error)));
}

void CTwainLink::ReceiveBitmap(void* handle)
{
    HGLOBAL memory = static_cast<HGLOBAL>(handle);
    auto picture = std::make_unique<CPicture>();
    bool made = false;
    if (const void* dib = GlobalLock(memory)) {
        made = picture->FromDib(dib, GlobalSize(memory));
        GlobalUnlock(memory);
    }
    GlobalFree(memory);
    if (made && m_receiver)
        m_receiver(std::move(picture));
}
