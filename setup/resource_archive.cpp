#include "setup/resource_archive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/paths.h"
#include "base/progress.h"
#include "base/size_text.h"
#include "setup/archive_file_system.h"
#include "setup/archive_messages.h"
#include "setup/zip_decrypt.h"
#include "setup/zip_inflate.h"

namespace {
std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return text;
}

// Deflate expands at most about 1032 times; a larger claim is a damaged or hostile header and
// would only make us reserve memory for nothing.
bool PlausibleSizes(const ZipCentralHeader& header)
{
    const uint64_t packed = header.compressedSize;
    const uint64_t plain = header.uncompressedSize;
    if (header.method == 0)
        return plain + (header.Encrypted() ? kZipEncryptionHeaderSize : 0) == packed;
    return plain <= packed * 1032 + 1024;
}

size_t StepWidth(size_t count) { return static_cast<size_t>(std::sqrt(static_cast<double>(count)) + 1); }
} // namespace

void UndoDeltaCoding(std::vector<uint8_t>& bytes)
{
    for (size_t i = 1; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(bytes[i] + bytes[i - 1]);
}

std::string SpannedVolumeLabel(int volume)
{
    char label[32];
    std::snprintf(label, sizeof label, "PKBACK# %03d", volume);
    return label;
}

ResourceArchive::ResourceArchive(ArchiveFileSystem* files) : m_files(files ? files : &ArchiveFileSystem::Platform())
{
    Reset();
}

ResourceArchive::~ResourceArchive() = default;

void ResourceArchive::Reset()
{
    m_source.reset();
    m_sourcePath.clear();
    m_entries.clear();
    m_folders.assign(1, ArchiveFolder{});
    m_folderIndex.clear();
    m_folderIndex[""] = 0;
    m_totals = {};
    m_summary = {};
    m_comment.clear();
    m_longest.fill(-1);
    m_lastError.clear();
    m_madeFolders.clear();
}

int ResourceArchive::Fail(int status, const std::string& text)
{
    m_lastError = text;
    return status;
}

bool ResourceArchive::StepProgress(size_t index, size_t count)
{
    if (!m_progress || index % StepWidth(count) != 0)
        return true;
    if (!m_progress->SetPos(static_cast<int64_t>(index)))
        return false;
    m_progress->Refresh();
    return true;
}

void ResourceArchive::SetSpannedVolumes(const std::string& workFolder, std::function<bool(int)> askNextVolume)
{
    m_workFolder = workFolder;
    m_askNextVolume = std::move(askNextVolume);
}

void ResourceArchive::SetTypeNames(std::function<std::string(const std::string&)> typeNameOf)
{
    m_typeNameOf = std::move(typeNameOf);
}

int ResourceArchive::Open(const std::string& path, bool summaryWanted)
{
    Reset();
    std::unique_ptr<ArchiveSource> source = ArchiveSource::OpenFile(path);
    if (!source)
        return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, path));
    uint8_t marker[4];
    if (source->ReadAt(0, marker, 4) && ReadLe32(marker) == kZipSpannedMarker) {
        std::string joined;
        const int status = JoinSpannedVolumes(path, joined);
        if (status != kArchiveOk)
            return status;
        source = ArchiveSource::OpenFile(joined);
        if (!source)
            return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, joined));
    }
    m_sourcePath = path;
    return OpenSource(std::move(source), summaryWanted);
}

int ResourceArchive::OpenMemory(std::vector<uint8_t> bytes, bool summaryWanted)
{
    Reset();
    return OpenSource(ArchiveSource::FromMemory(std::move(bytes)), summaryWanted);
}

int ResourceArchive::OpenResourceBytes(std::vector<uint8_t> bytes, bool deltaCoded)
{
    Reset();
    if (bytes.empty())
        return kArchiveOk; // a missing resource leaves the archive empty
    if (deltaCoded)
        UndoDeltaCoding(bytes);
    return OpenSource(ArchiveSource::FromMemory(std::move(bytes)), true);
}

