#include "systools/info/wininfo_view_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "base/text.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/properties/file_record.h"
#include "filetools/properties/os_version.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/module_records.h"
#include "systools/info/info_list_win.h"
#include "systools/info/info_module.h"
#include "systools/info/print_choice_dlg_win.h"

namespace {
const FormText kTexts[] = {{IDC_WININFO_OWNER_LABEL, IDS_WININFO_OWNER},
                           {IDC_WININFO_ORGANIZATION_LABEL, IDS_WININFO_ORGANIZATION}};
const ControlAnchor kAnchors[] = {
    {IDC_WININFO_ORGANIZATION, StretchRight},
    {IDC_WININFO_LIST, StretchRight},
    {IDC_WININFO_TABS, StretchRight},
    {IDC_WININFO_FILES, StretchRight | StretchDown},
};
const ModuleForm kForm{IDD_WININFO, kTexts, kAnchors, IDS_WININFO_REPORT_TITLE};

// The examined files of each tab, kept for the whole run of the program.
template <int Tab>
struct TabFiles {};

template <int Tab>
ModuleRecords<FileRecord, TabFiles<Tab>>& RecordsOfTab()
{
    return ModuleRecords<FileRecord, TabFiles<Tab>>::Shared();
}

// Calls `action` with the records of `tab`.
template <class Action>
void WithTabRecords(SystemFileTab tab, Action&& action)
{
    switch (tab) {
    case SystemFileTab::SharedDll: action(RecordsOfTab<0>()); break;
    case SystemFileTab::SystemDll: action(RecordsOfTab<1>()); break;
    case SystemFileTab::SystemExe: action(RecordsOfTab<2>()); break;
    }
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string SystemFolder()
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string TemporaryFolder()
{
    char folder[MAX_PATH + 1] = "";
    GetTempPathA(MAX_PATH + 1, folder);
    return folder;
}

// A text value of the key; values of another type or that cannot be read count as absent.
bool ReadTextValue(HKEY key, const std::string& name, std::string& text)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::string buffer(size + 1, '\0');
    DWORD read = size;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) !=
        ERROR_SUCCESS)
        return false;
    buffer.resize(std::min<size_t>(read, buffer.size()));
    const size_t end = buffer.find('\0');
    text = buffer.substr(0, end);
    return true;
}

// The display depth, with the 5-5-5 test of a 16-bit display.
int DisplayBits(HDC screen)
{
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    if (bits != 16)
        return bits;
    unsigned white = 0;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetPixel(memory, 0, 0, RGB(255, 255, 255));
        SelectObject(memory, old);
        WORD pixel[2] = {};
        if (GetBitmapBits(bitmap, sizeof pixel, pixel) > 0)
            white = pixel[0];
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    return ReportedDisplayBits(bits, white);
}

constexpr DWORD kStepInterval = 100; // ms between progress steps

// "Examining "name" (n/count)..." for a file of the list.
std::string ExaminingText(const std::string& format, const std::string& path, size_t number, size_t count)
{
    const size_t slash = path.find_last_of("\\/");
    char text[MAX_PATH + 128];
    std::snprintf(text, sizeof text, format.c_str(), (slash == std::string::npos ? path : path.substr(slash + 1)).c_str(),
                  static_cast<int>(number), static_cast<int>(count));
    return text;
}

constexpr int kColumnVersion = 1, kColumnSize = 2, kColumnModified = 3, kColumnAttributes = 4,
              kColumnProduct = 5, kColumnFolder = 6;
} // namespace

std::unique_ptr<CQnFormView> CreateWindowsInfoView() { return std::make_unique<CWinInfo>(); }

CWinInfo::CWinInfo() : CQnFormView(kForm) {}

CWinInfo::~CWinInfo()
{
    *m_alive = false;
    SetReportList(nullptr);
    m_files.SetImageList(nullptr, LVSIL_SMALL);
    if (m_fileIcons)
        ImageList_Destroy(m_fileIcons);
}

