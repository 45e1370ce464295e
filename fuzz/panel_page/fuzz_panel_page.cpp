// The online panel's pages as the panel reads them from its archive: the HTML subset reader,
// then every link and picture name resolved as the view would on a click.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "systools/panel/panel_links.h"
#include "systools/panel/panel_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const PanelPage page = ParsePanelPage(std::string_view(reinterpret_cast<const char*>(data), size));
    PanelPlainText(page);
    for (const PanelBlock& block : page.blocks) {
        if (!block.picture.empty())
            ResolvePanelPath(block.picture, "en/index.htm");
        for (const PanelRun& run : block.runs)
            if (!run.link.empty())
                PanelLinkCommand(ResolvePanelLink(run.link, "fr/news.htm"));
    }
    return 0;
}
