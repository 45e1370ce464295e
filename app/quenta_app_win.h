#pragma once
// The application object of the toolbox program: decides the run kind, owns the program-wide
// state (program folder, display depth, icons, splash picture, picture open filter) and runs
// the message loop.
#include <windows.h>

#include <memory>
#include <string>

#include "app/splash.h"
#include "app/startup.h"

class CQuentaApp {
public:
    static constexpr int kIconCount = 5;

    // Measures the display depth and, when "quenta.exe" lies in the running executable's
    // folder, records that folder as "QuentaFolder".
    CQuentaApp(HINSTANCE instance, const std::string& processCommandLine, int showCommand);
    // Deletes the program's temporary folder.
    ~CQuentaApp();
    CQuentaApp(const CQuentaApp&) = delete;
    CQuentaApp& operator=(const CQuentaApp&) = delete;

    // Start-up; false when the program should end at once (install and uninstall runs end
    // here once setup is done).
    bool InitInstance();
    // The message loop; an exception that escapes it is dropped and the loop entered again.
    int Run();

    static CQuentaApp* Instance() { return s_instance; }
    HINSTANCE InstanceHandle() const { return m_instance; }
    RunKind Kind() const { return m_kind; }
    // Icons 147, 142, 177, 214 and 213, in that order.
    HICON Icon(int index) const { return index >= 0 && index < kIconCount ? m_icons[index] : nullptr; }
    // Null when the splash resources could not be decoded.
    const SplashPictures* Splash() const { return m_splash.get(); }
    const std::string& SplashTitle() const { return m_splashTitle; }

private:
    void LoadSplash();
    void ShowSplashWindow();
    void CloseSplashWindow();
    void LoadIcons();

    static CQuentaApp* s_instance;
    HINSTANCE m_instance;
    std::string m_arguments;
    std::string m_runningExecutable;
    int m_showCommand;
    RunKind m_kind = RunKind::Toolbox;
    bool m_oleStarted = false;
    HICON m_icons[kIconCount] = {};
    std::unique_ptr<SplashPictures> m_splash;
    std::string m_splashTitle;
    HWND m_splashWindow = nullptr;
};
