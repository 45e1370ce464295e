#pragma once
// The disk properties dialog (183): a drive's icon, label, type and file system, its free,
// used and total sizes, and a pie chart of free and used space whose two colours the user
// chooses (stored at once as "FreeColor" and "UsedColor").
#include <windows.h>

#include "framework/dialog.h"
#include "shell/controls/dx_color_win.h"
#include "systools/disks/disk_record.h"

inline constexpr char kFreeColorValue[] = "FreeColor";
inline constexpr char kUsedColorValue[] = "UsedColor";
inline constexpr COLORREF kDefaultFreeColor = RGB(255, 0, 0);
inline constexpr COLORREF kDefaultUsedColor = RGB(0, 0, 255);

class CDiskPropertiesDlg : public CDialog {
public:
    explicit CDiskPropertiesDlg(DiskRecord record);
    ~CDiskPropertiesDlg() override;

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    static void OnColourChanged(void* dialog);
    void StoreColours();
    void PaintChart(HDC dc, const RECT& frame) const;

    DiskRecord m_record;
    CDxColor m_freeColour, m_usedColour;
    HICON m_icon = nullptr;
};

// Shows the modal dialog for `record` over `parent`.
void ShowDiskProperties(const DiskRecord& record, HWND parent);
