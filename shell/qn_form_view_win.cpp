#include "shell/qn_form_view_win.h"

#include <commdlg.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/services.h"
#include "app/settings.h"
#include "base/progress.h"
#include "base/text.h"
#include "framework/frame.h"
#include "framework/preview.h"
#include "res/resource.h"
#include "shell/module_host_win.h"
#include "shell/report_export.h"
#include "shell/report_list_win.h"
#include "res/resource.h"

namespace {
constexpr unsigned kAppTitle = IDS_APP_TITLE;
constexpr unsigned kPrintNote = IDS_PRINT_NOTE;
constexpr unsigned kSaveTitle = IDS_SAVE_TITLE;
constexpr unsigned kSaveFilter = IDS_FILTER_SAVE_LIST;
bool g_pictureViewerOpen = false;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
} // namespace

CQnFormView::CQnFormView(UINT templateId) : CFormView(templateId), m_reportTitle(LoadText(IDS_APP_TITLE))
{
    if (IModuleHost* host = ModuleHost())
        host->SetActiveModuleView(this);
}

CQnFormView::CQnFormView(const CDialogTemplate* layout) : CFormView(layout), m_reportTitle(LoadText(IDS_APP_TITLE))
{
    if (IModuleHost* host = ModuleHost())
        host->SetActiveModuleView(this);
}

CQnFormView::CQnFormView(const ModuleForm& form)
    : CFormView(form.templateId), m_reportTitle(LoadText(form.reportTitleId ? form.reportTitleId : kAppTitle)),
      m_form(form)
{
    if (IModuleHost* host = ModuleHost())
        host->SetActiveModuleView(this);
}

bool CQnFormView::OnInitDialog()
{
    ApplyControlTexts(m_hwnd, m_form.texts);
    m_layout.Capture(m_hwnd, m_form.anchors);
    return CFormView::OnInitDialog();
}

std::optional<LRESULT> CQnFormView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED)
        m_layout.Apply(LOWORD(lParam), HIWORD(lParam));
    return CFormView::OnMessage(message, wParam, lParam);
}

const CDialogTemplate& EmptyFormTemplate()
{
    static const CDialogTemplate layout(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT, 0, 0, 400, 300, "");
    return layout;
}

CQnFormView::~CQnFormView()
{
    if (IModuleHost* host = ModuleHost())
        host->ModuleViewDestroyed(this);
}

void CQnFormView::SetPictureViewerOpen(bool open) { g_pictureViewerOpen = open; }

bool CQnFormView::CanPrint()
{
    return g_pictureViewerOpen || (m_list && (m_list->IsPictureMode() || m_list->RowCount() > 0));
}

bool CQnFormView::CanSave() { return m_list && !m_list->IsPictureMode() && m_list->RowCount() > 0; }

const CommandEntry<CQnFormView> CQnFormView::s_commands[3] = {
    {ID_FILE_PRINT, &CQnFormView::OnFilePrint, &CQnFormView::CanPrint},
    {ID_FILE_PRINT_PREVIEW, &CQnFormView::OnFilePrintPreview, &CQnFormView::CanPrint},
    {ID_FILE_SAVE_LIST, &CQnFormView::OnSaveToDisk, &CQnFormView::CanSave},
};

bool CQnFormView::RunCommand(UINT id) { return RunCommandFromTable(*this, s_commands, id); }

std::optional<bool> CQnFormView::IsCommandEnabled(UINT id) { return CommandStateFromTable(*this, s_commands, id); }

void CQnFormView::PrintPicture(const CPicture* picture, bool preview)
{
    m_pictureFlag = true;
    if (m_picturePrinter)
        m_picturePrinter->SetPicture(picture);
    if (IModuleHost* host = ModuleHost())
        host->PostCommand(preview ? ID_FILE_PRINT_PREVIEW : ID_FILE_PRINT);
}

CReportList* CQnFormView::Printer() const { return m_pictureFlag ? m_picturePrinter : m_list; }

void CQnFormView::OnFilePrint()
{
    HWND owner = CFrameWindow::Main() ? CFrameWindow::Main()->Hwnd() : GetParent(m_hwnd);
    PrintDocument(owner, *this);
}

void CQnFormView::OnFilePrintPreview()
{
    if (CFrameWindow* frame = CFrameWindow::Main())
        RunPrintPreview(*frame, *this);
}

bool CQnFormView::OnPreparePrinting(CPrintInfo& info)
{
    info.documentName = m_reportTitle;
    return Printer() != nullptr;
}

void CQnFormView::OnBeginPrinting(HDC dc, CPrintInfo& info)
{
    m_previewing = info.preview;
    if (info.preview)
        if (IModuleHost* host = ModuleHost())
            host->ShowNavigationBars(false);
    CReportList* printer = Printer();
    if (!printer)
        return;
    if (!m_pictureFlag)
        printer->SetPrintTitle(m_reportTitle);
    printer->SetPrintNote(LoadText(IDS_PRINT_NOTE));
    printer->BeginPrinting(dc, info);
}

void CQnFormView::OnPrint(HDC dc, CPrintInfo& info)
{
    CReportList* printer = Printer();
    if (!printer) {
        info.continuePrinting = false;
        return;
    }
    printer->SetProgressSink(&MainWindowProgress());
    printer->PrintPage(dc, info);
}

void CQnFormView::OnEndPrinting(HDC, CPrintInfo&)
{
    if (CReportList* printer = Printer())
        printer->EndPrinting();
    if (m_previewing)
        if (IModuleHost* host = ModuleHost())
            host->ShowNavigationBars(true);
    m_previewing = false;
    m_pictureFlag = false;
}

bool CQnFormView::SaveListTo(const std::string& path)
{
    if (!m_list)
        return false;
    CQnCallbackProgress& sink = MainWindowProgress();
    m_list->SetProgressSink(&sink);
    IModuleHost* host = ModuleHost();
    if (host)
        host->SetBusy(true);
    sink.ResetCancel();
    const ExportResult result = SaveReport(*m_list, path, sink);
    sink.ResetCancel();
    if (host)
        host->SetBusy(false);
    return result == ExportResult::Written;
}

void CQnFormView::OnSaveToDisk()
{
    if (!m_list)
        return;
    const std::string lastFolder = CQnSettings().ReadString("Folders", "SaveToDisk", "");
    std::string filter = LoadText(IDS_FILTER_SAVE_LIST);
    if (filter.empty())
        filter = "Text Files (*.txt)|*.txt|HTML Files (*.htm)|*.htm;*.html|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');
    char file[MAX_PATH] = "";
    char currentFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof currentFolder, currentFolder);
    const std::string title = LoadText(IDS_SAVE_TITLE);
    const DWORD attributes = GetFileAttributesA(lastFolder.c_str());
    const bool lastExists = !lastFolder.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
                            (attributes & FILE_ATTRIBUTE_DIRECTORY);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = CFrameWindow::Main() ? CFrameWindow::Main()->Hwnd() : m_hwnd;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = lastExists ? lastFolder.c_str() : currentFolder;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = "TXT";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn))
        return;
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    CQnSettings().WriteString("Folders", "SaveToDisk", FolderOf(file));
    const bool written = SaveListTo(file);
    SetCursor(old);
    if (written)
        OpenWithShell(file);
}
