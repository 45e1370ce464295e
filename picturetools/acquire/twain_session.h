#pragma once
// The program's side of a TWAIN session: the states 1 to 7, the application and source
// identities, the calls that move between the states, the commands "Select source" and
// "Acquire", the messages passed to an enabled source and the native transfers they start.
// Portable: the manager is reached through ITwainManager (the Windows library, or a fake in
// tests).
#include <cstdint>
#include <functional>

#include "picturetools/acquire/twain_protocol.h"

// Finding, loading and calling the data source manager.
class ITwainManager {
public:
    virtual ~ITwainManager() = default;
    // Loads the manager and finds its entry point; false when there is none.
    virtual bool Load() = 0;
    virtual void Unload() = 0;
    virtual uint16_t Call(twain::TwIdentity* origin, twain::TwIdentity* destination, uint32_t group,
                          uint16_t argument, uint16_t message, void* data) = 0;
};

// The states of a session as TWAIN numbers them.
enum TwainState : int {
    kTwainNothingLoaded = 1,
    kTwainManagerLoaded = 2,
    kTwainManagerOpen = 3,
    kTwainSourceOpen = 4,
    kTwainSourceEnabled = 5,
    kTwainTransferReady = 6,
    kTwainTransferring = 7,
};

// What a command reports: the error numbers the user sees.
enum class TwainError : int { None = -1, Manager = 0, Source = 1, Enable = 2 };

class CTwainSession {
public:
    // Receives the memory handle of each transferred bitmap, after its transfer has ended;
    // the receiver frees it.
    using PageSink = std::function<void(void* bitmapHandle)>;

    explicit CTwainSession(ITwainManager& manager);
    // Steps back to state 1: the source is closed and the manager closed and unloaded.
    ~CTwainSession();
    CTwainSession(const CTwainSession&) = delete;
    CTwainSession& operator=(const CTwainSession&) = delete;

    int State() const { return m_state; }
    uint16_t LastResult() const { return m_lastResult; }
    const twain::TwIdentity& ApplicationIdentity() const { return m_application; }
    const twain::TwIdentity& SourceIdentity() const { return m_source; }
    void SetShowSourceUI(bool show) { m_showSourceUI = show; }
    void SetPageSink(PageSink sink) { m_pageSink = std::move(sink); }

    // The commands. `window` is the main window: the manager's parent and the source's.
    TwainError SelectSource(void* window);
    TwainError Acquire(void* window);

    // Passes a window message to the enabled source (states 5 to 7); a transfer it announces
    // is carried out at once, a close request closes the source. True when the message was
    // the source's and must not be dispatched.
    bool ProcessMessage(void* message);

    // The single steps; each returns whether the manager accepted it.
    bool LoadManager();
    bool OpenManager(void* window);
    bool CloseManager();
    bool OpenSource();
    bool CloseSource();
    bool EnableSource(void* parent);
    bool DisableSource();
    bool EndTransfer();
    bool ResetTransfers();
    void UnloadManager();
    // Transfers every pending page while the state is 6.
    void TransferPages();
    // Undoes one level after the other, from the current state down to `state`; stops at the
    // first step that fails. True when `state` was reached.
    bool StepBackTo(int state);

private:
    uint16_t Call(twain::TwIdentity* destination, uint32_t group, uint16_t argument, uint16_t message, void* data);
    uint16_t CallSource(uint32_t group, uint16_t argument, uint16_t message, void* data)
    {
        return Call(&m_source, group, argument, message, data);
    }
    bool CloseRequested();

    ITwainManager& m_manager;
    int m_state = kTwainNothingLoaded;
    uint16_t m_lastResult = twain::TWRC_SUCCESS;
    twain::TwIdentity m_application{};
    twain::TwIdentity m_source{}; // all zero: the default source
    void* m_window = nullptr;     // what DAT_PARENT points at
    bool m_showSourceUI = true;
    bool m_transferring = false;
    PageSink m_pageSink;
};

// The string-table id of the text for a command's error number.
unsigned TwainErrorTextId(int error);
