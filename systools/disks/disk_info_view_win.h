#pragma once
// The disks information module (module 11): the drives C: to Z: with label, type, sizes,
// serial, maximum name length and file system; the selected drive's label and icon to change
// (the icon through the drive's "autorun.inf"); open, browse and a properties dialog with a
// pie chart. Its form is IDD_DISKINFO.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/apply_tracker_win.h"
#include "shell/controls/dx_tooltip_win.h"
#include "shell/module_status_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "systools/disks/disk_record.h"
#include "systools/disks/disk_system.h"

class CDiskInfo : public CQnFormView {
public:
    // The system's drives, or those of `system` (tests).
    CDiskInfo();
    explicit CDiskInfo(std::unique_ptr<IDiskSystem> system);
    ~CDiskInfo() override;

    // Enumerates the drives, rebuilds the icons and rows, selects row 0.
    void InitModule() override;

    const std::vector<DiskRecord>& Records() const { return m_records; }
    // The record of a list row (null out of range).
    const DiskRecord* RecordOfRow(int row) const;
    int SelectedRow() const;
    const std::string& PendingIconLocation() const { return m_pendingIcon; }
    // The pending icon as "&Change" would set it, after the picker's Apply.
    void SetPendingIcon(const std::string& location);
    // "&Reset": the drive type's default icon, when it has one.
    void ResetIcon();
    // "&Apply": writes label and icon; false when the drive's icon file could not be written.
    bool ApplyChanges();

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void Fill();
    bool WriteChanges();
    void FillRowCells(int row, const DiskRecord& record);
    void OnSelectionChanged();
    void ShowPendingIcon();
    void ChangeIcon();
    void OpenSelected();
    void BrowseSelected();
    void ShowPropertiesOfSelected();
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    DiskRecord* SelectedRecord();
    int AddSmallIcon(const std::string& root, const std::string& location);

    std::unique_ptr<IDiskSystem> m_system;
    std::vector<DiskRecord> m_records; // row data is the index here
    CReportList m_list;
    CApplyTracker m_apply;
    CModuleStatus m_status;
    CDxToolTip m_tips; // after m_status, which its texts give way to
    HIMAGELIST m_smallIcons = nullptr;
    HICON m_shownIcon = nullptr;
    std::string m_pendingIcon;
    bool m_iconChanged = false; // Change or Reset since the drive was selected
    int m_shownRecord = -1;
    bool m_filling = false;
};
