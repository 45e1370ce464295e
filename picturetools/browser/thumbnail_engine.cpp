#include "picturetools/browser/thumbnail_engine.h"

#include <chrono>
#include <thread>

#include "app/registry_access.h"
#include "app/services.h"
#include "base/progress.h"
#include "picturetools/browser/browser_files.h"
#include "picturetools/browser/folder_scan.h"

CBrowsePicture::CBrowsePicture(CBrowserFiles& files, std::function<void()> pump)
    : m_files(files), m_pump(std::move(pump))
{
}

CBrowsePicture::~CBrowsePicture()
{
    // No message loop to keep alive any more: just wait.
    m_stop = true;
    m_thread.Join();
}

void CBrowsePicture::WaitForWorker(bool stop)
{
    if (stop)
        m_stop = true;
    while (m_running.load()) {
        if (m_pump)
            m_pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_thread.Join();
}

void CBrowsePicture::Stop()
{
    if (m_inRequest)
        return;
    m_inRequest = true;
    WaitForWorker(true);
    m_inRequest = false;
}

void CBrowsePicture::Wait()
{
    if (m_inRequest)
        return;
    m_inRequest = true;
    WaitForWorker(false);
    m_inRequest = false;
}

bool CBrowsePicture::BrowseFolder(const BrowseRequest& request)
{
    if (m_inRequest)
        return false; // asked again from a message handled while waiting
    m_inRequest = true;
    WaitForWorker(true);
    bool started = true;
    if (!request.folder.empty()) {
        m_stop = false;
        m_running = true;
        started = m_thread.Start([this, request] { Run(request); });
        if (!started)
            m_running = false;
    }
    m_inRequest = false;
    return started;
}

void CBrowsePicture::Run(BrowseRequest request)
{
    CQnProgress& progress = ProgressOrSilent(request.progress);
    progress.Begin();
    try {
        CFolderScan scan(m_files, request, m_stop, progress);
        scan.Run();
    } catch (...) {
        // The worker ends quietly; the caller sees no end event.
    }
    progress.End();
    m_running = false;
}

bool BrowseFolder(const BrowseRequest& request)
{
    // Never destroyed: the worker may outlive the static destructors' turn at exit.
    static CRegistryAccess* registry = new CRegistryAccess;
    static CBrowserFiles* files = new CBrowserFiles(*registry, SystemTempPath());
    static CBrowsePicture* browser = new CBrowsePicture(*files);
    return browser->BrowseFolder(request);
}
