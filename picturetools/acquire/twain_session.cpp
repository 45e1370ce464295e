#include "picturetools/acquire/twain_session.h"

#include "res/resource.h"

using namespace twain;

namespace {
// Who this program says it is: version 1.0, English, USA, protocol 1.6, control and image.
TwIdentity MakeApplicationIdentity()
{
    TwIdentity identity{};
    identity.id = 0;
    identity.version.majorNum = 1;
    identity.version.minorNum = 0;
    identity.version.language = 13;
    identity.version.country = 1;
    SetTwainString(identity.version.info, "<?>");
    identity.protocolMajor = 1;
    identity.protocolMinor = 6;
    identity.supportedGroups = DG_CONTROL_AND_IMAGE;
    SetTwainString(identity.manufacturer, "<?>");
    SetTwainString(identity.productFamily, "<?>");
    SetTwainString(identity.productName, "<?>");
    return identity;
}
} // namespace

CTwainSession::CTwainSession(ITwainManager& manager) : m_manager(manager), m_application(MakeApplicationIdentity()) {}

CTwainSession::~CTwainSession() { StepBackTo(kTwainNothingLoaded); }

uint16_t CTwainSession::Call(TwIdentity* destination, uint32_t group, uint16_t argument, uint16_t message, void* data)
{
    m_lastResult = m_manager.Call(&m_application, destination, group, argument, message, data);
    return m_lastResult;
}

bool CTwainSession::LoadManager()
{
    if (m_state >= kTwainManagerLoaded)
        return true;
    if (!m_manager.Load())
        return false;
    m_state = kTwainManagerLoaded;
    return true;
}

void CTwainSession::UnloadManager()
{
    if (m_state != kTwainManagerLoaded)
        return;
    m_manager.Unload();
    m_state = kTwainNothingLoaded;
}

bool CTwainSession::OpenManager(void* window)
{
    if (m_state >= kTwainManagerOpen)
        return true;
    if (!LoadManager())
        return false;
    m_window = window;
    if (Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &m_window) != TWRC_SUCCESS)
        return false;
    m_state = kTwainManagerOpen;
    return true;
}

bool CTwainSession::CloseManager()
{
    if (Call(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &m_window) != TWRC_SUCCESS)
        return false;
    m_state = kTwainManagerLoaded;
    return true;
}

bool CTwainSession::OpenSource()
{
    m_source = TwIdentity{}; // the default source
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_source) != TWRC_SUCCESS)
        return false;
    m_state = kTwainSourceOpen;
    return true;
}

bool CTwainSession::CloseSource()
{
    if (Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_source) != TWRC_SUCCESS)
        return false;
    m_state = kTwainManagerOpen;
    return true;
}

bool CTwainSession::EnableSource(void* parent)
{
    TwUserInterface ui{};
    ui.showUI = m_showSourceUI ? 1 : 0;
    ui.modalUI = 0;
    ui.parent = parent;
    // A source that cannot hide its own window shows it anyway and says so (check status).
    const uint16_t result = CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    if (result != TWRC_SUCCESS && result != TWRC_CHECKSTATUS)
        return false;
    m_state = kTwainSourceEnabled;
    return true;
}

bool CTwainSession::DisableSource()
{
    TwUserInterface ui{};
    ui.showUI = m_showSourceUI ? 1 : 0;
    ui.parent = m_window;
    if (CallSource(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui) != TWRC_SUCCESS)
        return false;
    m_state = kTwainSourceOpen;
    return true;
}

bool CTwainSession::EndTransfer()
{
    TwPendingXfers pending{};
    if (CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) != TWRC_SUCCESS)
        return false;
    m_state = pending.count != 0 ? kTwainTransferReady : kTwainSourceEnabled;
    return true;
}

bool CTwainSession::ResetTransfers()
{
    TwPendingXfers pending{};
    if (CallSource(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending) != TWRC_SUCCESS)
        return false;
    m_state = kTwainSourceEnabled;
    return true;
}

