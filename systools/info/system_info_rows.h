#pragma once
// The rows of the system information list: processor, address space and memory figures, in
// the order the list shows them. The facts come from the system (GetSystemInfo,
// GlobalMemoryStatusEx); building the rows from them is portable.
#include <cstdint>

#include "systools/info/info_rows.h"
#include "systools/info/processor_naming.h"

struct SystemFacts {
    ProcessorRecord processor;
    bool revisionGiven = false; // only the NT family reports a processor revision
    unsigned processorCount = 0;
    uint32_t allocationGranularity = 0;
    uint32_t pageSize = 0;
    uint64_t minimumAddress = 0;
    uint64_t maximumAddress = 0;
    unsigned memoryLoad = 0; // percent
    uint64_t totalPhysical = 0, freePhysical = 0;
    uint64_t totalPaging = 0, freePaging = 0;
    uint64_t totalUser = 0, freeUser = 0;
};

InfoRows SystemInfoRows(const SystemFacts& facts);

// "0x%X (%d)" of an address, on the full width of the address.
std::string AddressText(uint64_t address);
