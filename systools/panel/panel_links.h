#pragma once
// Where a panel link leads: "quenta:module/N" switches the main window to module N (the
// command ID_SWITCH_MODULE_FIRST + N), and a relative name opens another panel page or names a
// picture, resolved against the page that holds it inside the panel archive. Anything else
// (other schemes, names climbing above the archive's root) leads nowhere.
#include <string>
#include <string_view>

enum class PanelLinkKind { None, Module, Page };

struct PanelLinkTarget {
    PanelLinkKind kind = PanelLinkKind::None;
    int moduleId = -1;
    std::string path; // Page: the member name inside the archive ("en/news.htm")
};

PanelLinkTarget ResolvePanelLink(std::string_view href, std::string_view currentPage);
// The main window command a link runs, or 0 when it runs none.
unsigned PanelLinkCommand(const PanelLinkTarget& target);
// A relative name joined to the folder of `currentPage`, with "." and ".." resolved; empty
// when it is absolute, carries a scheme or drive, or climbs above the root.
std::string ResolvePanelPath(std::string_view relative, std::string_view currentPage);

// The folder of the pages in the interface language: "fr" for French, "en" otherwise.
std::string PanelLanguageFolder(unsigned languageId);
// The first page the panel shows.
std::string PanelStartPage(unsigned languageId);
