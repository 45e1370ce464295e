#include "filetools/properties/os_version.h"

OsVersion GetOsVersion() { return {}; }
