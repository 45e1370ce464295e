#include "shell/image_tab_strip_win.h"

#include "base/text.h"

namespace {
constexpr int kImageGrowth = 4;
}

CImageTabStrip::~CImageTabStrip()
{
    m_parentHook.Remove();
    if (m_tabs && IsWindow(m_tabs))
        TabCtrl_SetImageList(m_tabs, nullptr);
    if (m_images)
        ImageList_Destroy(m_images);
}

bool CImageTabStrip::Create(HWND parent, UINT id, const RECT& rect)
{
    EnsureCommonControls();
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                                nullptr);
    if (!tabs)
        return false;
    // The form's font, or the dialog font when the parent has none.
    WPARAM font = SendMessageA(parent, WM_GETFONT, 0, 0);
    if (!font)
        font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(tabs, WM_SETFONT, font, FALSE);
    if (!Prepare(tabs)) {
        DestroyWindow(tabs);
        return false;
    }
    return true;
}

bool CImageTabStrip::Attach(HWND tabControl) { return tabControl && Prepare(tabControl); }

bool CImageTabStrip::Prepare(HWND tabControl)
{
    if (m_tabs)
        return false; // one control per strip
    m_images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, kImageGrowth, kImageGrowth);
    if (!m_images)
        return false;
    if (!m_parentHook.Install(GetParent(tabControl),
                              [this](UINT message, WPARAM, LPARAM lParam) { return OnParentMessage(message, lParam); })) {
        ImageList_Destroy(m_images);
        m_images = nullptr;
        return false;
    }
    m_tabs = tabControl;
    TabCtrl_SetImageList(m_tabs, m_images);
    return true;
}

int CImageTabStrip::AddBitmapResource(UINT bitmapId, COLORREF key)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId));
    if (!bitmap)
        return -1;
    const int image = AddBitmap(bitmap, key);
    DeleteObject(bitmap);
    return image;
}

int CImageTabStrip::AddBitmap(HBITMAP bitmap, COLORREF key)
{
    if (!m_images || !bitmap)
        return -1;
    return key == CLR_NONE ? ImageList_Add(m_images, bitmap, nullptr) : ImageList_AddMasked(m_images, bitmap, key);
}

int CImageTabStrip::AddIcon(HICON icon)
{
    return m_images && icon ? ImageList_AddIcon(m_images, icon) : -1;
}

bool CImageTabStrip::ReplaceImage(int image, HBITMAP bitmap)
{
    return m_images && bitmap && ImageList_Replace(m_images, image, bitmap, nullptr);
}

void CImageTabStrip::RemoveImage(int image)
{
    // The control renumbers the tabs' images as the list shrinks.
    if (m_tabs && image >= 0 && image < ImageCount())
        TabCtrl_RemoveImage(m_tabs, image);
}

int CImageTabStrip::ImageCount() const { return m_images ? ImageList_GetImageCount(m_images) : 0; }

int CImageTabStrip::AddTab(const std::string& text, int image) { return InsertTab(Count(), text, image); }

int CImageTabStrip::AddTab(UINT textId, UINT bitmapId, COLORREF key)
{
    return AddTab(LoadText(textId), AddBitmapResource(bitmapId, key));
}

int CImageTabStrip::InsertTab(int position, const std::string& text, int image)
{
    if (!m_tabs)
        return -1;
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = image;
    return static_cast<int>(SendMessageA(m_tabs, TCM_INSERTITEMA, position, reinterpret_cast<LPARAM>(&item)));
}

bool CImageTabStrip::RemoveTab(int tab) { return m_tabs && TabCtrl_DeleteItem(m_tabs, tab); }

void CImageTabStrip::RemoveAllTabs()
{
    if (m_tabs)
        TabCtrl_DeleteAllItems(m_tabs);
}

int CImageTabStrip::Count() const { return m_tabs ? TabCtrl_GetItemCount(m_tabs) : 0; }

std::string CImageTabStrip::TabText(int tab) const
{
    char text[MAX_PATH] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!m_tabs || !SendMessageA(m_tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item)))
        return {};
    return text;
}

int CImageTabStrip::TabImage(int tab) const
{
    TCITEMA item{};
    item.mask = TCIF_IMAGE;
    if (!m_tabs || !SendMessageA(m_tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

int CImageTabStrip::Selection() const { return m_tabs ? TabCtrl_GetCurSel(m_tabs) : -1; }

bool CImageTabStrip::Select(int tab)
{
    if (!m_tabs || tab < 0 || tab >= Count())
        return false;
    TabCtrl_SetCurSel(m_tabs, tab);
    return true;
}

RECT CImageTabStrip::PageRect() const
{
    RECT area{};
    if (!m_tabs)
        return area;
    GetWindowRect(m_tabs, &area);
    MapWindowPoints(nullptr, GetParent(m_tabs), reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(m_tabs, FALSE, &area);
    return area;
}

std::optional<LRESULT> CImageTabStrip::OnParentMessage(UINT message, LPARAM lParam)
{
    if (message != WM_NOTIFY || !m_tabs)
        return std::nullopt;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == m_tabs && header->code == TCN_SELCHANGE && m_onSelect)
        m_onSelect(Selection());
    return std::nullopt; // the parent sees the notification too
}
