// The build machine's files carry no Windows version resource.
#include "filetools/properties/version_info.h"

std::unique_ptr<VersionResource> ReadVersionResource(const std::string&) { return nullptr; }
