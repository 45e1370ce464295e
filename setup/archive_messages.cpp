#include "setup/archive_messages.h"

#include "base/size_text.h"
#include "base/text.h"
#include "res/resource.h"
#include "setup/resource_archive.h"

unsigned ArchiveMessageId(int number)
{
    switch (number) {
    case kArchiveBadHeader: return IDS_ARCHIVE_BAD_HEADER;
    case kArchiveUnreadable: return IDS_ARCHIVE_UNREADABLE;
    case kArchiveCannotCreate: return IDS_ARCHIVE_CANNOT_CREATE;
    case kArchiveNotRemovable: return IDS_ARCHIVE_NOT_REMOVABLE;
    case kArchiveNoEndRecord: return IDS_ARCHIVE_NO_END_RECORD;
    case kArchiveNoSpace: return IDS_ARCHIVE_NO_SPACE;
    case kArchiveNeedsPassword: return IDS_ARCHIVE_NEEDS_PASSWORD;
    case kArchiveDamagedEntry: return IDS_ARCHIVE_DAMAGED_ENTRY;
    case kArchiveUnsafeName: return IDS_ARCHIVE_UNSAFE_NAME;
    case kArchiveCannotDelete: return IDS_ARCHIVE_CANNOT_DELETE;
    default: return 0;
    }
}

std::string ArchiveMessage(int number, const std::string& subject)
{
    const unsigned id = ArchiveMessageId(number);
    return id ? FillConversions(LoadText(id), {subject}) : std::string();
}

std::string NoSpaceMessage(const std::string& file, const std::string& folder, uint64_t needed, uint64_t available)
{
    return FillConversions(LoadText(IDS_ARCHIVE_NO_SPACE), {file, folder, LongSizeText(needed), LongSizeText(available)});
}
