#include "picturetools/browser/browser_files.h"

#include <cstdio>

#include "app/registry_access.h"

const char kBrowserFileName[] = "zephra.zeb";
const char kBrowserTempCopyName[] = "Tmp.zeb";
const char kBrowserAlternativeFolder[] = "OstrelZEB";
const char kBrowserFilesKey[] = "Software\\Ostrel\\Common\\Browser Files\\";
const char kBrowserFileValue[] = "BrowserFile";

std::string JoinBrowserPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == kBrowserPathSeparator || folder.back() == '/')
        return folder + name;
    return folder + kBrowserPathSeparator + name;
}

std::string BrowserKeyName(const std::string& folder)
{
    std::string key = folder;
    for (char& c : key)
        if (c == '\\' || c == kBrowserPathSeparator)
            c = '|';
    return key;
}

std::string AlternativeFileName(const LocalMoment& t)
{
    char name[96];
    std::snprintf(name, sizeof name, "%d%d%d%d%d%d.tmb", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return name;
}

CBrowserFiles::CBrowserFiles(CRegistryAccess& registry, std::string tempFolder)
    : m_registry(registry), m_tempFolder(std::move(tempFolder))
{
}

bool CBrowserFiles::WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(path.c_str());
        return false;
    }
    return true;
}

bool CBrowserFiles::FileExists(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

bool CBrowserFiles::RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool CBrowserFiles::CopyWholeFile(const std::string& from, const std::string& to)
{
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    FILE* out = std::fopen(to.c_str(), "wb");
    if (!out) {
        std::fclose(in);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, in);
        if (n == 0)
            break;
        if (std::fwrite(buffer, 1, n, out) != n) {
            ok = false;
            break;
        }
    }
    ok = !std::ferror(in) && ok;
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    if (!ok)
        std::remove(to.c_str());
    return ok;
}

std::string CBrowserFiles::RegisteredFile(const std::string& folder)
{
    return m_registry.ReadString(RegRoot::CurrentUser, kBrowserFilesKey + BrowserKeyName(folder), kBrowserFileValue, "");
}

void CBrowserFiles::Unregister(const std::string& folder)
{
    m_registry.DeleteKey(RegRoot::CurrentUser, kBrowserFilesKey, BrowserKeyName(folder));
}

void CBrowserFiles::RemoveStaleEntries()
{
    const std::vector<std::string> keys = m_registry.EnumSubKeys(RegRoot::CurrentUser, kBrowserFilesKey);
    for (const std::string& key : keys) {
        const std::string file = m_registry.ReadString(RegRoot::CurrentUser, kBrowserFilesKey + key, kBrowserFileValue, "");
        if (file.empty() || !FileExists(file))
            m_registry.DeleteKey(RegRoot::CurrentUser, kBrowserFilesKey, key);
    }
}

std::string CBrowserFiles::FindCacheFile(const std::string& folder)
{
    const std::string own = JoinBrowserPath(folder, kBrowserFileName);
    if (FileExists(own))
        return own;
    RemoveStaleEntries();
    const std::string registered = RegisteredFile(folder);
    return !registered.empty() && FileExists(registered) ? registered : std::string();
}

std::string CBrowserFiles::CopyToTemporary(const std::string& path)
{
    const std::string copy = JoinBrowserPath(m_tempFolder, kBrowserTempCopyName);
    return CopyWholeFile(path, copy) ? copy : std::string();
}

bool CBrowserFiles::StoreCache(const std::string& folder, const std::vector<uint8_t>& bytes)
{
    const std::string own = JoinBrowserPath(folder, kBrowserFileName);
    RemoveFile(own);
    const std::string previous = RegisteredFile(folder);
    if (bytes.empty()) {
        if (!previous.empty()) {
            RemoveFile(previous);
            Unregister(folder);
        }
        return true;
    }
    if (WriteWholeFile(own, bytes)) {
        SetHiddenAttribute(own);
        if (!previous.empty()) { // the folder can take its own file again
            RemoveFile(previous);
            Unregister(folder);
        }
        return true;
    }
    const std::string alternativeFolder = JoinBrowserPath(m_tempFolder, kBrowserAlternativeFolder);
    MakeFolderLevel(alternativeFolder);
    // Names from the clock repeat within a second (and "%d%d" runs digits together): never
    // take another folder's file.
    const std::string stem = AlternativeFileName(LocalMomentNow());
    std::string alternative = JoinBrowserPath(alternativeFolder, stem);
    for (int n = 1; alternative != previous && FileExists(alternative) && n < 1000; ++n)
        alternative = JoinBrowserPath(alternativeFolder, stem.substr(0, stem.size() - 4) + "_" + std::to_string(n) + ".tmb");
    if (!WriteWholeFile(alternative, bytes))
        return false;
    SetHiddenAttribute(alternative);
    if (!previous.empty() && previous != alternative)
        RemoveFile(previous);
    m_registry.WriteString(RegRoot::CurrentUser, kBrowserFilesKey + BrowserKeyName(folder), kBrowserFileValue,
                           alternative);
    return true;
}
