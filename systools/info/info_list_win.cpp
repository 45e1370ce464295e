#include "systools/info/info_list_win.h"

#include "base/text.h"
#include "res/resource.h"
#include "shell/system_image_list_win.h"

void AddNameValueColumns(CReportList& list, int nameWidth, int valueWidth)
{
    list.AddColumns({{IDS_COLUMN_NAME, nameWidth}, {IDS_COLUMN_VALUE, valueWidth}});
}

void FillInfoList(CReportList& list, const InfoRows& rows)
{
    bool withIcons = false;
    list.DeleteAllRows();
    for (const InfoRow& info : rows) {
        if (info.IsSeparator()) {
            list.InsertRow(list.RowCount(), {}, -1);
            continue;
        }
        const int image = info.iconPath.empty() ? -1 : SystemSmallIconIndex(info.iconPath);
        withIcons = withIcons || image >= 0;
        const int row = list.InsertRow(list.RowCount(), LoadText(info.nameId), image);
        list.SetCellText(row, 1, info.value);
    }
    if (withIcons)
        AttachSystemSmallImages(list.Hwnd());
    list.FinishFill();
}

void FitNameValueColumns(CReportList& list)
{
    if (!list.Hwnd())
        return;
    RECT client;
    GetClientRect(list.Hwnd(), &client);
    const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageA(list.Hwnd(), LVM_SETCOLUMNWIDTH, 0, width / 3);
    SendMessageA(list.Hwnd(), LVM_SETCOLUMNWIDTH, 1, width - width / 3);
}
