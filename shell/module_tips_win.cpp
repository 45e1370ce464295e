#include "shell/module_tips_win.h"

#include "base/text.h"

void AttachModuleTips(CDxToolTip& tips, HWND form, const CModuleStatus& status, std::span<const FormText> texts)
{
    if (!tips.AttachOwner(form, [&status](const std::string& tip) { status.ShowTip(tip); }))
        return;
    for (const FormText& text : texts)
        tips.AddTool(GetDlgItem(form, text.controlId), LoadText(text.textId));
    tips.RelayFrameworkMessages();
}