int ResourceArchive::JoinSpannedVolumes(const std::string& firstPath, std::string& joinedPath)
{
    if (!m_files->IsOnRemovableDrive(firstPath) || !m_askNextVolume || m_workFolder.empty())
        return Fail(kArchiveNotRemovable, ArchiveMessage(kArchiveNotRemovable, firstPath));
    if (!m_files->CreateFolders(m_workFolder))
        return Fail(kArchiveCannotCreate, ArchiveMessage(kArchiveCannotCreate, m_workFolder));
    joinedPath = JoinPath(m_workFolder, "packlet.zip");
    std::vector<uint8_t> joined;
    constexpr size_t kChunk = 100 * 1024;
    for (int volume = 1;; ++volume) {
        std::unique_ptr<ArchiveSource> part = ArchiveSource::OpenFile(firstPath);
        if (!part)
            return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, firstPath));
        const uint64_t size = part->Size();
        if (m_progress)
            m_progress->SetRange(0, static_cast<int64_t>(size));
        for (uint64_t done = 0; done < size;) {
            const size_t count = static_cast<size_t>(std::min<uint64_t>(kChunk, size - done));
            const size_t at = joined.size();
            joined.resize(at + count);
            if (!part->ReadAt(done, joined.data() + at, count))
                return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, firstPath));
            done += count;
            if (m_progress && !m_progress->SetPos(static_cast<int64_t>(done)))
                return Fail(kArchiveCancelled, {});
        }
        const size_t tail = std::min<size_t>(joined.size(), kZipEndRecordSize + kZipMaxCommentLength);
        if (FindZipEndRecord(std::span(joined).last(tail)))
            break; // the last volume holds the end record
        if (!m_askNextVolume(volume + 1))
            return Fail(kArchiveCancelled, {});
    }
    // The joined archive starts with the spanning marker, which no offset counts.
    joined.erase(joined.begin(), joined.begin() + std::min<size_t>(4, joined.size()));
    if (!m_files->WriteWholeFile(joinedPath, joined))
        return Fail(kArchiveCannotCreate, ArchiveMessage(kArchiveCannotCreate, joinedPath));
    return kArchiveOk;
}

int ResourceArchive::OpenSource(std::unique_ptr<ArchiveSource> source, bool summaryWanted)
{
    m_source = std::move(source);
    const uint64_t size = m_source->Size();
    const size_t tailSize = static_cast<size_t>(std::min<uint64_t>(size, kZipEndRecordSize + kZipMaxCommentLength));
    std::vector<uint8_t> tail(tailSize);
    if (!m_source->ReadAt(size - tailSize, tail.data(), tailSize))
        return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, m_sourcePath));
    const std::optional<ZipEndRecord> end = FindZipEndRecord(tail);
    if (!end)
        return Fail(kArchiveNoEndRecord, ArchiveMessage(kArchiveNoEndRecord, m_sourcePath));
    m_comment = end->comment;
    uint64_t position = end->directoryOffset;
    const size_t count = end->entryCount;
    if (m_progress)
        m_progress->SetRange(0, static_cast<int64_t>(count));
    for (size_t i = 0; i < count; ++i) {
        if (!StepProgress(i, count))
            return Fail(kArchiveCancelled, {});
        std::array<uint8_t, kZipCentralHeaderSize> bytes;
        if (!m_source->ReadAt(position, bytes.data(), bytes.size()))
            return Fail(kArchiveBadHeader, ArchiveMessage(kArchiveBadHeader, m_sourcePath));
        const std::optional<ZipCentralHeader> header = ParseZipCentralHeader(bytes);
        if (!header)
            return Fail(kArchiveBadHeader, ArchiveMessage(kArchiveBadHeader, m_sourcePath));
        position += kZipCentralHeaderSize;
        std::string name(header->nameLength, '\0');
        if (!m_source->ReadAt(position, reinterpret_cast<uint8_t*>(name.data()), name.size()))
            return Fail(kArchiveBadHeader, ArchiveMessage(kArchiveBadHeader, m_sourcePath));
        position += static_cast<uint64_t>(header->nameLength) + header->extraLength + header->commentLength;
        if (position > size)
            return Fail(kArchiveBadHeader, ArchiveMessage(kArchiveBadHeader, m_sourcePath));
        AddEntry(MakeArchiveEntry(*header, name));
    }
    if (summaryWanted)
        BuildSummary();
    return kArchiveOk;
}

