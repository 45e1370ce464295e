#include "shell/capture_list.h"

#include "picture/picture.h"
#include "picturetools/core/scaling.h"

CCaptureList::CCaptureList() = default;
CCaptureList::~CCaptureList() = default;

CCaptureList::ImageChange CCaptureList::Add(std::unique_ptr<CPicture> picture)
{
    if (!picture || picture->IsEmpty())
        return ImageChange::None;
    std::unique_ptr<CPicture> thumbnail = MakeThumbnail(*picture);
    if (!thumbnail)
        return ImageChange::None;
    m_pictures.push_back(std::move(picture));
    m_thumbnails.push_back(std::move(thumbnail));
    m_current = m_pictures.size() - 1;
    return m_pictures.size() == 1 ? ImageChange::ReplacePlaceholder : ImageChange::Append;
}

CCaptureList::ImageChange CCaptureList::DeleteCurrent()
{
    if (m_pictures.empty())
        return ImageChange::None;
    const auto at = static_cast<std::ptrdiff_t>(m_current);
    m_pictures.erase(m_pictures.begin() + at);
    m_thumbnails.erase(m_thumbnails.begin() + at);
    if (m_pictures.empty()) {
        m_current = 0;
        return ImageChange::RestorePlaceholder;
    }
    if (m_current >= m_pictures.size())
        m_current = m_pictures.size() - 1;
    return ImageChange::Remove;
}

void CCaptureList::Clear()
{
    m_pictures.clear();
    m_thumbnails.clear();
    m_current = 0;
}

bool CCaptureList::Select(size_t index)
{
    if (index >= m_pictures.size())
        return false;
    m_current = index;
    return true;
}

const CPicture* CCaptureList::Current() const
{
    return m_pictures.empty() ? nullptr : m_pictures[m_current].get();
}

std::unique_ptr<CPicture> CCaptureList::MakeThumbnail(const CPicture& picture)
{
    auto thumbnail = std::make_unique<CPicture>();
    if (picture.IsEmpty() || !thumbnail->CopyFrom(picture) ||
        !ScaleNearest(*thumbnail, kThumbnailSize, kThumbnailSize, nullptr))
        return nullptr;
    return thumbnail;
}

std::unique_ptr<CPicture> CCaptureList::MakePlaceholder()
{
    constexpr uint8_t kFace[3] = {192, 192, 192}, kFrame[3] = {128, 128, 128};
    auto placeholder = std::make_unique<CPicture>();
    if (!placeholder->Create(kThumbnailSize, kThumbnailSize))
        return nullptr;
    for (int y = 0; y < kThumbnailSize; ++y)
        for (int x = 0; x < kThumbnailSize; ++x) {
            const bool edge = x == 0 || y == 0 || x == kThumbnailSize - 1 || y == kThumbnailSize - 1;
            placeholder->SetPixel(x, y, edge ? kFrame : kFace);
        }
    return placeholder;
}
