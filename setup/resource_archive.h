#pragma once
// The archive reader: ZIP archives from a file or a memory block (the program's "ZIP"
// resources), their entry table, folder tree and totals, and extracting or deleting their
// files below a folder. Every operation answers with a status; failures leave a text in
// LastError().
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "setup/archive_entry.h"
#include "setup/archive_source.h"

class ArchiveFileSystem;
class CQnProgress;

enum ArchiveStatus : int {
    kArchiveFailed = 0,
    kArchiveOk = 1,
    kArchiveCancelled = 2,
    kArchiveBadHeader = 3,
    kArchiveUnreadable = 4,
    kArchiveCannotCreate = 5,
    kArchiveNotRemovable = 6,
    kArchiveNoEndRecord = 7,
    kArchiveNoSpace = 10,
    kArchiveNeedsPassword = 14,
};

// A folder of the archive: its path ("" for the top, else with a trailing "\") and the
// indexes of the entries in it.
struct ArchiveFolder {
    std::string path;
    std::vector<int> entries;
};

struct ArchiveTotals {
    uint64_t files = 0;
    uint64_t compressed = 0;
    uint64_t uncompressed = 0;
};

struct ArchiveSummary {
    std::string files;
    std::string packedSize;
    std::string totalSize;
    std::string ratio;
};

// Columns of the entry table, for the longest-text indexes that size list columns.
enum ArchiveColumn { kColumnName, kColumnSize, kColumnPacked, kColumnRatio, kColumnDate, kColumnTime,
                     kColumnAttributes, kColumnCrc, kColumnPath, kColumnType, kArchiveColumnCount };

// Restores a delta-coded block in place: byte[i] += byte[i - 1] (mod 256) from the second on.
void UndoDeltaCoding(std::vector<uint8_t>& bytes);

// "PKBACK# %d" with the volume number written with at least three digits.
std::string SpannedVolumeLabel(int volume);

class ResourceArchive {
public:
    explicit ResourceArchive(ArchiveFileSystem* files = nullptr);
    ~ResourceArchive();
    ResourceArchive(const ResourceArchive&) = delete;
    ResourceArchive& operator=(const ResourceArchive&) = delete;

    // Opens an archive file (read-only) or a memory block the archive takes over.
    int Open(const std::string& path, bool summaryWanted);
    int OpenMemory(std::vector<uint8_t> bytes, bool summaryWanted);
    // A resource's bytes, delta-coded or not; an empty block leaves the archive empty.
    int OpenResourceBytes(std::vector<uint8_t> bytes, bool deltaCoded);

    // Extracts every file entry below `folder` (keeping the entries' folders when asked), or
    // deletes the files they name there; stops at the first entry that does not succeed.
    int ExtractAll(const std::string& folder, bool keepFolders, bool extracting);
    int ExtractEntry(int index, const std::string& folder, bool keepFolders);
    // Deletes the file an entry names below the folder, then its folder when that is empty.
    int DeleteEntry(int index, const std::string& folder, bool keepFolders);
    // The uncompressed bytes of an entry; none on failure (LastError() says why).
    std::optional<std::vector<uint8_t>> ReadEntry(int index);
    // The index of an entry by full path or by file name, case-insensitively; -1 when absent.
    int Find(const std::string& name, bool byFullPath) const;

    void SetProgress(CQnProgress* progress) { m_progress = progress; }
    void SetPassword(const std::string& password) { m_password = password; }
    // Where spanned volumes are joined into "packlet.zip", and how the next volume is asked
    // for (false: the user cancelled). Without a way to ask, spanned archives are not joined.
    void SetSpannedVolumes(const std::string& workFolder, std::function<bool(int volume)> askNextVolume);
    // The type name shown for an entry's file name (the shell's, in the program).
    void SetTypeNames(std::function<std::string(const std::string& fileName)> typeNameOf);

    const std::vector<ArchiveEntry>& Entries() const { return m_entries; }
    const std::vector<ArchiveFolder>& Folders() const { return m_folders; }
    const ArchiveTotals& Totals() const { return m_totals; }
    const ArchiveSummary& Summary() const { return m_summary; }
    const std::string& Comment() const { return m_comment; }
    int LongestTextIndex(ArchiveColumn column) const { return m_longest[column]; }
    const std::string& LastError() const { return m_lastError; }
    // The target path of an entry below a folder.
    std::string TargetPath(const ArchiveEntry& entry, const std::string& folder, bool keepFolders) const;

private:
    int OpenSource(std::unique_ptr<ArchiveSource> source, bool summaryWanted);
    int ReadDirectory();
    int JoinSpannedVolumes(const std::string& firstPath, std::string& joinedPath);
    int ReadEntryData(int index, std::vector<uint8_t>& data);
    int Fail(int status, const std::string& text);
    bool StepProgress(size_t index, size_t count);
    void Reset();
    void AddEntry(ArchiveEntry entry);
    void BuildSummary();

    ArchiveFileSystem* m_files;
    std::unique_ptr<ArchiveSource> m_source;
    std::string m_sourcePath;
    std::vector<ArchiveEntry> m_entries;
    std::vector<ArchiveFolder> m_folders;
    std::map<std::string, int> m_folderIndex; // upper-cased folder path -> m_folders index
    ArchiveTotals m_totals;
    ArchiveSummary m_summary;
    std::string m_comment;
    std::array<int, kArchiveColumnCount> m_longest{};
    std::string m_lastError;
    std::set<std::string> m_madeFolders; // by this archive's extractions
    std::string m_password;
    std::string m_workFolder;
    std::function<bool(int)> m_askNextVolume;
    std::function<std::string(const std::string&)> m_typeNameOf;
    CQnProgress* m_progress = nullptr;
};
