#include "systools/disks/disk_texts.h"

#include "base/size_text.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/disks/disk_record.h"

bool IsListedDiskType(unsigned type) { return type >= kDiskRemovable && type <= kDiskRam; }

std::string MegabyteText(uint64_t bytes) { return GroupThousands(bytes >> 20) + " " + LoadText(IDS_SIZE_UNIT_MB); }

std::string DisplayedVolumeLabel(const std::string& label)
{
    std::string shown = label;
    for (size_t i = 1; i < shown.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(shown[i]);
        // ASCII and the Latin-1 capitals (except the multiplication sign).
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            shown[i] = static_cast<char>(c + 32);
    }
    return shown;
}

std::string VolumeLabelToWrite(const std::string& label) { return label.substr(0, kVolumeLabelLength); }

unsigned DiskTypeTextId(unsigned driveType)
{
    switch (driveType) {
    case kDiskRemovable: return IDS_DISK_TYPE_REMOVABLE;
    case kDiskFixed: return IDS_DISK_TYPE_FIXED;
    case kDiskRemote: return IDS_DISK_TYPE_REMOTE;
    case kDiskCdRom: return IDS_DISK_TYPE_CDROM;
    case kDiskRam: return IDS_DISK_TYPE_RAM;
    default: return 0;
    }
}

unsigned FreePercent(uint64_t freeBytes, uint64_t totalBytes)
{
    // In 128 bits: 100 x free cannot overflow, and total + 1 cannot wrap to a zero divisor.
    const unsigned __int128 share = static_cast<unsigned __int128>(freeBytes) * 100 /
                                    (static_cast<unsigned __int128>(totalBytes) + 1);
    return share > 100 ? 100u : static_cast<unsigned>(share);
}

DiskShareTexts DescribeDiskShare(uint64_t freeBytes, uint64_t totalBytes)
{
    DiskShareTexts texts;
    texts.freePercent = FreePercent(freeBytes, totalBytes);
    const uint64_t used = totalBytes > freeBytes ? totalBytes - freeBytes : 0;
    texts.freeText = FormatText(IDS_DISKPROP_SHARE, LongSizeText(freeBytes), std::to_string(texts.freePercent));
    texts.usedText = FormatText(IDS_DISKPROP_SHARE, LongSizeText(used), std::to_string(100 - texts.freePercent));
    texts.totalText = LongSizeText(totalBytes);
    return texts;
}
