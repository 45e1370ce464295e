#pragma once
// The online panel's pages: the small HTML subset they are written in, read into blocks of
// styled text runs and pictures that the panel view lays out. The reader accepts any bytes:
// unknown tags are skipped, text is kept as UTF-8, and the page's size is capped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class PanelBlockKind { Heading1, Heading2, Heading3, Paragraph, ListItem, Picture, Rule };

struct PanelRun {
    std::string text; // UTF-8, white space collapsed to single blanks; "\n" is a line break
    bool bold = false;
    bool italic = false;
    std::string link; // the href of the link the run belongs to, empty outside links
};

struct PanelBlock {
    PanelBlockKind kind = PanelBlockKind::Paragraph;
    std::vector<PanelRun> runs;
    std::string picture; // Picture: the src as written
    std::string alt;     // Picture: its alternative text
};

struct PanelPage {
    std::string title;
    std::vector<PanelBlock> blocks;
};

// Pages larger than this are read only up to it; blocks beyond the second limit are dropped.
constexpr size_t kPanelPageMaxBytes = 1 << 20;
constexpr size_t kPanelPageMaxBlocks = 4096;

PanelPage ParsePanelPage(std::string_view html);

// The text of a page's blocks, one block a line (pictures as "[alt]"): what a reader sees.
std::string PanelPlainText(const PanelPage& page);
