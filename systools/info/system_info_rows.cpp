#include "systools/info/system_info_rows.h"

#include <cinttypes>
#include <cstdio>

#include "base/size_text.h"
#include "res/resource.h"

std::string AddressText(uint64_t address)
{
    char text[64];
    std::snprintf(text, sizeof text, "0x%" PRIX64 " (%" PRIu64 ")", address, address);
    return text;
}

InfoRows SystemInfoRows(const SystemFacts& facts)
{
    InfoRows rows;
    rows.push_back(NamedRow(IDS_SYSINFO_ARCHITECTURE, ProcessorName(facts.processor)));
    if (facts.revisionGiven)
        rows.push_back(NamedRow(IDS_SYSINFO_REVISION, ProcessorRevisionText(facts.processor)));
    rows.push_back(NamedRow(IDS_SYSINFO_PROCESSORS, std::to_string(facts.processorCount)));
    rows.push_back(NamedRow(IDS_SYSINFO_GRANULARITY, std::to_string(facts.allocationGranularity)));
    rows.push_back(NamedRow(IDS_SYSINFO_PAGE_SIZE, std::to_string(facts.pageSize)));
    rows.push_back(NamedRow(IDS_SYSINFO_MIN_ADDRESS, AddressText(facts.minimumAddress)));
    rows.push_back(NamedRow(IDS_SYSINFO_MAX_ADDRESS, AddressText(facts.maximumAddress)));
    rows.push_back(SeparatorRow());
    rows.push_back(NamedRow(IDS_SYSINFO_MEMORY_LOAD, std::to_string(facts.memoryLoad) + " %"));
    rows.push_back(NamedRow(IDS_SYSINFO_PHYSICAL, LongSizeText(facts.totalPhysical)));
    rows.push_back(NamedRow(IDS_SYSINFO_FREE_PHYSICAL, LongSizeText(facts.freePhysical)));
    rows.push_back(NamedRow(IDS_SYSINFO_PAGING, LongSizeText(facts.totalPaging)));
    rows.push_back(NamedRow(IDS_SYSINFO_FREE_PAGING, LongSizeText(facts.freePaging)));
    rows.push_back(NamedRow(IDS_SYSINFO_VIRTUAL, LongSizeText(facts.totalUser)));
    rows.push_back(NamedRow(IDS_SYSINFO_FREE_VIRTUAL, LongSizeText(facts.freeUser)));
    return rows;
}
