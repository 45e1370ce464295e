#pragma once
// The file-type icon cache: icons and type names by file type, shared by every list that shows
// files (explorer, finder, shortcuts, system lists, data types). Slots are only ever added;
// the process-wide instance lives until the program ends (TheFileTypeIconCache(), Windows).
// The keying and lookup rules are portable; describing a new key (shell icons and type name)
// is the source's job (file_type_icon_source_win.cpp on Windows, a fake in tests).
#include <memory>
#include <string>
#include <vector>

using IconHandle = void*; // an HICON on Windows

// What a path is, and what the platform says about a new key.
class FileTypeIconSource {
public:
    struct PathKind {
        bool exists = false;
        bool isFolder = false;
    };
    struct Description {
        std::string typeName;
        IconHandle smallIcon = nullptr; // owned by the cache from here on
        IconHandle largeIcon = nullptr;
    };
    virtual ~FileTypeIconSource() = default;
    virtual PathKind Kind(const std::string& path) = 0;
    // Describes `path` (which may not exist), keyed as `key`.
    virtual Description Describe(const std::string& path, const PathKind& kind) = 0;
    virtual void ReleaseIcon(IconHandle icon) = 0;
};

// The cache key of a path: its extension without dot, except for a folder and an existing
// file whose extension is EXE, LNK, ICO, CUR or ANI (any case), which carry their own icon and
// are keyed by their full path.
std::string FileTypeIconKey(const std::string& path, const FileTypeIconSource::PathKind& kind);

class FileTypeIconCache {
public:
    explicit FileTypeIconCache(std::unique_ptr<FileTypeIconSource> source);
    ~FileTypeIconCache();
    FileTypeIconCache(const FileTypeIconCache&) = delete;
    FileTypeIconCache& operator=(const FileTypeIconCache&) = delete;

    // The slot of the path's key (scanning from the last slot to the first, ignoring case);
    // a new key gets a new slot, described by the source.
    int IndexOf(const std::string& path);
    // The slot's icon; null for a slot out of range.
    IconHandle Icon(int slot, bool small) const;
    IconHandle IconFor(const std::string& path, bool small) { return Icon(IndexOf(path), small); }
    // The path's type name; `slot` (optional) receives its slot.
    std::string TypeNameFor(const std::string& path, int* slot = nullptr);
    // Gives a slot new icons (a data type whose icon was changed); the old ones are released.
    // False for a slot out of range (the icons are then released at once).
    bool ReplaceIcons(int slot, IconHandle smallIcon, IconHandle largeIcon);

    int Count() const { return static_cast<int>(keys_.size()); }
    const std::string& Key(int slot) const { return keys_.at(static_cast<size_t>(slot)); }

private:
    int Find(const std::string& key) const;

    std::unique_ptr<FileTypeIconSource> source_;
    // Parallel arrays indexed by slot.
    std::vector<std::string> keys_;
    std::vector<std::string> typeNames_;
    std::vector<IconHandle> smallIcons_;
    std::vector<IconHandle> largeIcons_;
};

// The process-wide cache over the shell (Windows build).
FileTypeIconCache& TheFileTypeIconCache();
