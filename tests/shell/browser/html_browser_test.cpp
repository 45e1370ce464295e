// An exported list opened in headless Chromium shows a table in the configured colours.
// The screenshot stays in the build folder (tests/shell/browser/html_export.png) for a look.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/progress.h"
#include "shell/report_export.h"
#include "shell/report_model.h"
#include "tests/support/reference_required.h"

namespace {
const std::string kChromium = "/usr/bin/chromium";
const std::string kConvert = "/usr/bin/convert-im6.q16";

bool Exists(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

std::string CommandOutput(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
} // namespace

TEST(HtmlExportInBrowser, RendersTableWithConfiguredColours)
{
    if (!Exists(kChromium) || !Exists(kConvert))
        SKIP_WITHOUT_REFERENCE("chromium or ImageMagick missing");

    CReportModel list;
    list.AddColumn(0, {"Name", AlignLeft, 150});
    list.AddColumn(1, {"Size", AlignRight, 60});
    for (int i = 0; i < 12; ++i) {
        list.InsertRow(i, "file" + std::to_string(i) + ".txt");
        list.SetCellText(i, 1, std::to_string(1024 * (i + 1)));
    }
    ListPrintSettings settings;
    settings.tabHeaderBackground = 0x800000; // COLORREF: dark blue
    settings.rowBackground0 = 0xFFFFFF;
    settings.rowBackground1 = 0x80FFFF; // COLORREF: light yellow

    const std::string dir = std::string(QUENTA_BINARY_DIR) + "/tests/shell/browser";
    const std::string page = dir + "/html_export.htm";
    const std::string shot = dir + "/html_export.png";
    std::remove(shot.c_str());
    ASSERT_EQ(SaveReportAsHtml(list, page, settings, CQnProgress::Silent()), ExportResult::Written);

    const std::string profile = dir + "/chromium-profile";
    const std::string command = kChromium +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
        " --disable-background-networking --disable-component-update --disable-sync"
        " --user-data-dir=" + profile + " --window-size=800,600 --screenshot=" + shot +
        " file://" + page + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(Exists(shot));

    // The header band and both row backgrounds appear as large areas of their colours.
    const std::string histogram = CommandOutput(kConvert + " " + shot + " -format %c histogram:info:- 2>/dev/null");
    auto pixelsOf = [&](const std::string& hex) {
        size_t at = histogram.find(hex);
        if (at == std::string::npos)
            return 0L;
        size_t lineStart = histogram.rfind('\n', at);
        lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
        return std::strtol(histogram.c_str() + lineStart, nullptr, 10);
    };
    EXPECT_GT(pixelsOf("#000080"), 1000) << histogram.substr(0, 2000); // header background
    EXPECT_GT(pixelsOf("#FFFF80"), 1000) << histogram.substr(0, 2000); // odd rows
}
