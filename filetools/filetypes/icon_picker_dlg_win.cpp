#include "filetools/filetypes/icon_picker_dlg_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/paths.h"
#include "base/text.h"
#include "filetools/filetypes/choose_file_win.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/filetypes/icon_location.h"
#include "framework/dialog.h"
#include "res/resource.h"
#include "shell/control_helpers_win.h"
#include "shell/dropped_files_win.h"
#include "shell/module_form_win.h"

namespace {
const FormText kTexts[] = {{IDC_ICONPICKER_APPLY, IDS_DATATYPE_APPLY},
                           {IDC_ICONPICKER_CANCEL, IDS_BUTTON_CANCEL},
                           {IDC_ICONPICKER_BROWSE, IDS_BUTTON_BROWSE}};
constexpr int kInitialImages = 9, kImageGrowth = 4;
// The file part of a location is kept as the user's registry has it ("%SystemRoot%" and
// all); only loading expands it.
constexpr const char* kKeepSystemRoot = "%SystemRoot%";

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class CIconPickerDlg : public CDialog {
public:
    explicit CIconPickerDlg(const std::string& location) : CDialog(IDD_ICON_PICKER), m_location(location) {}
    ~CIconPickerDlg() override { DestroyIconIfAny(m_preview); }
    const std::string& Location() const { return m_location; }

protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code) override;

private:
    void LoadIcons(const std::string& file);
    void SelectIcon(int index);
    void ShowPreview(HICON icon);
    void OnNewFile(const std::string& file);
    void OnApply();
    HWND List() const { return Item(IDC_ICONPICKER_LIST); }

    std::string m_location;
    HICON m_preview = nullptr; // owned: the static only draws it
};

bool CIconPickerDlg::OnInitDialog()
{
    SetWindowTextA(m_hwnd, LoadText(IDS_ICONPICKER_TITLE).c_str());
    ApplyControlTexts(m_hwnd, kTexts);
    const IconLocation location = ParseIconLocation(m_location, kKeepSystemRoot);
    LoadIcons(location.file);
    const int count = ListView_GetItemCount(List());
    if (location.index >= 0 && location.index < count) {
        SelectIcon(location.index);
    } else {
        // A resource id (a negative index) or an index past the last icon: nothing in the list
        // stands for it; the preview shows what the location gives.
        ShowPreview(LoadIconFromLocation(m_location));
    }
    EnableWindow(Item(IDC_ICONPICKER_APPLY), FALSE);
    DragAcceptFiles(m_hwnd, TRUE);
    return true;
}

// The icons of `file` become the list; a file without any gives way to shell32.dll.
void CIconPickerDlg::LoadIcons(const std::string& file)
{
    std::string shown = file;
    std::vector<HICON> icons = ExtractAllIcons(ExpandSystemRoot(file, WindowsFolder()));
    if (icons.empty()) {
        shown = JoinPath(SystemFolder(), "Shell32.dll");
        icons = ExtractAllIcons(shown);
    }
    SetDlgItemTextA(m_hwnd, IDC_ICONPICKER_FILE, shown.c_str());

    HWND list = List();
    ListView_DeleteAllItems(list);
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                         ILC_COLOR32 | ILC_MASK, kInitialImages, kImageGrowth);
    HIMAGELIST old = ListView_SetImageList(list, images, LVSIL_NORMAL);
    if (old)
        ImageList_Destroy(old);
    for (size_t i = 0; i < icons.size(); ++i) {
        const int image = ImageList_AddIcon(images, icons[i]);
        DestroyIcon(icons[i]);
        std::string label = FormatText(IDS_ICONPICKER_ITEM, std::to_string(i));
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = label.data();
        item.iImage = image;
        item.lParam = static_cast<LPARAM>(i);
        ListView_InsertItem(list, &item);
    }
}

void CIconPickerDlg::SelectIcon(int index)
{
    HWND list = List();
    ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, index, FALSE);
    ShowPreview(ImageList_GetIcon(ListView_GetImageList(list, LVSIL_NORMAL), index, ILD_NORMAL));
}

void CIconPickerDlg::ShowPreview(HICON icon)
{
    SendDlgItemMessageA(m_hwnd, IDC_ICONPICKER_PREVIEW, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    DestroyIconIfAny(m_preview);
    m_preview = icon;
}

void CIconPickerDlg::OnNewFile(const std::string& file)
{
    LoadIcons(file);
    if (ListView_GetItemCount(List()) > 0)
        SelectIcon(0);
    EnableWindow(Item(IDC_ICONPICKER_APPLY), TRUE);
}

void CIconPickerDlg::OnApply()
{
    const int selected = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    if (selected < 0)
        return;
    m_location = FormatIconLocation(WindowText(Item(IDC_ICONPICKER_FILE)), selected);
    EndDialog(1);
}

bool CIconPickerDlg::OnCommand(WORD id, WORD code)
{
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code);
    switch (id) {
    case IDC_ICONPICKER_APPLY: OnApply(); return true;
    case IDC_ICONPICKER_CANCEL:
    case IDCANCEL: EndDialog(0); return true;
    case IDC_ICONPICKER_BROWSE: {
        ChooseFileRequest request;
        request.filterTextId = IDS_FILTER_ICON_FILES;
        request.extraFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
        const std::string file = ChooseFileToOpen(m_hwnd, request);
        if (!file.empty())
            OnNewFile(file);
        return true;
    }
    default: return CDialog::OnCommand(id, code);
    }
}

std::optional<LRESULT> CIconPickerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES) {
        for (const std::string& file : TakeDroppedFiles(reinterpret_cast<HDROP>(wParam)))
            if (FileExists(file)) {
                OnNewFile(file);
                break;
            }
        return 0;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_ICONPICKER_LIST && header->code == LVN_ITEMCHANGED) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) {
                ShowPreview(ImageList_GetIcon(ListView_GetImageList(List(), LVSIL_NORMAL), change->iItem, ILD_NORMAL));
                EnableWindow(Item(IDC_ICONPICKER_APPLY), TRUE);
            }
            return 0;
        }
        if (header->idFrom == IDC_ICONPICKER_LIST && header->code == NM_DBLCLK) {
            OnApply();
            return 0;
        }
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
} // namespace

std::vector<HICON> ExtractAllIcons(const std::string& file)
{
    std::vector<HICON> icons;
    if (file.empty())
        return icons;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (UINT index = 0;; ++index) {
        HICON icon = ExtractIconA(instance, file.c_str(), index);
        // ExtractIcon answers 1 for a file that holds no icons at all.
        if (reinterpret_cast<UINT_PTR>(icon) <= 1)
            break;
        icons.push_back(icon);
    }
    return icons;
}

bool IconPickerDlg(HWND owner, std::string& iconLocation)
{
    CIconPickerDlg dialog(iconLocation);
    if (dialog.DoModal(owner) != 1)
        return false;
    iconLocation = dialog.Location();
    return true;
}
