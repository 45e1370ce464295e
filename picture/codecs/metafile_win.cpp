// GDI metafile player and recorder for the metafile codecs.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "base/progress.h"
#include "picture/codecs/metafile_platform.h"
#include "picture/picture.h"

namespace metafile {
namespace {

constexpr char kDescription[] = "Created by Ostrel Imagerion\0"; // the text and a second terminator
constexpr char kTemporaryName[] = "OtConv.wmf";

struct DeleteDc { void operator()(HDC dc) const { DeleteDC(dc); } };
struct DeleteObjectHandle { void operator()(HGDIOBJ object) const { DeleteObject(object); } };
struct DeleteEnhMetafile { void operator()(HENHMETAFILE emf) const { DeleteEnhMetaFile(emf); } };
using DcHandle = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDc>;
using GdiHandle = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, DeleteObjectHandle>;
using EmfHandle = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, DeleteEnhMetafile>;

DcHandle DisplayDc() { return DcHandle(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)); }

// Keeps a bitmap selected into a memory context for the life of the object.
class SelectedBitmap {
public:
    SelectedBitmap(HDC dc, HBITMAP bitmap) : m_dc(dc), m_old(SelectObject(dc, bitmap)) {}
    ~SelectedBitmap() { SelectObject(m_dc, m_old); }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The header of the picture's own 24-bit bottom-up bitmap block, as GDI takes it.
BITMAPINFO PictureBitmapInfo(const CPicture& picture)
{
    BITMAPINFO info{};
    std::memcpy(&info.bmiHeader, picture.Dib(), sizeof info.bmiHeader);
    return info;
}

struct PlayContext {
    CQnProgress* progress;
    int record;
};

int CALLBACK PlayRecord(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int handles, LPARAM data)
{
    PlayContext& context = *reinterpret_cast<PlayContext*>(data);
    context.progress->SetPos(++context.record); // rendering cannot be cancelled
    PlayEnhMetaFileRecord(dc, table, record, UINT(handles));
    return 1;
}

// Plays the enhanced metafile into a white display-compatible bitmap and copies it into the
// picture. An inclusive frame (that of a recorded enhanced metafile) maps onto the pixels
// 0 .. width - 1; an exclusive one (a placeable box converted to a frame) onto 0 .. width.
bool Render(HENHMETAFILE emf, unsigned width, unsigned height, uint32_t records, bool inclusiveFrame,
            CPicture& picture, CQnProgress& progress)
{
    DcHandle screen = DisplayDc();
    if (!screen)
        return false;
    DcHandle memory(CreateCompatibleDC(screen.get()));
    GdiHandle bitmap(CreateCompatibleBitmap(screen.get(), int(width), int(height)));
    if (!memory || !bitmap)
        return false;
    {
        SelectedBitmap selected(memory.get(), static_cast<HBITMAP>(bitmap.get()));
        RECT area = {0, 0, LONG(width), LONG(height)};
        FillRect(memory.get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        progress.SetRange(0, int64_t(records) + 1);
        PlayContext context{&progress, 0};
        const LONG inset = inclusiveFrame ? 1 : 0;
        RECT target = {0, 0, LONG(width) - inset, LONG(height) - inset};
        EnumEnhMetaFile(memory.get(), emf, PlayRecord, &context, &target);
    }
    picture.Clear();
    if (!picture.Create(width, height))
        return false;
    BITMAPINFO info = PictureBitmapInfo(picture);
    return GetDIBits(screen.get(), static_cast<HBITMAP>(bitmap.get()), 0, height, picture.Bits(), &info,
                     DIB_RGB_COLORS) == int(height);
}

EmfHandle FromWindowsBits(const std::vector<uint8_t>& bits, const PlaceableHeader* placeable)
{
    DcHandle screen = DisplayDc();
    if (!screen || bits.empty())
        return nullptr;
    METAFILEPICT size{};
    if (placeable) {
        // The placeable box, in hundredths of a millimetre, gives the drawing its size.
        size.mm = MM_ANISOTROPIC;
        size.xExt = LONG((placeable->right - placeable->left) * 2540 / placeable->unitsPerInch);
        size.yExt = LONG((placeable->bottom - placeable->top) * 2540 / placeable->unitsPerInch);
    }
    return EmfHandle(SetWinMetaFileBits(UINT(bits.size()), bits.data(), screen.get(), placeable ? &size : nullptr));
}

// Draws the picture as one stretched bitmap into a recording context.
bool DrawPicture(HDC recording, const CPicture& picture, bool setWindowExtent)
{
    DcHandle screen = DisplayDc();
    if (!screen)
        return false;
    const int width = picture.Width(), height = picture.Height();
    GdiHandle bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    DcHandle memory(CreateCompatibleDC(screen.get()));
    if (!bitmap || !memory)
        return false;
    BITMAPINFO info = PictureBitmapInfo(picture);
    if (SetDIBits(screen.get(), static_cast<HBITMAP>(bitmap.get()), 0, UINT(height),
                  const_cast<CPicture&>(picture).Bits(), &info, DIB_RGB_COLORS) != height)
        return false;
    SelectedBitmap selected(memory.get(), static_cast<HBITMAP>(bitmap.get()));
    SetMapMode(recording, MM_ANISOTROPIC);
    SetWindowOrgEx(recording, 0, 0, nullptr);
    if (setWindowExtent)
        SetWindowExtEx(recording, width, height, nullptr);
    SetStretchBltMode(recording, COLORONCOLOR);
    return StretchBlt(recording, 0, 0, width, height, memory.get(), 0, 0, width, height, SRCCOPY) != 0;
}

} // namespace

bool PlatformAvailable() { return true; }
std::string PlatformUnavailableReason() { return {}; }

bool QueryDisplay(DisplayMetrics& metrics)
{
    DcHandle screen = DisplayDc();
    if (!screen)
        return false;
    metrics.dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
    metrics.dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    metrics.widthMm = GetDeviceCaps(screen.get(), HORZSIZE);
    metrics.heightMm = GetDeviceCaps(screen.get(), VERTSIZE);
    metrics.widthPx = GetDeviceCaps(screen.get(), HORZRES);
    metrics.heightPx = GetDeviceCaps(screen.get(), VERTRES);
    return metrics.dpiX > 0 && metrics.dpiY > 0 && metrics.widthPx > 0 && metrics.heightPx > 0;
}

bool RenderEnhancedFile(const std::string& path, unsigned width, unsigned height, uint32_t records,
                        CPicture& picture, CQnProgress& progress)
{
    EmfHandle emf(GetEnhMetaFileA(path.c_str()));
    return emf && Render(emf.get(), width, height, records, true, picture, progress);
}

bool RenderWindowsBits(const std::vector<uint8_t>& bits, const PlaceableHeader* placeable, unsigned width,
                       unsigned height, CPicture& picture, CQnProgress& progress)
{
    EmfHandle emf = FromWindowsBits(bits, placeable);
    if (!emf)
        return false;
    ENHMETAHEADER header{};
    if (!GetEnhMetaFileHeader(emf.get(), sizeof header, &header))
        return false;
    return Render(emf.get(), width, height, header.nRecords, placeable == nullptr, picture, progress);
}

bool WindowsBitsBounds(const std::vector<uint8_t>& bits, int64_t& width, int64_t& height)
{
    EmfHandle emf = FromWindowsBits(bits, nullptr);
    ENHMETAHEADER header{};
    if (!emf || !GetEnhMetaFileHeader(emf.get(), sizeof header, &header))
        return false;
    width = InclusiveExtent(header.rclBounds.left, header.rclBounds.right);
    height = InclusiveExtent(header.rclBounds.top, header.rclBounds.bottom);
    return true;
}

bool RecordEnhancedFile(const std::string& path, const CPicture& picture)
{
    DisplayMetrics display;
    if (picture.IsEmpty() || !QueryDisplay(display) || display.widthMm <= 0 || display.heightMm <= 0)
        return false;
    // Hundredths of a millimetre per pixel.
    const double perPixelX = display.widthMm * 100.0 / display.widthPx;
    const double perPixelY = display.heightMm * 100.0 / display.heightPx;
    RECT frame = {0, 0, LONG((picture.Width() - 1) * perPixelX), LONG((picture.Height() - 1) * perPixelY)};
    DcHandle screen = DisplayDc();
    if (!screen)
        return false;
    HDC recording = CreateEnhMetaFileA(screen.get(), path.c_str(), &frame, kDescription);
    if (!recording)
        return false;
    const bool drawn = DrawPicture(recording, picture, false);
    HENHMETAFILE emf = CloseEnhMetaFile(recording);
    if (emf)
        DeleteEnhMetaFile(emf);
    return drawn && emf;
}

bool RecordWindowsMetafile(const CPicture& picture, std::vector<uint8_t>& bytes)
{
    if (picture.IsEmpty())
        return false;
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length + sizeof kTemporaryName > sizeof folder)
        return false;
    const std::string path = std::string(folder) + kTemporaryName;
    HDC recording = CreateMetaFileA(path.c_str());
    if (!recording)
        return false;
    const bool drawn = DrawPicture(recording, picture, true);
    HMETAFILE wmf = CloseMetaFile(recording);
    if (wmf)
        DeleteMetaFile(wmf);
    if (drawn && wmf) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    DeleteFileA(path.c_str());
    return drawn && wmf && !bytes.empty();
}

} // namespace metafile
