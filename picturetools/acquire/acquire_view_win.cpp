#include "picturetools/acquire/acquire_view_win.h"

#include <commdlg.h>

#include "app/message.h"
#include "app/paths.h"
#include "app/settings.h"
#include "base/text.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/acquire/acquire_module.h"
#include "picturetools/acquire/acquire_settings.h"
#include "picturetools/acquire/twain_link_win.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/editor_handover_win.h"
#include "shell/module_tips_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
const FormText kTexts[] = {
    {IDC_ACQUIRE_ACQUIRE, IDS_ACQUIRE_ACQUIRE}, {IDC_ACQUIRE_SELECT, IDS_ACQUIRE_SELECT},
    {IDC_ACQUIRE_SAVE, IDS_ACQUIRE_SAVE},       {IDC_ACQUIRE_COPY, IDS_ACQUIRE_COPY},
    {IDC_ACQUIRE_VIEW, IDS_ACQUIRE_VIEW},       {IDC_ACQUIRE_PRINT, IDS_ACQUIRE_PRINT},
    {IDC_ACQUIRE_EDIT, IDS_ACQUIRE_EDIT},       {IDC_ACQUIRE_DELETE, IDS_ACQUIRE_DELETE},
    {IDC_ACQUIRE_WIDTH_LABEL, IDS_ACQUIRE_WIDTH}, {IDC_ACQUIRE_HEIGHT_LABEL, IDS_ACQUIRE_HEIGHT},
};
// The tabs and the preview grow with the form; the buttons and the size follow its right edge.
const ControlAnchor kAnchors[] = {
    {IDC_ACQUIRE_TABS, StretchRight | StretchDown}, {IDC_ACQUIRE_PREVIEW, StretchRight | StretchDown},
    {IDC_ACQUIRE_ACQUIRE, FollowRight},             {IDC_ACQUIRE_SELECT, FollowRight},
    {IDC_ACQUIRE_SAVE, FollowRight},                {IDC_ACQUIRE_COPY, FollowRight},
    {IDC_ACQUIRE_VIEW, FollowRight},                {IDC_ACQUIRE_PRINT, FollowRight},
    {IDC_ACQUIRE_EDIT, FollowRight},                {IDC_ACQUIRE_DELETE, FollowRight},
    {IDC_ACQUIRE_WIDTH_LABEL, FollowRight},         {IDC_ACQUIRE_WIDTH, FollowRight},
    {IDC_ACQUIRE_HEIGHT_LABEL, FollowRight},        {IDC_ACQUIRE_HEIGHT, FollowRight},
};
const FormText kTips[] = {{IDC_ACQUIRE_ACQUIRE, IDS_ACQUIRE_ACQUIRE_TIP}, {IDC_ACQUIRE_SELECT, IDS_ACQUIRE_SELECT_TIP}};
const ModuleForm kForm{IDD_ACQUIRE, kTexts, kAnchors, 0};

const int kPictureButtons[] = {IDC_ACQUIRE_SAVE, IDC_ACQUIRE_COPY,  IDC_ACQUIRE_VIEW,
                               IDC_ACQUIRE_PRINT, IDC_ACQUIRE_EDIT, IDC_ACQUIRE_DELETE};

// "a|b||" as the open file name structure wants it: "a\0b\0\0".
std::string DialogFilter(const std::string& text)
{
    std::string filter = text;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    return filter + std::string(2, '\0');
}
} // namespace

CQnTwain::CQnTwain() : CQnFormView(kForm) {}

CQnTwain::~CQnTwain()
{
    if (CTwainLink* link = MainTwainLink())
        link->SetPictureReceiver(nullptr);
    SetPicturePrinter(nullptr);
}

std::unique_ptr<CQnFormView> CreateAcquireView() { return std::make_unique<CQnTwain>(); }

