#pragma once
// Page geometry of a printed report list: margins and bands converted from millimetres to
// printer pixels, rows per page, page count, column widths and the band text macros.
#include <string>
#include <vector>

#include "shell/list_print_settings.h"

struct PrintRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct PrintDeviceMetrics {
    int horzRes = 0, vertRes = 0;       // printable page in pixels
    int horzSizeMm = 0, vertSizeMm = 0; // the same in millimetres
};

struct PrintLayout {
    PrintRect inner;            // the page inside the margins
    PrintRect headerBand, footerBand;
    PrintRect table;            // printable area: inner less the enabled bands
    int cellMargin = 0;
    int headerRowHeight = 0, rowHeight = 0;
    int rowsPerPage = 1;
    int pageCount = 1;
};

// Millimetres to printer pixels at the printer's horizontal pixels per millimetre.
int MillimetresToPixels(int mm, const PrintDeviceMetrics& device);
// A screen font size scaled to the printer (MulDiv rounding).
int ScaleToPrinter(int value, int printerDpi, int screenDpi);

// textLineHeight and tabHeaderLineHeight are the printer line heights of the two table fonts.
PrintLayout ComputePrintLayout(const ListPrintSettings& settings, const PrintDeviceMetrics& device,
                               int textLineHeight, int tabHeaderLineHeight, int rowCount, bool pictureMode);

// First row printed on a page (pages count from 1) and the number of rows on it.
int FirstRowOfPage(const PrintLayout& layout, int page);
int RowsOnPage(const PrintLayout& layout, int page, int rowCount);

struct PrintMacroValues {
    std::string file, date, hour;
    int page = 1, pages = 1;
};
// Replaces "&&[File]", "&&[Date]", "&&[Hour]", "&&[Page]" and "&&[Pages]"; any other doubled
// ampersand becomes one. Inserted values are copied as they are.
std::string ExpandPrintMacros(const std::string& text, const PrintMacroValues& values);

// Screen widths scaled in proportion to fill `total` pixels; equal shares when all are zero.
std::vector<int> ScaleColumnWidths(const std::vector<int>& widths, int total);

// Largest rectangle of the picture's aspect ratio inside `area`, centred.
PrintRect FitPicture(int pictureWidth, int pictureHeight, const PrintRect& area);
