#include "systools/panel/panel_source.h"

#include "picture/codec_registry.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"
#include "setup/resource_archive.h"

namespace {
constexpr size_t kMaxPictureBytes = 16u << 20;
}

std::optional<PanelPage> PanelSource::Page(const std::string& path)
{
    const int index = m_archive.Find(path, true);
    if (index < 0)
        return std::nullopt;
    const std::optional<std::vector<uint8_t>> bytes = m_archive.ReadEntry(index);
    if (!bytes)
        return std::nullopt;
    return ParsePanelPage(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::unique_ptr<CPicture> PanelSource::Picture(const std::string& path)
{
    const int index = path.empty() ? -1 : m_archive.Find(path, true);
    if (index < 0)
        return nullptr;
    const std::optional<std::vector<uint8_t>> bytes = m_archive.ReadEntry(index);
    if (!bytes || bytes->empty() || bytes->size() > kMaxPictureBytes)
        return nullptr;
    CGraphicsStream stream;
    stream.OpenMemory(bytes->data(), bytes->size());
    auto picture = std::make_unique<CPicture>();
    if (!RecognisePicture(stream, path, picture.get(), nullptr) || picture->IsEmpty())
        return nullptr;
    return picture;
}
