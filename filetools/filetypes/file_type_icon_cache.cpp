#include "filetools/filetypes/file_type_icon_cache.h"

#include "filetools/properties/file_type_name.h"

namespace {
bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x |= 0x20;
        if (y >= 'A' && y <= 'Z') y |= 0x20;
        if (x != y)
            return false;
    }
    return true;
}

bool CarriesOwnIcon(const std::string& extension)
{
    for (const char* own : {"EXE", "LNK", "ICO", "CUR", "ANI"})
        if (EqualIgnoringCase(extension, own))
            return true;
    return false;
}
} // namespace

std::string FileTypeIconKey(const std::string& path, const FileTypeIconSource::PathKind& kind)
{
    if (kind.isFolder)
        return path;
    const std::string extension = ExtensionOf(path);
    if (kind.exists && CarriesOwnIcon(extension))
        return path;
    return extension;
}

FileTypeIconCache::FileTypeIconCache(std::unique_ptr<FileTypeIconSource> source) : source_(std::move(source)) {}

FileTypeIconCache::~FileTypeIconCache()
{
    for (size_t i = 0; i < keys_.size(); ++i) {
        if (smallIcons_[i]) source_->ReleaseIcon(smallIcons_[i]);
        if (largeIcons_[i]) source_->ReleaseIcon(largeIcons_[i]);
    }
}

int FileTypeIconCache::Find(const std::string& key) const
{
    for (size_t i = keys_.size(); i-- > 0;)
        if (EqualIgnoringCase(keys_[i], key))
            return static_cast<int>(i);
    return -1;
}

int FileTypeIconCache::IndexOf(const std::string& path)
{
    const FileTypeIconSource::PathKind kind = source_->Kind(path);
    const std::string key = FileTypeIconKey(path, kind);
    const int found = Find(key);
    if (found >= 0)
        return found;
    FileTypeIconSource::Description description = source_->Describe(path, kind);
    keys_.push_back(key);
    typeNames_.push_back(std::move(description.typeName));
    smallIcons_.push_back(description.smallIcon);
    largeIcons_.push_back(description.largeIcon);
    return static_cast<int>(keys_.size() - 1);
}

IconHandle FileTypeIconCache::Icon(int slot, bool small) const
{
    if (slot < 0 || slot >= Count())
        return nullptr;
    return small ? smallIcons_[static_cast<size_t>(slot)] : largeIcons_[static_cast<size_t>(slot)];
}

std::string FileTypeIconCache::TypeNameFor(const std::string& path, int* slot)
{
    const int index = IndexOf(path);
    if (slot)
        *slot = index;
    return typeNames_[static_cast<size_t>(index)];
}

bool FileTypeIconCache::ReplaceIcons(int slot, IconHandle smallIcon, IconHandle largeIcon)
{
    if (slot < 0 || slot >= Count()) {
        if (smallIcon) source_->ReleaseIcon(smallIcon);
        if (largeIcon) source_->ReleaseIcon(largeIcon);
        return false;
    }
    IconHandle& oldSmall = smallIcons_[static_cast<size_t>(slot)];
    IconHandle& oldLarge = largeIcons_[static_cast<size_t>(slot)];
    if (oldSmall && oldSmall != smallIcon) source_->ReleaseIcon(oldSmall);
    if (oldLarge && oldLarge != largeIcon) source_->ReleaseIcon(oldLarge);
    oldSmall = smallIcon;
    oldLarge = largeIcon;
    return true;
}
