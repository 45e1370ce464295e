#include "systools/disks/disk_operations.h"

#include "base/text.h"
#include "systools/disks/autorun_inf.h"
#include "systools/disks/disk_texts.h"

namespace {
std::string RootOf(char letter) { return std::string(1, letter) + ":\\"; }

std::string JoinRoot(const std::string& root, const char* name)
{
    if (!root.empty() && root.back() != '\\' && root.back() != '/')
        return root + "\\" + name;
    return root + name;
}

// A location that would break the file's lines is never written.
bool IsWritableLocation(const std::string& location)
{
    return location.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}
} // namespace

DiskRecord ReadDiskRecord(IDiskSystem& system, const std::string& root, unsigned driveType, const std::string& unknown)
{
    DiskRecord record;
    record.rootPath = root;
    record.driveType = driveType;
    record.typeName = LoadText(DiskTypeTextId(driveType));
    record.volumeLabel = unknown;
    record.fileSystemName = unknown;
    if (const auto volume = system.Volume(root)) {
        record.volumeLabel = DisplayedVolumeLabel(volume->label);
        record.fileSystemName = volume->fileSystem;
        record.volumeSerial = volume->serial;
        record.maxComponentLength = volume->maxComponentLength;
        const FreeSpace space = system.Space(root);
        record.freeBytes = space.freeBytes;
        record.totalBytes = space.totalBytes;
    }
    record.iconLocation = system.ShellIconLocation(root);
    return record;
}

std::vector<DiskRecord> EnumerateDisks(IDiskSystem& system, const std::string& unknown)
{
    std::vector<DiskRecord> records;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = RootOf(letter);
        const unsigned type = system.DriveType(root);
        if (IsListedDiskType(type))
            records.push_back(ReadDiskRecord(system, root, type, unknown));
    }
    return records;
}

std::string DefaultDriveIcon(unsigned driveType, const std::string& systemFolder)
{
    int index = -1;
    switch (driveType) {
    case kDiskRemovable: index = 7; break;
    case kDiskFixed: index = 8; break;
    case kDiskRemote: index = 10; break;
    case kDiskRam: index = 12; break;
    default: return {};
    }
    return JoinRoot(systemFolder, "shell32.dll") + "," + std::to_string(index);
}

bool WriteVolumeLabelAndIcon(IDiskSystem& system, const std::string& root, const std::optional<std::string>& label,
                             const std::string& iconLocation)
{
    if (!iconLocation.empty()) {
        if (!IsWritableLocation(iconLocation))
            return false;
        const std::string target = JoinRoot(root, kAutorunFileName);
        const std::string temp = JoinRoot(root, kAutorunTempName);
        std::optional<AutorunFile> existing;
        if (system.FileExists(target)) {
            const auto bytes = system.ReadFile(target, kMaxAutorunFileSize);
            if (!bytes)
                return false; // an existing file we cannot read is not ours to replace
            existing = ParseAutorunFile(*bytes); // not text: replaced whole
        }
        const std::string text = ComposeAutorunFile(existing ? &*existing : nullptr, AutorunIconValue(root, iconLocation));
        system.RemoveFile(temp); // a leftover of an interrupted earlier write
        if (!system.WriteNewFile(temp, text))
            return false;
        if (!system.PutFileInPlace(temp, target)) {
            system.RemoveFile(temp);
            return false;
        }
    }
    if (label)
        system.WriteVolumeLabel(root, VolumeLabelToWrite(*label));
    system.BroadcastDisplayChange();
    return true;
}
