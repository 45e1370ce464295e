// POSIX has no drive letters: an "All disks" search finds nothing here rather than walking the
// whole machine.
#include "filetools/finder/search_drives.h"

std::vector<LogicalDrive> ListLogicalDrives() { return {}; }
