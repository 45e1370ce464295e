#include "shell/capture_tabs_win.h"

#include "picture/picture.h"
#include "shell/gdi_helpers_win.h"

HBITMAP BitmapOfPicture(const CPicture& picture)
{
    if (picture.IsEmpty())
        return nullptr;
    HDC screen = GetDC(nullptr);
    // The picture's own block is a packed 24-bit DIB: header, then the rows bottom-up.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.Dib());
    HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, const_cast<CPicture&>(picture).Bits(), info,
                                    DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

namespace {
// Image `image` of the strip becomes `picture`, or a new image is appended (image -1).
bool PutImage(CImageTabStrip& strip, int image, const CPicture& picture)
{
    GdiObject<HBITMAP> bitmap(BitmapOfPicture(picture));
    if (!bitmap)
        return false;
    return image < 0 ? strip.AddBitmap(bitmap.Get()) >= 0 : strip.ReplaceImage(image, bitmap.Get());
}

// Image 0 shows the placeholder (an empty list).
bool PutPlaceholder(CImageTabStrip& strip)
{
    const std::unique_ptr<CPicture> placeholder = CCaptureList::MakePlaceholder();
    return placeholder && PutImage(strip, strip.ImageCount() == 0 ? -1 : 0, *placeholder);
}
} // namespace

bool CCaptureTabs::Create(HWND parent, UINT id, const RECT& rect) { return m_strip.Create(parent, id, rect) && Prepare(); }

bool CCaptureTabs::Attach(HWND tabControl) { return m_strip.Attach(tabControl) && Prepare(); }

bool CCaptureTabs::Prepare()
{
    m_strip.SetSelectionCallback([this](int tab) { OnTabChosen(tab); });
    return PutPlaceholder(m_strip);
}

bool CCaptureTabs::Add(std::unique_ptr<CPicture> picture, const std::string& label)
{
    const size_t before = m_list.CurrentIndex();
    const CCaptureList::ImageChange change = m_list.Add(std::move(picture));
    if (change == CCaptureList::ImageChange::None)
        return false;
    const int index = static_cast<int>(m_list.CurrentIndex());
    const bool first = change == CCaptureList::ImageChange::ReplacePlaceholder;
    const bool imagePut = PutImage(m_strip, first ? 0 : -1, m_list.Thumbnail(index));
    if (!imagePut || m_strip.InsertTab(index, label, index) < 0) {
        // Taken back out (it is the last one), so that the tabs and the list still agree.
        if (imagePut && first)
            PutPlaceholder(m_strip);
        else if (imagePut)
            m_strip.RemoveImage(index);
        m_list.DeleteCurrent();
        m_list.Select(before);
        return false;
    }
    m_strip.Select(index);
    CurrentChanged();
    return true;
}

bool CCaptureTabs::DeleteCurrent()
{
    const int removed = static_cast<int>(m_list.CurrentIndex());
    const CCaptureList::ImageChange change = m_list.DeleteCurrent();
    if (change == CCaptureList::ImageChange::None)
        return false;
    m_strip.RemoveTab(removed);
    if (change == CCaptureList::ImageChange::RestorePlaceholder) {
        PutPlaceholder(m_strip);
    } else {
        m_strip.RemoveImage(removed);
        m_strip.Select(static_cast<int>(m_list.CurrentIndex()));
    }
    CurrentChanged();
    return true;
}

void CCaptureTabs::OnTabChosen(int tab)
{
    if (tab >= 0 && m_list.Select(static_cast<size_t>(tab)))
        CurrentChanged();
}

void CCaptureTabs::CurrentChanged()
{
    if (m_onCurrent)
        m_onCurrent();
}
