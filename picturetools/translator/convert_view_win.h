#pragma once
// The pictures translator (module 14): a list of picture files, the output format, depth,
// JPEG quality or compression and output folder, and a batch run that writes every listed
// file in the chosen format into the output folder.
#include <memory>
#include <string>
#include <vector>

#include "framework/dialog_template.h"
#include "picturetools/translator/convert_item.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"

class CDxToolTip;

// Holds the in-memory form, built before the view base that refers to it.
struct ConvertFormLayout {
    ConvertFormLayout();
    std::unique_ptr<CDialogTemplate> form;
};

class CQnConvert : private ConvertFormLayout, public CQnFormView {
public:
    CQnConvert();
    ~CQnConvert() override;

    void InitModule() override;

    // Adds one file when a codec recognises it; loud adding tells the user when none does.
    bool AddFile(const std::string& path, bool loud);
    // Adds several files with the main window's progress; `rememberFolder` keeps the folder of
    // each file added as the file dialog's next starting folder.
    void AddFiles(const std::vector<std::string>& paths, bool loud, bool rememberFolder = false);
    // Adds every file directly in `folder`, quietly.
    void AddFolder(const std::string& folder);
    // Removes the selected items, last first.
    void RemoveSelected();
    // The batch run over every item in list order.
    void StartBatch();

    // Selects the output format of codec table index `codecIndex` and refills the depths.
    bool SelectFormat(int codecIndex);
    size_t ItemCount() const { return m_items.size(); }
    const ConvertItem& ItemAtRow(int row) const;
    CReportList& List() { return m_list; }
    const std::string& StatusText() const { return m_statusText; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void SetUpList();
    void FillFormats();
    void RefillDepths();
    void RegisterTooltips();
    void OnListChanged();
    void UpdateStartButton();
    void OnAddFilesClicked();
    void OnAddFolderClicked();
    void OnBrowseClicked();
    void OnDropFiles(HDROP drop);
    void ViewItem(int row);
    void DragSelectedOut();
    std::optional<LRESULT> OnListNotify(NMHDR* header);
    int SelectedCodecIndex() const;
    int SelectedBits() const;
    void CaptureLayout();
    void Relayout(int width, int height);

    CReportList m_list;
    std::vector<std::unique_ptr<ConvertItem>> m_items;
    std::string m_statusText;
    bool m_running = false; // a batch run is under way (the overwrite question runs a message loop)
    std::unique_ptr<CDxToolTip> m_tooltip;
    int m_tooltipObserver = 0;

    struct Anchored {
        int id;
        RECT rect;      // at the form's initial size
        bool moveX, moveY, growX, growY;
    };
    std::vector<Anchored> m_anchors;
    SIZE m_initialSize{};
};
