#pragma once
// Where a folder's thumbnail cache lives: "zephra.zeb" in the folder, or, on media that cannot
// take it, a file in "OstrelZEB" of the temporary folder recorded in the registry under
// "Software\Ostrel\Common\Browser Files\<folder path with | for the separator>", value
// "BrowserFile". The file operations are virtual so that tests can stand in for media that
// refuse writes.
#include <cstdint>
#include <string>
#include <vector>

#include "picturetools/browser/browser_platform.h"

class CRegistryAccess;

extern const char kBrowserFileName[];        // "zephra.zeb"
extern const char kBrowserTempCopyName[];    // "Tmp.zeb"
extern const char kBrowserAlternativeFolder[]; // "OstrelZEB"
extern const char kBrowserFilesKey[];        // "Software\Ostrel\Common\Browser Files\"
extern const char kBrowserFileValue[];       // "BrowserFile"

// The registry sub-key name of a folder: every path separator replaced by "|".
std::string BrowserKeyName(const std::string& folder);
// "%d%d%d%d%d%d.tmb" from year, month, day, hour, minute and second (no padding).
std::string AlternativeFileName(const LocalMoment& now);

class CBrowserFiles {
public:
    // `tempFolder` is the temporary folder (with or without trailing separator).
    CBrowserFiles(CRegistryAccess& registry, std::string tempFolder);
    virtual ~CBrowserFiles() = default;

    // The cache file to read for `folder`: its "zephra.zeb" when that exists, else the file
    // registered for it; empty when there is none. Every registered entry whose file is gone
    // is deleted on the way.
    std::string FindCacheFile(const std::string& folder);

    // Copies `path` to "Tmp.zeb" in the temporary folder and returns the copy's path (empty
    // on failure). The caller deletes it.
    std::string CopyToTemporary(const std::string& path);

    // Replaces the folder's cache with `bytes`: deletes "zephra.zeb"; with bytes, writes it
    // (hidden) or, when it cannot be created, an alternative file recorded in the registry.
    // Without bytes, an alternative file recorded for the folder goes too. False when nothing
    // could be written.
    bool StoreCache(const std::string& folder, const std::vector<uint8_t>& bytes);

    const std::string& TempFolder() const { return m_tempFolder; }

protected:
    // Writes a whole file; false (and no file left) when it cannot.
    virtual bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
    virtual bool FileExists(const std::string& path);
    virtual bool RemoveFile(const std::string& path);
    virtual bool CopyWholeFile(const std::string& from, const std::string& to);

private:
    std::string RegisteredFile(const std::string& folder);
    void Unregister(const std::string& folder);
    void RemoveStaleEntries();

    CRegistryAccess& m_registry;
    std::string m_tempFolder;
};
