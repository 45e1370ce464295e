#include "shell/message_box_win.h"

#include <windows.h>

#include <commctrl.h>

#include "framework/dialog.h"
#include "framework/frame.h"
#include "framework/print.h"
#include "res/resource.h"
#include "shell/gdi_helpers_win.h"

namespace {
enum : WORD { IdText = 1000, IdAnimation = 1001 };

// CR LF line ends for the edit control.
std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

class CMessageDialog : public CDialog {
public:
    CMessageDialog(const CDialogTemplate* layout, std::string text)
        : CDialog(layout), m_text(WithCrLf(text))
    {
    }

protected:
    bool OnInitDialog() override
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MESSAGE))) {
            SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        m_font.Reset(CreateSimpleFont("Courier New", 15, FW_NORMAL));
        SendMessageA(Item(IdText), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
        SetDlgItemTextA(m_hwnd, IdText, m_text.c_str());
        SendMessageA(Item(IdAnimation), ACM_OPENA, reinterpret_cast<WPARAM>(instance),
                     reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(IDR_AVI_BUSY)));
        SendMessageA(Item(IdAnimation), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, 0xFFFF));
        return true;
    }

    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(IdText)) {
            // The read-only text keeps the window colours.
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        return CDialog::OnMessage(message, wParam, lParam);
    }

    bool OnCommand(WORD id, WORD code) override
    {
        if (id == IDYES || id == IDNO) {
            EndDialog(id);
            return true;
        }
        return CDialog::OnCommand(id, code);
    }

private:
    std::string m_text;
    GdiObject<HFONT> m_font;
};

MessageAnswer HandleMessage(const std::string& text, MessageButtons buttons)
{
    return ShowMessageBox(text, buttons);
}

void FrameworkMessage(const std::string& text) { ShowMessageBox(text, MessageButtons::Ok); }
} // namespace

MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons, const std::string& caption)
{
    const bool ask = buttons == MessageButtons::YesNo;
    CDialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0, 0, 300, 130,
                           caption.empty() ? "Quenta - Message" : caption);
    layout.AddControl("SysAnimate32", "", IdAnimation, WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT | ACS_CENTER, 8, 10,
                      34, 34);
    layout.AddControl(CDialogTemplate::Edit, "", IdText,
                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                      50, 8, 242, 92);
    if (ask) {
        layout.AddControl(CDialogTemplate::Button, "&Yes", IDYES,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 186, 108, 50, 14);
        layout.AddControl(CDialogTemplate::Button, "&No", IDNO, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                          242, 108, 50, 14);
    } else {
        layout.AddControl(CDialogTemplate::Button, "&OK", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          242, 108, 50, 14);
    }
    CMessageDialog dialog(&layout, text);
    HWND owner = CFrameWindow::Main() ? CFrameWindow::Main()->Hwnd() : GetActiveWindow();
    const INT_PTR result = dialog.DoModal(owner);
    if (!ask)
        return MessageAnswer::Ok;
    return result == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

void InstallMessageBox()
{
    SetMessageHandler(HandleMessage);
    SetFrameworkMessageFunction(FrameworkMessage);
}
