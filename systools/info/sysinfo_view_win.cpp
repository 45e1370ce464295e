#include "systools/info/sysinfo_view_win.h"

#include "filetools/properties/os_version.h"
#include "res/resource.h"
#include "systools/info/info_list_win.h"
#include "systools/info/info_module.h"

namespace {
const ControlAnchor kAnchors[] = {{IDC_SYSINFO_LIST, StretchRight | StretchDown}};
const ModuleForm kForm{IDD_SYSINFO, {}, kAnchors, IDS_SYSINFO_REPORT_TITLE};
} // namespace

std::unique_ptr<CQnFormView> CreateSystemInfoView() { return std::make_unique<CSysInfo>(); }

CSysInfo::CSysInfo() : CQnFormView(kForm) {}

CSysInfo::~CSysInfo() { SetReportList(nullptr); }

bool CSysInfo::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_SYSINFO_LIST);
    AddNameValueColumns(m_list, 100, 200);
    FitNameValueColumns(m_list);
    SetReportList(&m_list);
    return false;
}

void CSysInfo::InitModule() { FillInfoList(m_list, SystemInfoRows(ReadSystemFacts())); }

SystemFacts CSysInfo::ReadSystemFacts()
{
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    SystemFacts facts;
    facts.processor.architecture = system.wProcessorArchitecture;
    facts.processor.type = system.dwProcessorType;
    facts.processor.level = system.wProcessorLevel;
    facts.processor.revision = system.wProcessorRevision;
    // 95/98/Me leave the level and revision fields unset.
    facts.revisionGiven = GetOsVersion().isNt;
    facts.processorCount = system.dwNumberOfProcessors;
    facts.allocationGranularity = system.dwAllocationGranularity;
    facts.pageSize = system.dwPageSize;
    facts.minimumAddress = reinterpret_cast<uintptr_t>(system.lpMinimumApplicationAddress);
    facts.maximumAddress = reinterpret_cast<uintptr_t>(system.lpMaximumApplicationAddress);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory)) {
        facts.memoryLoad = memory.dwMemoryLoad;
        facts.totalPhysical = memory.ullTotalPhys;
        facts.freePhysical = memory.ullAvailPhys;
        facts.totalPaging = memory.ullTotalPageFile;
        facts.freePaging = memory.ullAvailPageFile;
        facts.totalUser = memory.ullTotalVirtual;
        facts.freeUser = memory.ullAvailVirtual;
    }
    return facts;
}

std::optional<LRESULT> CSysInfo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto result = CQnFormView::OnMessage(message, wParam, lParam);
    if (message == WM_SIZE)
        FitNameValueColumns(m_list);
    return result;
}
