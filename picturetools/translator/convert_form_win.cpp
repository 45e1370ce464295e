#include "picturetools/translator/convert_form_win.h"

#include <windows.h>

#include <commctrl.h>

#include "app/text.h"
#include "framework/dialog_template.h"
#include "res/resource.h"

namespace {
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;
} // namespace

// Dialog units. The list takes the top; the buttons and output settings sit below it and
// follow the bottom edge when the view is resized (see CQnConvert::Relayout).
std::unique_ptr<CDialogTemplate> BuildConvertForm()
{
    auto form = std::make_unique<CDialogTemplate>(WS_CHILD | DS_CONTROL, WS_EX_CONTROLPARENT, 0, 0, 400, 262, "");
    form->AddControl(WC_LISTVIEWA, "", IDC_TRANSLATOR_LIST,
                     kChild | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS, 7, 7, 386, 150,
                     WS_EX_CLIENTEDGE);
    form->AddControl(CDialogTemplate::Button, LoadText(IDS_BUTTON_ADD_FILES), IDC_TRANSLATOR_ADD_FILES, kButton, 7,
                     162, 80, 14);
    form->AddControl(CDialogTemplate::Button, LoadText(IDS_BUTTON_ADD_FOLDER), IDC_TRANSLATOR_ADD_FOLDER, kButton,
                     92, 162, 80, 14);
    form->AddControl(CDialogTemplate::Button, LoadText(IDS_BUTTON_REMOVE), IDC_TRANSLATOR_REMOVE, kButton, 177, 162,
                     80, 14);

    form->AddControl(CDialogTemplate::Static, LoadText(IDS_LABEL_OUTPUT_FOLDER), IDC_TRANSLATOR_OUTPUT_LABEL,
                     kLabel, 7, 187, 72, 8);
    form->AddControl(CDialogTemplate::Edit, "", IDC_TRANSLATOR_OUTPUT,
                     kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 82, 185, 290, 12);
    form->AddControl(CDialogTemplate::Button, LoadText(IDS_BUTTON_BROWSE), IDC_TRANSLATOR_BROWSE, kButton, 376, 185,
                     17, 12);

    form->AddControl(CDialogTemplate::Static, LoadText(IDS_LABEL_TYPE), IDC_TRANSLATOR_TYPE_LABEL, kLabel, 7, 205,
                     72, 8);
    form->AddControl(WC_COMBOBOXA, "", IDC_TRANSLATOR_TYPE, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 82,
                     203, 200, 160);
    form->AddControl(CDialogTemplate::Static, LoadText(IDS_LABEL_COLOR_DEPTH), IDC_TRANSLATOR_DEPTH_LABEL, kLabel, 7,
                     223, 72, 8);
    form->AddControl(WC_COMBOBOXA, "", IDC_TRANSLATOR_DEPTH, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                     82, 221, 200, 100);

    form->AddControl(CDialogTemplate::Static, LoadText(IDS_LABEL_JPEG_QUALITY), IDC_TRANSLATOR_QUALITY_LABEL, kLabel,
                     7, 241, 72, 8);
    form->AddControl(CDialogTemplate::Edit, "", IDC_TRANSLATOR_QUALITY,
                     kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 82, 239, 36, 12);
    form->AddControl(UPDOWN_CLASSA, "", IDC_TRANSLATOR_QUALITY_SPIN,
                     kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                     0, 0);
    form->AddControl(CDialogTemplate::Button, LoadText(IDS_CHECK_COMPRESS), IDC_TRANSLATOR_COMPRESS,
                     kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 140, 239, 100, 12);

    form->AddControl(CDialogTemplate::Button, LoadText(IDS_BUTTON_START), IDC_TRANSLATOR_START,
                     kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 329, 237, 64, 16);
    return form;
}