void CTwainSession::TransferPages()
{
    if (m_transferring)
        return;
    m_transferring = true;
    while (m_state == kTwainTransferReady) {
        void* handle = nullptr;
        const uint16_t result = CallSource(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
        if (result == TWRC_XFERDONE || result == TWRC_CANCEL)
            m_state = kTwainTransferring;
        if (result != TWRC_XFERDONE)
            handle = nullptr; // only a finished transfer delivers a bitmap
        if (!EndTransfer()) {
            // A source that will not end the transfer would keep us here for ever: drop what
            // it still holds and leave the loop whatever it answers.
            if (m_state == kTwainTransferring || !ResetTransfers()) {
                if (handle && m_pageSink)
                    m_pageSink(handle);
                break;
            }
        }
        if (handle && m_pageSink)
            m_pageSink(handle);
    }
    m_transferring = false;
}

bool CTwainSession::CloseRequested()
{
    // The source asked to be closed (its window was closed): disable it, then close it.
    m_state = kTwainSourceEnabled;
    return DisableSource() && CloseSource();
}

bool CTwainSession::ProcessMessage(void* message)
{
    if (m_state < kTwainSourceEnabled)
        return false;
    TwEvent event{};
    event.event = message;
    event.message = MSG_NULL;
    const uint16_t result = CallSource(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    if (result == TWRC_FAILURE)
        return false;
    switch (event.message) {
    case MSG_XFERREADY:
        if (!m_transferring) {
            m_state = kTwainTransferReady;
            TransferPages();
        }
        break;
    case MSG_CLOSEDSREQ:
    case MSG_CLOSEDSOK:
        if (!m_transferring)
            CloseRequested();
        break;
    default: break;
    }
    return result == TWRC_DSEVENT;
}

bool CTwainSession::StepBackTo(int state)
{
    if (m_transferring)
        return false; // the transfer loop finishes its own steps first
    while (m_state > state) {
        bool stepped = false;
        switch (m_state) {
        case kTwainTransferring: stepped = EndTransfer(); break;
        case kTwainTransferReady: stepped = ResetTransfers(); break;
        case kTwainSourceEnabled: stepped = DisableSource(); break;
        case kTwainSourceOpen: stepped = CloseSource(); break;
        case kTwainManagerOpen: stepped = CloseManager(); break;
        case kTwainManagerLoaded: UnloadManager(); stepped = true; break;
        default: stepped = false; break;
        }
        if (!stepped)
            return false;
    }
    return m_state == state;
}

TwainError CTwainSession::SelectSource(void* window)
{
    const int remembered = m_state;
    TwainError error = TwainError::None;
    if (!OpenManager(window)) {
        error = TwainError::Manager;
    } else {
        Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_source);
        Call(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &m_source);
    }
    StepBackTo(remembered);
    return error;
}

TwainError CTwainSession::Acquire(void* window)
{
    const int remembered = m_state;
    TwainError error = TwainError::None;
    if (m_state < kTwainManagerOpen && !OpenManager(window))
        error = TwainError::Manager;
    else if (m_state < kTwainSourceOpen && !OpenSource())
        error = TwainError::Source;
    else if (m_state < kTwainSourceEnabled && !EnableSource(window))
        error = TwainError::Enable;
    if (error != TwainError::None)
        StepBackTo(remembered);
    return error;
}

unsigned TwainErrorTextId(int error)
{
    switch (error) {
    case static_cast<int>(TwainError::Manager): return IDS_TWAIN_NO_MANAGER;
    case static_cast<int>(TwainError::Source): return IDS_TWAIN_NO_SOURCE;
    case static_cast<int>(TwainError::Enable): return IDS_TWAIN_NO_ENABLE;
    default: return IDS_TWAIN_UNKNOWN_ERROR;
    }
}
