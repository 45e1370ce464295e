#include "setupstub/stub_archive.h"

#include <algorithm>

#include "setup/zip_inflate.h"

namespace {
// A member name that stays below the folder: no drive, no leading separator, no "..".
bool StaysInside(const std::string& path)
{
    if (path.empty() || path[0] == '\\' || path.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end - start == 2 && path.compare(start, 2, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

bool ExtractMember(std::span<const uint8_t> archive, const StubEntry& entry, const std::string& folder,
                   StubFiles& files, std::string& written)
{
    const ZipCentralHeader& header = entry.header;
    if (header.uncompressedSize == 0)
        return true;
    if (header.Encrypted() || (header.method != 0 && header.method != 8))
        return false;
    const uint64_t localAt = header.localHeaderOffset;
    if (localAt > archive.size() || archive.size() - localAt < kZipLocalHeaderSize)
        return false;
    const auto local = ParseZipLocalHeader(archive.subspan(localAt).first<kZipLocalHeaderSize>());
    if (!local)
        return false;
    const uint64_t nameAt = localAt + kZipLocalHeaderSize;
    const uint64_t dataAt = nameAt + local->nameLength + local->extraLength;
    if (dataAt > archive.size() || archive.size() - dataAt < header.compressedSize)
        return false;
    std::string name(reinterpret_cast<const char*>(archive.data() + nameAt), local->nameLength);
    std::replace(name.begin(), name.end(), '/', '\\');
    if (!StaysInside(name))
        return false;
    const auto packed = archive.subspan(dataAt, header.compressedSize);
    std::vector<uint8_t> plain;
    if (header.method == 0) {
        if (packed.size() != header.uncompressedSize || !CheckZipMember(packed, header.crc))
            return false;
        plain.assign(packed.begin(), packed.end());
    } else if (header.uncompressedSize > static_cast<uint64_t>(packed.size()) * 1032 + 1024 ||
               !InflateZipMember(packed, header.uncompressedSize, header.crc, plain)) {
        return false;
    }
    const std::string path = JoinStubPath(folder, name);
    if (!files.CreateFoldersOf(path) || !files.WriteWholeFile(path, plain))
        return false;
    written = path;
    return true;
}
} // namespace

std::string JoinStubPath(const std::string& a, const std::string& b)
{
    const std::string second = !b.empty() && b[0] == '\\' ? b.substr(1) : b;
    if (a.empty())
        return second;
    if (second.empty())
        return a;
    return a.back() == '\\' ? a + second : a + "\\" + second;
}

bool ReadStubDirectory(std::span<const uint8_t> archive, StubDirectory& directory)
{
    directory = {};
    const size_t tail = std::min<size_t>(archive.size(), kZipEndRecordSize + kZipMaxCommentLength);
    const auto end = FindZipEndRecord(archive.last(tail));
    if (!end)
        return false;
    uint64_t at = end->directoryOffset;
    for (unsigned i = 0; i < end->entryCount; ++i) {
        if (at > archive.size() || archive.size() - at < kZipCentralHeaderSize)
            return false;
        const auto header = ParseZipCentralHeader(archive.subspan(at).first<kZipCentralHeaderSize>());
        if (!header)
            return false;
        const uint64_t nameAt = at + kZipCentralHeaderSize;
        at = nameAt + header->nameLength + header->extraLength + header->commentLength;
        if (at > archive.size())
            return false;
        directory.entries.push_back(
            {*header, std::string(reinterpret_cast<const char*>(archive.data() + nameAt), header->nameLength)});
        directory.totalSize += header->uncompressedSize;
        directory.anyEncrypted = directory.anyEncrypted || header->Encrypted();
    }
    return true;
}

std::string ExtractStubArchive(std::span<const uint8_t> archive, const std::string& folder, StubFiles& files)
{
    StubDirectory directory;
    if (!ReadStubDirectory(archive, directory))
        return {};
    std::string written;
    for (const StubEntry& entry : directory.entries)
        ExtractMember(archive, entry, folder, files, written);
    return written;
}
