#pragma once
// The panel's pages and pictures as members of an open archive (resource 380 in the program).
#include <memory>
#include <optional>
#include <string>

#include "systools/panel/panel_page.h"

class CPicture;
class ResourceArchive;

class PanelSource {
public:
    explicit PanelSource(ResourceArchive& archive) : m_archive(archive) {}
    // The page of that member name; none when it is missing or cannot be read.
    std::optional<PanelPage> Page(const std::string& path);
    // The picture of that member name in any format the picture library reads; null otherwise.
    std::unique_ptr<CPicture> Picture(const std::string& path);

private:
    ResourceArchive& m_archive;
};