bool CQnTwain::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    // The preview takes the place (and id) of the template's frame, above the tab control.
    HWND frame = Item(IDC_ACQUIRE_PREVIEW);
    RECT rect{};
    GetWindowRect(frame, &rect);
    MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
    DestroyWindow(frame);
    m_preview.CreateControl(m_hwnd, IDC_ACQUIRE_PREVIEW, rect);
    SetWindowPos(m_preview.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetPicturePrinter(&m_preview.Printer());

    m_tabs.Attach(Item(IDC_ACQUIRE_TABS));
    m_tabs.SetCurrentCallback([this] { ShowCurrent(); });
    AttachModuleTips(m_tips, m_hwnd, m_status, kTips);
    if (CTwainLink* link = MainTwainLink())
        link->SetPictureReceiver([this](std::unique_ptr<CPicture> picture) { ReceivePicture(std::move(picture)); });
    ShowCurrent();
    return false;
}

void CQnTwain::ReceivePicture(std::unique_ptr<CPicture> picture)
{
    m_tabs.Add(std::move(picture), FormatText(IDS_ACQUIRE_PAGE, std::to_string(m_tabs.List().Count() + 1)));
}

void CQnTwain::ShowCurrent()
{
    const CPicture* picture = m_tabs.Current();
    m_preview.SetPicture(picture, false);
    const std::string none = LoadText(IDS_ACQUIRE_NO_SIZE);
    SetDlgItemTextA(m_hwnd, IDC_ACQUIRE_WIDTH, picture ? std::to_string(picture->Width()).c_str() : none.c_str());
    SetDlgItemTextA(m_hwnd, IDC_ACQUIRE_HEIGHT, picture ? std::to_string(picture->Height()).c_str() : none.c_str());
    for (int id : kPictureButtons)
        EnableWindow(Item(id), picture != nullptr);
}

void CQnTwain::SaveCurrent()
{
    const CPicture* current = m_tabs.Current();
    if (!current)
        return;
    const std::string title = LoadText(IDS_ACQUIRE_SAVE_TITLE);
    const std::string filter = DialogFilter(LoadText(IDS_ACQUIRE_SAVE_FILTER));
    const std::string folder = ReadSaveBmpDirectory();
    char file[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetAncestor(m_hwnd, GA_ROOT);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = "BMP";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog))
        return;
    const std::string path = file;
    CPicture copy;
    bool written = false;
    {
        CBusyScope busy;
        busy.Step(0, LoadText(IDS_ACQUIRE_SAVING));
        // The codec may bring the picture to its depth: it works on a copy.
        written = copy.CopyFrom(*current) && BmpCodec().WriteFile(path, &copy, 24, false, &busy.Progress()) != 0;
    }
    WriteSaveBmpDirectory(WithoutTrailingSeparator(PathFolderPart(path)));
    if (!written)
        ShowMessage(FormatText(IDS_CANNOT_WRITE_FILE, path));
}

bool CQnTwain::OnCommand(WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return CQnFormView::OnCommand(id, code);
    const CPicture* picture = m_tabs.Current();
    switch (id) {
    case IDC_ACQUIRE_ACQUIRE:
        if (CTwainLink* link = MainTwainLink())
            link->Acquire();
        else
            ShowMessage(TwainErrorMessage(static_cast<int>(TwainError::Manager)));
        return true;
    case IDC_ACQUIRE_SELECT:
        if (CTwainLink* link = MainTwainLink())
            link->SelectSource();
        else
            ShowMessage(TwainErrorMessage(static_cast<int>(TwainError::Manager)));
        return true;
    case IDC_ACQUIRE_SAVE: SaveCurrent(); return true;
    case IDC_ACQUIRE_COPY:
        if (picture)
            m_preview.CopyToClipboard();
        return true;
    case IDC_ACQUIRE_VIEW:
        if (picture)
            ShowPicture(const_cast<CPicture*>(picture), false);
        return true;
    case IDC_ACQUIRE_PRINT:
        if (picture)
            PrintPicture(picture, false);
        return true;
    case IDC_ACQUIRE_EDIT:
        if (picture)
            HandPictureToEditor(GetAncestor(m_hwnd, GA_ROOT), *picture);
        return true;
    case IDC_ACQUIRE_DELETE: m_tabs.DeleteCurrent(); return true;
    default: return CQnFormView::OnCommand(id, code);
    }
}