WindowsFacts CWinInfo::ReadWindowsFacts()
{
    WindowsFacts facts;
    facts.nt = GetOsVersion().isNt;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, WindowsVersionKey(facts.nt), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        for (const std::string& name : WindowsValueNames(facts.nt)) {
            std::string text;
            if (ReadTextValue(key, name, text))
                facts.values[name] = text;
        }
        RegCloseKey(key);
    }
    HDC screen = GetDC(nullptr);
    facts.displayBits = DisplayBits(screen);
    facts.screenWidth = GetDeviceCaps(screen, HORZRES);
    facts.screenHeight = GetDeviceCaps(screen, VERTRES);
    if (facts.nt) {
        // VREFRESH gives 0 or 1 for "the hardware's default"; the display mode knows better.
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        facts.frequency = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1
                              ? static_cast<int>(mode.dmDisplayFrequency)
                              : GetDeviceCaps(screen, VREFRESH);
    }
    ReleaseDC(nullptr, screen);
    facts.windowsFolder = WindowsFolder();
    facts.systemFolder = SystemFolder();
    facts.temporaryFolder = TemporaryFolder();
    return facts;
}

bool CWinInfo::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_info.ReplaceControl(m_hwnd, IDC_WININFO_LIST);
    AddNameValueColumns(m_info, 180, 400);
    FitNameValueColumns(m_info);
    m_files.ReplaceControl(m_hwnd, IDC_WININFO_FILES);
    m_files.AddColumns({{IDS_COLUMN_NAME, 130},
                        {IDS_COLUMN_VERSION, 110},
                        {IDS_COLUMN_SIZE, 70, SortKind::Number, AlignRight},
                        {IDS_COLUMN_MODIFIED, 120, SortKind::DateTime},
                        {IDS_COLUMN_ATTRIBUTES, 70, SortKind::TextNoCase, AlignRight},
                        {IDS_COLUMN_PRODUCT, 200},
                        {IDS_COLUMN_FOLDER, 160}});
    m_fileIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 16, 16);
    m_files.SetImageList(m_fileIcons, LVSIL_SMALL);

    m_tabs.Attach(Item(IDC_WININFO_TABS));
    for (UINT textId : {IDS_WININFO_SHARED_DLL, IDS_WININFO_SYSTEM_DLL, IDS_WININFO_SYSTEM_EXE})
        m_tabs.AddTab(LoadText(textId), -1);
    m_tabs.SetSelectionCallback([this](int tab) { ShowTab(tab); });
    SetReportList(&m_info);
    return false;
}

void CWinInfo::InitModule()
{
    m_facts = ReadWindowsFacts();
    SetDlgItemTextA(m_hwnd, IDC_WININFO_OWNER, RegisteredOwner(m_facts).c_str());
    SetDlgItemTextA(m_hwnd, IDC_WININFO_ORGANIZATION, RegisteredOrganization(m_facts).c_str());
    FillInfoList(m_info, WindowsInfoRows(m_facts));
    UpdateWindow(m_hwnd);
    ShowTab(0);
}

void CWinInfo::ShowTab(int tab)
{
    if (tab < 0 || tab >= kSystemFileTabCount)
        return;
    if (m_tabs.Selection() != tab)
        m_tabs.Select(tab);
    m_tab = tab;
    const std::shared_ptr<bool> alive = m_alive;
    WithTabRecords(static_cast<SystemFileTab>(tab), [&](auto& records) {
        if (!records.IsBuilt())
            BuildTabRecords(static_cast<SystemFileTab>(tab));
    });
    if (*alive)
        FillFiles();
}