void ResourceArchive::AddEntry(ArchiveEntry entry)
{
    if (m_typeNameOf && entry.isFile)
        entry.typeName = m_typeNameOf(entry.name);
    const int index = static_cast<int>(m_entries.size());
    // Every folder on the way gets its node, so that the tree has no holes.
    std::string parent;
    for (size_t cut = entry.folder.find('\\'); cut != std::string::npos; cut = entry.folder.find('\\', cut + 1)) {
        const std::string folder = entry.folder.substr(0, cut + 1);
        const std::string key = UpperAscii(folder);
        if (!m_folderIndex.count(key)) {
            m_folderIndex[key] = static_cast<int>(m_folders.size());
            m_folders.push_back(ArchiveFolder{folder, {}});
        }
        if (!entry.isFile && cut + 1 == entry.folder.size())
            break;
        parent = folder;
    }
    const std::string home = entry.isFile ? entry.folder : parent;
    m_folders[m_folderIndex[UpperAscii(home)]].entries.push_back(index);
    if (entry.isFile) {
        ++m_totals.files;
        m_totals.compressed += entry.compressedSize;
        m_totals.uncompressed += entry.uncompressedSize;
    }
    const std::string* texts[kArchiveColumnCount] = {&entry.name, &entry.sizeText, &entry.packedText,
                                                     &entry.ratioText, &entry.dateText, &entry.timeText,
                                                     &entry.attributeText, &entry.crcText, &entry.folder,
                                                     &entry.typeName};
    for (int column = 0; column < kArchiveColumnCount; ++column) {
        const int longest = m_longest[column];
        if (longest < 0) {
            m_longest[column] = index;
            continue;
        }
        const ArchiveEntry& other = m_entries[longest];
        const std::string* otherTexts[kArchiveColumnCount] = {&other.name, &other.sizeText, &other.packedText,
                                                              &other.ratioText, &other.dateText, &other.timeText,
                                                              &other.attributeText, &other.crcText, &other.folder,
                                                              &other.typeName};
        if (texts[column]->size() > otherTexts[column]->size())
            m_longest[column] = index;
    }
    m_entries.push_back(std::move(entry));
}

void ResourceArchive::BuildSummary()
{
    m_summary.files = GroupThousands(m_totals.files);
    m_summary.packedSize = GroupThousands(m_totals.compressed);
    m_summary.totalSize = GroupThousands(m_totals.uncompressed);
    m_summary.ratio = RatioText(m_totals.uncompressed, m_totals.compressed);
    if (m_summary.ratio == "?")
        m_summary.ratio = "0%";
}

int ResourceArchive::Find(const std::string& name, bool byFullPath) const
{
    std::string wanted = name;
    for (char& c : wanted)
        if (c == '/')
            c = '\\';
    const size_t cut = wanted.find_last_of('\\');
    const std::string folder = cut == std::string::npos ? std::string() : wanted.substr(0, cut + 1);
    const auto node = m_folderIndex.find(UpperAscii(folder));
    if (node == m_folderIndex.end())
        return -1;
    const std::string key = UpperAscii(byFullPath ? wanted : wanted.substr(cut == std::string::npos ? 0 : cut + 1));
    for (int index : m_folders[node->second].entries) {
        const ArchiveEntry& entry = m_entries[index];
        if (UpperAscii(byFullPath ? entry.path : entry.name) == key)
            return index;
    }
    return -1;
}

std::string ResourceArchive::TargetPath(const ArchiveEntry& entry, const std::string& folder, bool keepFolders) const
{
    return JoinPath(keepFolders ? JoinPath(folder, entry.folder) : folder, entry.name);
}

int ResourceArchive::ReadEntryData(int index, std::vector<uint8_t>& data)
{
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size() || !m_source)
        return Fail(kArchiveFailed, {});
    const ArchiveEntry& entry = m_entries[index];
    const ZipCentralHeader& header = entry.header;
    if (entry.encrypted && m_password.empty())
        return Fail(kArchiveNeedsPassword, ArchiveMessage(kArchiveNeedsPassword, entry.path));
    if ((header.method != 0 && header.method != 8) || !PlausibleSizes(header))
        return Fail(kArchiveFailed, ArchiveMessage(kArchiveDamagedEntry, entry.path));
    std::array<uint8_t, kZipLocalHeaderSize> local;
    if (!m_source->ReadAt(header.localHeaderOffset, local.data(), local.size()))
        return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, entry.path));
    const std::optional<ZipLocalHeader> localHeader = ParseZipLocalHeader(local);
    if (!localHeader)
        return Fail(kArchiveBadHeader, ArchiveMessage(kArchiveBadHeader, entry.path));
    const uint64_t dataAt = static_cast<uint64_t>(header.localHeaderOffset) + kZipLocalHeaderSize +
                            localHeader->nameLength + localHeader->extraLength;
    if (dataAt > m_source->Size() || header.compressedSize > m_source->Size() - dataAt)
        return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, entry.path));
    std::vector<uint8_t> packed(header.compressedSize);
    if (!m_source->ReadAt(dataAt, packed.data(), packed.size()))
        return Fail(kArchiveUnreadable, ArchiveMessage(kArchiveUnreadable, entry.path));
    if (entry.encrypted) {
        if (packed.size() < kZipEncryptionHeaderSize)
            return Fail(kArchiveFailed, ArchiveMessage(kArchiveDamagedEntry, entry.path));
        ZipDecryptor decryptor(m_password);
        decryptor.Decrypt(packed);
        packed.erase(packed.begin(), packed.begin() + kZipEncryptionHeaderSize);
    }
    // A wrong password or damaged data must not be written out as if it were the file.
    const bool whole = header.method == 0
                           ? packed.size() == header.uncompressedSize && CheckZipMember(packed, header.crc)
                           : InflateZipMember(packed, header.uncompressedSize, header.crc, data);
    if (!whole)
        return Fail(kArchiveFailed, ArchiveMessage(kArchiveDamagedEntry, entry.path));
    if (header.method == 0)
        data = std::move(packed);
    return kArchiveOk;
}

