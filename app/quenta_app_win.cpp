#include "app/quenta_app_win.h"

#include <commctrl.h>
#include <ole2.h>

#include <ctime>

#include "app/main_window.h"
#include "app/message_loop_win.h"
#include "app/paths.h"
#include "app/program_state.h"
#include "app/services.h"
#include "app/settings.h"
#include "app/setup_entry.h"
#include "app/tooltip_settings.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "res/resource.h"

namespace {
constexpr int kIconIds[CQuentaApp::kIconCount] = {IDI_QUENTA, IDI_REPORT, IDI_HAND_POINTER, IDI_UNINSTALL,
                                                   IDI_INSTALL};
constexpr const char* kSplashClass = "QuentaSplash";
constexpr const char* kTempFolderName = "Ostrel Quenta";

std::string RunningExecutable()
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

int MeasureDisplayDepth()
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return 24;
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    uint16_t word = 0;
    if (bits == 16) {
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 1);
        if (memory && bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            SetPixel(memory, 0, 0, RGB(255, 255, 255));
            SelectObject(memory, old);
            uint16_t row[10] = {};
            GetBitmapBits(bitmap, sizeof row, row);
            word = row[0];
        }
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return DisplayDepthFromProbe(bits, word);
}

// Decodes a JPEG-typed resource; false when it is missing or cannot be decoded.
bool LoadPictureResource(HINSTANCE instance, int id, CPicture& picture)
{
    for (const char* type : {"JPEG", "JPG"}) {
        HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
        if (!found)
            continue;
        HGLOBAL loaded = LoadResource(instance, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        if (!bytes)
            return false;
        CGraphicsStream stream;
        stream.OpenMemory(bytes, SizeofResource(instance, found));
        return JpgCodec().ReadStream(stream, &picture, nullptr) == 1;
    }
    return false;
}

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const CQuentaApp* app = CQuentaApp::Instance();
        if (const SplashPictures* splash = app ? app->Splash() : nullptr) {
            const CPicture& picture = splash->overWhite;
            SetDIBitsToDevice(dc, 0, 0, picture.Width(), picture.Height(), 0, 0, 0, picture.Height(),
                              picture.Dib() + picture.Header()->biSize,
                              reinterpret_cast<const BITMAPINFO*>(picture.Dib()), DIB_RGB_COLORS);
        }
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

CQuentaApp* CQuentaApp::s_instance = nullptr;

CQuentaApp::CQuentaApp(HINSTANCE instance, const std::string& processCommandLine, int showCommand)
    : m_instance(instance), m_arguments(CommandLineArguments(processCommandLine)),
      m_runningExecutable(RunningExecutable()), m_showCommand(showCommand)
{
    s_instance = this;
    LoadTooltipSettings();
    Program().displayDepth = MeasureDisplayDepth();
    const std::string folder = FolderOf(m_runningExecutable);
    if (!folder.empty() && IsReadableFile(JoinPath(folder, "quenta.exe"))) {
        Program().programFolder = folder;
        CQnSettings().WriteString("", "QuentaFolder", folder);
    }
}

CQuentaApp::~CQuentaApp()
{
    CloseSplashWindow();
    SaveTooltipSettings();
    DeleteFolderTree(JoinPath(SystemTempPath(), kTempFolderName));
    if (m_oleStarted)
        OleUninitialize();
    s_instance = nullptr;
}

bool CQuentaApp::InitInstance()
{
    CQnSettings settings;
    SetLanguage(0);

    const CommandSwitch commandSwitch = ParseCommandSwitch(m_arguments);
    std::string record;
    bool recordReadable = false;
    if (commandSwitch == CommandSwitch::None || commandSwitch == CommandSwitch::FirstTime) {
        record = settings.ReadString(RegRoot::CurrentUser, kInstallRecordKey, "Quenta", "");
        recordReadable = IsReadableFile(record);
    }
    const StartDecision decision = DecideStart(commandSwitch, m_runningExecutable, record, recordReadable);
    m_kind = decision.kind;
    Program().SetProgramPath(decision.programPath);

    Program().buttonShadow = GetSysColor(COLOR_BTNSHADOW);
    Program().buttonHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);

    if (FAILED(OleInitialize(nullptr)))
        return false;
    m_oleStarted = true;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);

    LoadSplash();
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    m_splashTitle = FormatText(IDS_PRODUCT_NOTICE, std::to_string(local.tm_year + 1900));
    if (m_kind == RunKind::Toolbox)
        ShowSplashWindow();

    LoadIcons();
    RegisterWindowEntry("Quenta");
    Program().pictureOpenFilter = GetOpenFilterString() + LoadText(IDS_FILTER_ALL_FILES);

    switch (m_kind) {
    case RunKind::Install:
        Program().SetProgramPath(m_runningExecutable);
        RunInstall();
        return false;
    case RunKind::Uninstall:
        RunUninstall(1);
        return false;
    case RunKind::Toolbox: break;
    }
    const bool created = CreateMainWindow(m_showCommand);
    CloseSplashWindow();
    return created;
}

int CQuentaApp::Run() { return RunQuentaMessageLoop(); }

void CQuentaApp::LoadSplash()
{
    CPicture colour, mask;
    if (!LoadPictureResource(m_instance, IDR_SPLASH_COLOUR, colour) || !LoadPictureResource(m_instance, IDR_SPLASH_MASK, mask))
        return;
    auto splash = std::make_unique<SplashPictures>();
    if (ComposeSplash(colour, mask, *splash))
        m_splash = std::move(splash);
}

void CQuentaApp::ShowSplashWindow()
{
    if (!m_splash)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = SplashProc;
    windowClass.hInstance = m_instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_WAIT);
    windowClass.lpszClassName = kSplashClass;
    RegisterClassA(&windowClass);
    const int w = m_splash->overWhite.Width(), h = m_splash->overWhite.Height();
    const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    m_splashWindow = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, m_splashTitle.c_str(), WS_POPUP, x, y, w, h,
                                     nullptr, nullptr, m_instance, nullptr);
    if (!m_splashWindow)
        return;
    ShowWindow(m_splashWindow, SW_SHOWNORMAL);
    RedrawWindow(m_splashWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQuentaApp::CloseSplashWindow()
{
    if (m_splashWindow) {
        DestroyWindow(m_splashWindow);
        m_splashWindow = nullptr;
    }
}

void CQuentaApp::LoadIcons()
{
    for (int i = 0; i < kIconCount; ++i) {
        m_icons[i] = LoadIconA(m_instance, MAKEINTRESOURCEA(kIconIds[i]));
        if (!m_icons[i])
            m_icons[i] = LoadIcon(nullptr, IDI_APPLICATION);
    }
}