void CWinInfo::BuildTabRecords(SystemFileTab tab)
{
    m_files.DeleteAllRows();
    UpdateWindow(m_hwnd);
    const std::vector<std::string> paths = SystemFilePaths(tab, m_facts.windowsFolder, m_facts.systemFolder);
    const std::string format = LoadText(IDS_EXAMINING_ITEM);
    FileTypeIconCache& icons = TheFileTypeIconCache();
    CBusyScope busy;
    busy.SetRange(static_cast<int64_t>(paths.size()));
    bool complete = true;
    // The status and the bar move ten times a second: drawing them for every file would cost
    // more than examining it.
    DWORD lastStep = GetTickCount() - kStepInterval;
    WithTabRecords(tab, [&](auto& records) {
        records.Clear();
        for (size_t i = 0; i < paths.size(); ++i) {
            const std::string& path = paths[i];
            const DWORD now = GetTickCount();
            if (now - lastStep >= kStepInterval) {
                lastStep = now;
                if (!busy.Step(static_cast<int64_t>(i), ExaminingText(format, path, i + 1, paths.size()))) {
                    complete = false; // the next visit examines the folder again
                    break;
                }
            }
            FileRecord record;
            BuildFileRecord(record, path, false);
            const DWORD attributes = GetFileAttributesA(path.c_str());
            record.attributes = attributes == INVALID_FILE_ATTRIBUTES ? std::string() : AttributesTextRAHS(attributes);
            record.iconIndex = icons.IndexOf(path);
            records.Append(std::move(record));
        }
        if (complete)
            records.MarkBuilt();
    });
}

void CWinInfo::AddFileIcons()
{
    FileTypeIconCache& icons = TheFileTypeIconCache();
    HICON fallback = LoadIcon(nullptr, IDI_APPLICATION);
    for (int slot = ImageList_GetImageCount(m_fileIcons); slot < icons.Count(); ++slot) {
        HICON icon = static_cast<HICON>(icons.Icon(slot, true));
        if (ImageList_AddIcon(m_fileIcons, icon ? icon : fallback) < 0)
            ImageList_AddIcon(m_fileIcons, fallback); // slots and images stay in step
    }
}

void CWinInfo::FillFiles()
{
    AddFileIcons();
    m_files.BeginBatch();
    m_files.DeleteAllRows();
    WithTabRecords(static_cast<SystemFileTab>(m_tab), [&](auto& records) {
        for (size_t i = 0; i < records.Count(); ++i) {
            const FileRecord& record = records[i];
            const size_t slash = record.path.find_last_of("\\/");
            const std::string name = slash == std::string::npos ? record.path : record.path.substr(slash + 1);
            const int row = m_files.InsertRow(m_files.RowCount(), name, record.iconIndex, static_cast<intptr_t>(i));
            m_files.SetCellText(row, kColumnVersion, record.version);
            m_files.SetCellText(row, kColumnSize, record.sizeText);
            m_files.SetCellSortKey(row, kColumnSize, static_cast<int64_t>(record.byteSize));
            m_files.SetCellText(row, kColumnModified, record.modifiedText);
            m_files.SetCellSortKey(row, kColumnModified, static_cast<int64_t>(record.modified));
            m_files.SetCellText(row, kColumnAttributes, record.attributes);
            m_files.SetCellText(row, kColumnProduct, record.productName);
            m_files.SetCellText(row, kColumnFolder, record.folder);
        }
    });
    m_files.EndBatch();
}

bool CWinInfo::OnPreparePrinting(CPrintInfo& info)
{
    const std::optional<bool> informationList = AskPrintChoice(GetAncestor(m_hwnd, GA_ROOT));
    if (!informationList)
        return false;
    SetReportList(*informationList ? &m_info : &m_files);
    return CQnFormView::OnPreparePrinting(info);
}

void CWinInfo::OnEndPrinting(HDC dc, CPrintInfo& info)
{
    CQnFormView::OnEndPrinting(dc, info);
    SetReportList(&m_info);
}

std::optional<LRESULT> CWinInfo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto result = CQnFormView::OnMessage(message, wParam, lParam);
    if (message == WM_SIZE)
        FitNameValueColumns(m_info);
    return result;
}

bool CWinInfo::RunCommand(UINT id)
{
    const bool handled = CQnFormView::RunCommand(id);
    // A print job has ended (or never started): Save and the next choice start from the
    // information list again. A preview keeps its list until it closes (OnEndPrinting).
    if (id == ID_FILE_PRINT)
        SetReportList(&m_info);
    return handled;
}
