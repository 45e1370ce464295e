#pragma once
// The disks module's operations on the system, through IDiskSystem: the drive list, the
// default drive icons, and writing a drive's label and icon.
#include <optional>
#include <string>
#include <vector>

#include "systools/disks/disk_record.h"
#include "systools/disks/disk_system.h"

// The file "autorun.inf" is written as this file beside it first, then put in its place.
inline constexpr char kAutorunFileName[] = "autorun.inf";
inline constexpr char kAutorunTempName[] = "autorun.qn~";

// A record for each root C:\ to Z:\ whose type is one of the five listed, in letter order
// (A: and B: are never probed). A drive whose volume cannot be read keeps "Unknown" label and
// file system and zero sizes. `unknown` is the "Unknown" text of the current language.
std::vector<DiskRecord> EnumerateDisks(IDiskSystem& system, const std::string& unknown);

// The record of one root, as EnumerateDisks builds it.
DiskRecord ReadDiskRecord(IDiskSystem& system, const std::string& root, unsigned driveType, const std::string& unknown);

// The default icon location of a drive type: "shell32.dll" in the system folder with index 7
// (removable), 8 (fixed), 10 (remote) or 12 (RAM disk); empty for CD-ROM and other types.
std::string DefaultDriveIcon(unsigned driveType, const std::string& systemFolder);

// Writes `iconLocation` into the root's "autorun.inf" (unless it is empty: the icon is left
// alone), sets the volume label cut to 11 characters, and tells the windows so the shell
// shows the new icon. The file is written beside and then put in place, so a failure leaves
// the old file (or none) as it was and sets no label; an existing file's other entries are
// kept (ComposeAutorunFile). Failures of the label itself are not reported. True when done.
// A label of nothing leaves the volume label as it is (only the icon changes).
bool WriteVolumeLabelAndIcon(IDiskSystem& system, const std::string& root, const std::optional<std::string>& label,
                             const std::string& iconLocation);
