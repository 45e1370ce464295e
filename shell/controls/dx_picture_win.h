#pragma once
// CDxPicture: a static-like control that paints a picture scaled into its client area. A
// picture larger than the area is shrunk to fit with its proportions kept; a smaller one is
// shown at its own size, centred (never enlarged into blocky pixels). The control saves its
// picture as a BMP file, copies it to the clipboard, shows it full screen, and offers a
// picture printer for a module view (CQnFormView::SetPicturePrinter).
#include <windows.h>

#include <memory>
#include <string>

#include "framework/window.h"
#include "shell/gdi_helpers_win.h"
#include "shell/report_list_win.h"

class CPicture;

class CDxPicture : public CWindow {
public:
    CDxPicture();
    ~CDxPicture() override;

    // Creates the control as a child of `parent`.
    bool CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle = 0);

    // Shows `picture`: a copy of it when `copy`, else the caller's picture, which must then
    // outlive its display here (set it again after changing its pixels). Null clears the control.
    void SetPicture(const CPicture* picture, bool copy);
    // Shows a picture the control keeps and frees.
    void TakePicture(std::unique_ptr<CPicture> picture);
    const CPicture* Picture() const { return m_picture; }
    bool HasPicture() const;

    // Asks for a file name and writes the picture as a 24-bit BMP file; false when cancelled
    // or the file cannot be written. `suggestedName` fills the dialog's file name.
    bool SaveBmp(const std::string& suggestedName = {});
    // Puts a copy of the picture on the clipboard as CF_DIB.
    bool CopyToClipboard();
    // Shows the picture alone on the whole monitor, scaled to fit; any key or click ends it.
    bool ShowFullScreen();

    // A printer in picture mode that module views can register as their picture printer.
    CReportList& Printer() { return m_printer; }

    // Where a picture of the given size is drawn in `area` (shrunk to fit, never enlarged
    // unless `enlarge`).
    static RECT PlacePicture(int width, int height, const RECT& area, bool enlarge);
    // Draws the picture stretched into `target` with smooth shrinking.
    static void Draw(HDC dc, const CPicture& picture, const RECT& target);

protected:
    WindowClassSpec ClassSpec() const override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    void PictureChanged();

    class CFullScreen;
    const CPicture* m_picture = nullptr;
    std::unique_ptr<CPicture> m_owned;
    std::unique_ptr<CFullScreen> m_fullScreen;
    CReportList m_printer;
    // The picture as last scaled for the screen: shrinking a large picture smoothly is slow,
    // and repaints (moving windows over it) are frequent.
    GdiObject<HBITMAP> m_scaled;
    SIZE m_scaledSize{};
};
