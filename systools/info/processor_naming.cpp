#include "systools/info/processor_naming.h"

#include <cstdio>

#include "base/text.h"
#include "res/resource.h"

namespace {
constexpr uint32_t kIntel386 = 386;
constexpr uint32_t kIntel486 = 486;
constexpr uint32_t kIntel586 = 586;

int Model(const ProcessorRecord& processor) { return processor.revision >> 8; }
int Stepping(const ProcessorRecord& processor) { return processor.revision & 0xFF; }

bool IsX86(const ProcessorRecord& processor)
{
    return processor.architecture == kArchitectureIntel || processor.architecture == kArchitectureAmd64;
}

// A model counted from the letter "A"; a model past "Z" (never seen) keeps its number.
std::string ModelLetter(int model)
{
    if (model >= 0 && model < 26)
        return std::string(1, static_cast<char>('A' + model));
    return std::to_string(model);
}

std::string Format(const char* format, int a, int b)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}
} // namespace

std::string ProcessorName(const ProcessorRecord& processor)
{
    if (IsX86(processor)) {
        switch (processor.type) {
        case kIntel386: return "386";
        case kIntel486: return "486";
        case kIntel586:
            switch (processor.level) {
            case 3: return "80x386";
            case 4: return "80x486";
            case 5: return "Pentium";
            case 6: return "Pentium II / Pentium Pro";
            default: return "Pentium compatible";
            }
        default: return std::to_string(processor.type);
        }
    }
    switch (processor.architecture) {
    case kArchitectureMips: return "MIPS";
    case kArchitectureAlpha: return "Alpha";
    case kArchitecturePowerPc: return "Power PC";
    default: return LoadText(IDS_UNKNOWN);
    }
}

std::string ProcessorRevisionText(const ProcessorRecord& processor)
{
    if (IsX86(processor)) {
        if (processor.type == kIntel386 || processor.type == kIntel486) {
            char stepping[16];
            std::snprintf(stepping, sizeof stepping, "%x", Stepping(processor));
            return ModelLetter(Model(processor)) + stepping + " chip";
        }
        return Format("Model %d, Stepping %d", Model(processor), Stepping(processor));
    }
    switch (processor.architecture) {
    case kArchitectureMips: return std::to_string(Stepping(processor));
    case kArchitectureAlpha: return "Model " + ModelLetter(Model(processor)) + ", Pass " + std::to_string(Stepping(processor));
    case kArchitecturePowerPc: return Format("%d.%d", Model(processor), Stepping(processor));
    default: return {};
    }
}
