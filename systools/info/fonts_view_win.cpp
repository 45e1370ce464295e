#include "systools/info/fonts_view_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "systools/info/font_viewer_dlg_win.h"
#include "systools/info/info_module.h"

namespace {
const ControlAnchor kAnchors[] = {{IDC_FONTS_LIST, StretchRight | StretchDown}};
const ModuleForm kForm{IDD_FONTS, {}, kAnchors, IDS_FONTS_REPORT_TITLE};

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data)
{
    auto* families = reinterpret_cast<std::vector<FontFamily>*>(data);
    families->push_back({font->lfFaceName, font->lfCharSet});
    return 1;
}
} // namespace

std::unique_ptr<CQnFormView> CreateFontsView() { return std::make_unique<CSysFonts>(); }

CSysFonts::CSysFonts() : CQnFormView(kForm) {}

CSysFonts::~CSysFonts() { SetReportList(nullptr); }

std::vector<FontFamily> CSysFonts::InstalledFamilies()
{
    std::vector<FontFamily> families;
    HDC screen = GetDC(nullptr);
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(screen, &all, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
    ReleaseDC(nullptr, screen);
    return UniqueFamilies(std::move(families));
}

bool CSysFonts::OnInitDialog()
{
    CQnFormView::OnInitDialog();
    m_list.ReplaceControl(m_hwnd, IDC_FONTS_LIST);
    m_list.AddColumns({{IDS_COLUMN_NAME, 300}});
    FitColumn();
    SetReportList(&m_list);
    return false;
}

void CSysFonts::InitModule()
{
    m_list.ShowFamilies(InstalledFamilies());
    m_status.ShowObjectCount(m_list.RowCount(), 0);
}

void CSysFonts::ViewRow(int row)
{
    if (const FontFamily* family = m_list.FamilyOfRow(row))
        ShowFontViewer(GetAncestor(m_hwnd, GA_ROOT), *family);
}

void CSysFonts::FitColumn()
{
    if (!m_list.Hwnd())
        return;
    RECT client;
    GetClientRect(m_list.Hwnd(), &client);
    SendMessageA(m_list.Hwnd(), LVM_SETCOLUMNWIDTH, 0, client.right - GetSystemMetrics(SM_CXVSCROLL));
}

std::optional<LRESULT> CSysFonts::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        if (auto handled = CQnFormView::OnMessage(message, wParam, lParam))
            return handled; // reflected to the list itself
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != IDC_FONTS_LIST)
            return std::nullopt;
        if (header->code == NM_DBLCLK) {
            ViewRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
            return 0;
        }
        if (header->code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_RETURN) {
            ViewRow(static_cast<int>(SendMessageA(m_list.Hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
            return 0;
        }
        return std::nullopt;
    }
    auto result = CQnFormView::OnMessage(message, wParam, lParam);
    if (message == WM_SIZE)
        FitColumn();
    return result;
}
