#include "filetools/properties/file_record.h"

#include <ctime>

#include "app/paths.h"
#include "filetools/properties/file_facts.h"
#include "filetools/properties/file_type_name.h"
#include "filetools/properties/size_text.h"
#include "filetools/properties/version_info.h"

std::string AttributesText(uint32_t attributes)
{
    std::string text;
    if (attributes & kAttributeReadOnly) text += 'R';
    if (attributes & kAttributeHidden) text += 'H';
    if (attributes & kAttributeArchive) text += 'A';
    if (attributes & kAttributeSystem) text += 'S';
    return text;
}

std::string AttributesTextRAHS(uint32_t attributes)
{
    std::string text;
    if (attributes & kAttributeReadOnly) text += 'R';
    if (attributes & kAttributeArchive) text += 'A';
    if (attributes & kAttributeHidden) text += 'H';
    if (attributes & kAttributeSystem) text += 'S';
    return text;
}

std::string FormatLocalStamp(FileStamp stamp, const char* format)
{
    if (stamp == 0)
        return {};
    const std::time_t seconds = static_cast<std::time_t>(UnixSecondsOfStamp(stamp));
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return {};
#else
    if (!localtime_r(&seconds, &local))
        return {};
#endif
    char text[128];
    const size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

std::string ModifiedText(FileStamp stamp) { return FormatLocalStamp(stamp, "%m/%d/%Y %I:%M %p"); }

void BuildFileRecord(FileRecord& record, const std::string& path, bool withoutVersion)
{
    FileFacts facts;
    ReadFileFacts(path, facts);

    record.path = path;
    record.folder = PathFolderPart(path);
    record.byteSize = facts.size;
    record.modified = facts.lastWrite;
    record.sizeText = ShortSizeText(facts.size);
    record.modifiedText = ModifiedText(facts.lastWrite);
    record.typeName = GetFileTypeName(path);
    if (withoutVersion) {
        record.version.clear();
        record.productName.clear();
        record.attributes.clear();
        return;
    }
    const std::unique_ptr<VersionResource> resource = ReadVersionResource(path);
    record.version = ChooseVersionString(resource.get(), "FileVersion", "ProductVersion");
    record.productName = ChooseVersionString(resource.get(), "ProductName", "ProductVersion");
    record.attributes = AttributesText(facts.attributes);
}
