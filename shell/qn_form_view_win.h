#pragma once
// The base of every module view: registers the report list (or picture printer) that Save,
// Print and Print Preview act on, offers those commands with their enable rules, exports the
// list as text, CSV or HTML, and prints it through the framework's print loop and preview.
#include <optional>
#include <string>

#include "framework/form_view.h"
#include "res/resource.h"
#include "shell/module_form_win.h"

class CReportList;
class CPicture;
class CDialogTemplate;

class CQnFormView : public CFormView {
public:
    explicit CQnFormView(UINT templateId);
    explicit CQnFormView(const CDialogTemplate* layout);
    // A form declared as data: its template, control texts, anchors and report title.
    explicit CQnFormView(const ModuleForm& form);
    ~CQnFormView() override;

    // The module's own initialisation after the view is shown (fills its list).
    virtual void InitModule() {}

    void SetReportList(CReportList* list) { m_list = list; }
    CReportList* ReportList() const { return m_list; }
    void SetPicturePrinter(CReportList* printer) { m_picturePrinter = printer; }
    CReportList* PicturePrinter() const { return m_picturePrinter; }
    void PrintPicture(const CPicture* picture, bool preview);
    const std::string& ReportTitle() const { return m_reportTitle; }
    // A module's own report title in place of the product name.
    void SetReportTitle(const std::string& title) { m_reportTitle = title; }

    bool CanPrint();
    bool CanSave();
    // Writes the current list to `path` in the format of its extension, with progress in the
    // main window; true when the file was written completely.
    bool SaveListTo(const std::string& path);

    // Whether the picture viewer window is open (it prints through the module view).
    static void SetPictureViewerOpen(bool open);

    bool RunCommand(UINT id) override;
    std::optional<bool> IsCommandEnabled(UINT id) override;

    bool OnPreparePrinting(CPrintInfo& info) override;
    void OnBeginPrinting(HDC dc, CPrintInfo& info) override;
    void OnPrint(HDC dc, CPrintInfo& info) override;
    void OnEndPrinting(HDC dc, CPrintInfo& info) override;

protected:
    // Puts the control texts in and notes the layout; a module calls it first.
    bool OnInitDialog() override;
    // Lays the anchored controls out on WM_SIZE.
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnSaveToDisk();
    CReportList* Printer() const;

private:
    static const CommandEntry<CQnFormView> s_commands[3];
    std::string m_reportTitle;
    ModuleForm m_form;
    CFormLayout m_layout;
    CReportList* m_list = nullptr;
    CReportList* m_picturePrinter = nullptr;
    bool m_pictureFlag = false;
    bool m_previewing = false;
};

// The in-memory template of a form without controls (child, no border of its own).
const CDialogTemplate& EmptyFormTemplate();
