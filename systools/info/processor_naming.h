#pragma once
// The processor's name and revision text, from the system information record: architecture,
// processor type, level and revision (high byte the model, low byte the stepping).
#include <cstdint>
#include <string>

struct ProcessorRecord {
    uint16_t architecture = 0; // PROCESSOR_ARCHITECTURE_* values
    uint32_t type = 0;         // PROCESSOR_INTEL_386, 486, 586, ...
    uint16_t level = 0;
    uint16_t revision = 0;
};

// The architecture codes the naming table knows (the values of PROCESSOR_ARCHITECTURE_*).
enum ProcessorArchitecture : uint16_t {
    kArchitectureIntel = 0,
    kArchitectureMips = 1,
    kArchitectureAlpha = 2,
    kArchitecturePowerPc = 3,
    kArchitectureAmd64 = 9, // the same x86 family, named as the Intel rows name it
    kArchitectureUnknown = 0xFFFF,
};

// "386", "486", "Pentium", ..., "MIPS", "Alpha", "Power PC"; the string-table "Unknown" for an
// architecture the table does not know.
std::string ProcessorName(const ProcessorRecord& processor);

// "A0 chip" (386 and 486: the model as a letter from "A", the stepping in hexadecimal),
// "Model 2, Stepping 9", "Model A, Pass 3" (Alpha), "4" (MIPS), "1.2" (Power PC); empty for an
// architecture the table does not know.
std::string ProcessorRevisionText(const ProcessorRecord& processor);