std::optional<std::vector<uint8_t>> ResourceArchive::ReadEntry(int index)
{
    std::vector<uint8_t> data;
    if (ReadEntryData(index, data) != kArchiveOk)
        return std::nullopt;
    return data;
}

int ResourceArchive::ExtractEntry(int index, const std::string& folder, bool keepFolders)
{
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return Fail(kArchiveFailed, {});
    const ArchiveEntry& entry = m_entries[index];
    if (!IsContainedEntryPath(entry.path))
        return Fail(kArchiveFailed, ArchiveMessage(kArchiveUnsafeName, entry.path));
    if (!entry.isFile)
        return kArchiveOk;
    std::vector<uint8_t> data;
    const int status = ReadEntryData(index, data);
    if (status != kArchiveOk)
        return status;
    const std::string target = TargetPath(entry, folder, keepFolders);
    const std::string targetFolder = PathFolderPart(target);
    // Entries come folder by folder: a folder made (or found) once is not asked for again.
    if (!m_madeFolders.count(targetFolder)) {
        if (!m_files->CreateFolders(targetFolder))
            return Fail(kArchiveCannotCreate, ArchiveMessage(kArchiveCannotCreate, targetFolder));
        m_madeFolders.insert(targetFolder);
    }
    if (const std::optional<uint64_t> free = m_files->FreeSpace(targetFolder)) {
        const uint64_t available = *free + m_files->FileSize(target).value_or(0);
        if (available <= entry.uncompressedSize)
            return Fail(kArchiveNoSpace, NoSpaceMessage(entry.name, targetFolder, entry.uncompressedSize, available));
    }
    if (!m_files->WriteWholeFile(target, data))
        return Fail(kArchiveCannotCreate, ArchiveMessage(kArchiveCannotCreate, target));
    m_files->SetFileStamp(target, entry.header.dosDate, entry.header.dosTime, entry.header.externalAttributes & 0xFF);
    return kArchiveOk;
}

int ResourceArchive::DeleteEntry(int index, const std::string& folder, bool keepFolders)
{
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return Fail(kArchiveFailed, {});
    const ArchiveEntry& entry = m_entries[index];
    if (!IsContainedEntryPath(entry.path))
        return Fail(kArchiveFailed, ArchiveMessage(kArchiveUnsafeName, entry.path));
    if (!entry.isFile)
        return kArchiveOk;
    const std::string target = TargetPath(entry, folder, keepFolders);
    // A file that is already gone is as good as deleted: one missing help page must not stop an
    // uninstall halfway.
    if (m_files->FileSize(target) && !m_files->DeleteFileAt(target))
        return Fail(kArchiveFailed, ArchiveMessage(kArchiveCannotDelete, target));
    m_files->RemoveFolderIfEmpty(WithoutTrailingSeparator(PathFolderPart(target)));
    return kArchiveOk;
}

int ResourceArchive::ExtractAll(const std::string& folder, bool keepFolders, bool extracting)
{
    if (extracting && !m_files->CreateFolders(folder))
        return Fail(kArchiveCannotCreate, ArchiveMessage(kArchiveCannotCreate, folder));
    const size_t count = m_entries.size();
    if (m_progress) {
        m_progress->Begin();
        m_progress->SetRange(0, static_cast<int64_t>(count));
    }
    int status = kArchiveOk;
    for (size_t i = 0; i < count && status == kArchiveOk; ++i) {
        if (!StepProgress(i, count)) {
            status = Fail(kArchiveCancelled, {});
            break;
        }
        const ArchiveEntry& entry = m_entries[i];
        if (!entry.isFile)
            continue;
        if (m_progress)
            m_progress->SetTextFormatted(extracting ? kStatusExtracting : kStatusDeleting, entry.path);
        status = extracting ? ExtractEntry(static_cast<int>(i), folder, keepFolders)
                            : DeleteEntry(static_cast<int>(i), folder, keepFolders);
    }
    if (m_progress)
        m_progress->End();
    return status;
}
