// The native build has no metafile player or recorder: the codecs stay in the table and refuse.
#include "picture/codecs/metafile_platform.h"

namespace metafile {

bool PlatformAvailable() { return false; }
std::string PlatformUnavailableReason()
{
    return "Metafiles are played and recorded by the Windows graphics interface (GDI), which this build does not have.";
}
bool QueryDisplay(DisplayMetrics&) { return false; }
bool RenderEnhancedFile(const std::string&, unsigned, unsigned, uint32_t, CPicture&, CQnProgress&) { return false; }
bool RenderWindowsBits(const std::vector<uint8_t>&, const PlaceableHeader*, unsigned, unsigned, CPicture&, CQnProgress&)
{
    return false;
}
bool WindowsBitsBounds(const std::vector<uint8_t>&, int64_t&, int64_t&) { return false; }
bool RecordEnhancedFile(const std::string&, const CPicture&) { return false; }
bool RecordWindowsMetafile(const CPicture&, std::vector<uint8_t>&) { return false; }

} // namespace metafile
