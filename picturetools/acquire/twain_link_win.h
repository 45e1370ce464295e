#pragma once
// The TWAIN link of the main window: the session with the manager library, the commands
// "Select source" and "Acquire" with their error messages, every message of the thread passed
// to an enabled source, and each transferred bitmap turned into a picture for the acquire
// view. Made and destroyed with the main window, which closes and unloads the manager.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "picturetools/acquire/twain_session.h"
#include "shell/main_window_parts_win.h"

class CPicture;

// The manager "TWAIN_32.DLL": in the Windows folder, else (a 64-bit system keeps it there) in
// the system folder.
class CTwainManagerLibrary : public ITwainManager {
public:
    ~CTwainManagerLibrary() override { Unload(); }
    bool Load() override;
    void Unload() override;
    uint16_t Call(twain::TwIdentity* origin, twain::TwIdentity* destination, uint32_t group, uint16_t argument,
                  uint16_t message, void* data) override;
    // Where the manager is looked for, in order.
    static std::string WindowsFolderPath();
    static std::string SystemFolderPath();

private:
    using Entry = uint16_t(WINAPI*)(twain::TwIdentity*, twain::TwIdentity*, uint32_t, uint16_t, uint16_t, void*);
    HMODULE m_library = nullptr;
    Entry m_entry = nullptr;
};

class CTwainLink : public CMainWindowPart {
public:
    // Receives each acquired picture (the acquire view while it exists).
    using PictureReceiver = std::function<void(std::unique_ptr<CPicture> picture)>;

    explicit CTwainLink(HWND mainWindow);
    ~CTwainLink() override;

    bool PreTranslateMessage(const MSG& msg) override;

    // The commands; a failure is told in the program's message box.
    void SelectSource();
    void Acquire();
    void SetPictureReceiver(PictureReceiver receiver) { m_receiver = std::move(receiver); }
    int State() const { return m_session.State(); }

private:
    void ReceiveBitmap(void* handle);

    HWND m_mainWindow;
    CTwainManagerLibrary m_library;
    CTwainSession m_session; // after m_library, which it closes before it goes
    PictureReceiver m_receiver;
};

// The main window's link, or null while there is no main window.
CTwainLink* MainTwainLink();
// The message of a command's error number: "A TWAIN error occurred." with the number and text.
std::string TwainErrorMessage(int error);
