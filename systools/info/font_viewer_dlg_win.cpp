#include "systools/info/font_viewer_dlg_win.h"

#include <commctrl.h>

#include <algorithm>

#include "base/text.h"
#include "framework/dialog.h"
#include "res/resource.h"
#include "shell/module_form_win.h"
#include "systools/info/character_grid_win.h"
#include "systools/info/info_settings.h"

namespace {
const FormText kTexts[] = {{IDC_FONT_VIEWER_NAME_LABEL, IDS_FONT_VIEWER_NAME},
                           {IDC_FONT_VIEWER_SIZE_LABEL, IDS_FONT_VIEWER_SIZE},
                           {IDCANCEL, IDS_PROPERTIES_CLOSE}};

class CFontViewerDlg : public CDialog {
public:
    explicit CFontViewerDlg(const FontFamily& family) : CDialog(IDD_FONT_VIEWER), m_family(family) {}
    ~CFontViewerDlg() override
    {
        if (m_font)
            DeleteObject(m_font);
    }

protected:
    bool OnInitDialog() override
    {
        SetWindowTextA(m_hwnd, LoadText(IDS_FONT_VIEWER_TITLE).c_str());
        ApplyControlTexts(m_hwnd, kTexts);
        SetDlgItemTextA(m_hwnd, IDC_FONT_VIEWER_NAME, m_family.face.c_str());
        m_size = ReadFontViewerSize();
        SendDlgItemMessageA(m_hwnd, IDC_FONT_VIEWER_SPIN, UDM_SETRANGE32, kFontViewerMinSize, kFontViewerMaxSize);
        SendDlgItemMessageA(m_hwnd, IDC_FONT_VIEWER_SPIN, UDM_SETPOS32, 0, m_size);
        SetDlgItemInt(m_hwnd, IDC_FONT_VIEWER_SIZE, static_cast<UINT>(m_size), FALSE);
        m_grid.Attach(Item(IDC_FONT_VIEWER_TEXT));
        m_ready = true;
        ApplySize();
        return true;
    }

    bool OnCommand(WORD id, WORD code) override
    {
        if (id == IDC_FONT_VIEWER_SIZE && code == EN_CHANGE) {
            if (m_ready) {
                BOOL valid = FALSE;
                const UINT typed = GetDlgItemInt(m_hwnd, IDC_FONT_VIEWER_SIZE, &valid, FALSE);
                if (valid && typed > static_cast<UINT>(kFontViewerMaxSize)) {
                    SetDlgItemInt(m_hwnd, IDC_FONT_VIEWER_SIZE, kFontViewerMaxSize, FALSE); // comes back here
                } else if (valid) {
                    m_size = ClampFontViewerSize(static_cast<int>(typed));
                    ApplySize();
                }
            }
            return true;
        }
        return CDialog::OnCommand(id, code);
    }

    void OnOK() override {} // Enter in the size box keeps the viewer open
    void OnCancel() override
    {
        StoreFontViewerSize(m_size);
        EndDialog(IDCANCEL);
    }

private:
    void ApplySize()
    {
        LOGFONTA description{};
        description.lfHeight = m_size;
        description.lfWeight = FW_NORMAL;
        description.lfCharSet = static_cast<BYTE>(m_family.charSet);
        lstrcpynA(description.lfFaceName, m_family.face.c_str(), LF_FACESIZE);
        HFONT font = CreateFontIndirectA(&description);
        if (!font)
            return;
        m_grid.SetGridFont(font);
        if (m_font)
            DeleteObject(m_font);
        m_font = font;
    }

    FontFamily m_family;
    CCharacterGridView m_grid; // draws in m_font
    HFONT m_font = nullptr;
    int m_size = kFontViewerDefaultSize;
    bool m_ready = false;
};
} // namespace

void ShowFontViewer(HWND owner, const FontFamily& family)
{
    CFontViewerDlg dialog(family);
    dialog.DoModal(owner);
}
