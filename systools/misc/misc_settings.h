#pragma once
// The shell and desktop settings of the Misc module: which registry value or system parameter
// holds each one, how the three groups are read, and what each group's Apply writes.
//
// Apply puts back exactly what was there when the module opened for every setting whose
// state is the opening one (the value's own bytes, or no value when there was none), writes
// the new value for the others, and leaves a value alone when it already holds what is
// asked. So Reset (which restores the opening states) followed by Apply restores the desktop.
#include <functional>
#include <string>
#include <vector>

#include "systools/misc/stored_value.h"
#include "systools/misc/system_parameters.h"

// The registry values of the settings.
namespace misc_keys {
inline constexpr const char* kWindowMetrics = "Control Panel\\Desktop\\WindowMetrics\\";
inline constexpr const char* kDesktop = "Control Panel\\Desktop\\";
inline constexpr const char* kTipsShow = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Tips\\";
inline constexpr const char* kShellIcons = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Icons\\";
inline constexpr const char* kShortcutOverlay = "29";
inline constexpr const char* kRecycleBin = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\";
inline constexpr const char* kRecycleBinIcons = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon\\";
inline constexpr const char* kBitmapType = ".Bmp\\";
inline constexpr const char* kBitmapProgId = "bmpfile";
inline constexpr const char* kBitmapTypeName = "Bitmap Picture";
inline constexpr const char* kShowsItself = "%1";
} // namespace misc_keys

ValueAddress IconColourValue();   // "Shell Icon BPP"
ValueAddress IconSizeValue();     // "Shell Icon Size"
ValueAddress FontSmoothingValue();
ValueAddress MenuShowDelayValue();
ValueAddress TipsShowValue();     // DWORD
ValueAddress ShortcutOverlayValue();
ValueAddress RecycleBinNameValue();
ValueAddress RecycleBinIconValue(bool full);

inline constexpr int kNormalIconSize = 32;
inline constexpr int kMaxIconSize = 1000;    // the size edit's range is 0 to this
inline constexpr int kMaxMenuShowDelay = 10000;
// Icon spacing in pixels for an icon size: size × 75 / 32.
int IconSpacingFor(int iconSize);
// The size that Apply stores for the size edit's number: at least 1, at most kMaxIconSize.
int ClampedIconSize(int edited);

// The "Misc" group as its controls show it.
struct MiscGroup {
    bool animation = true;
    bool fontSmoothing = true;
    bool fastTaskSwitch = true;
    bool colourIcons = true; // icons in 64K colours
    bool bigIcons = false;
    int iconSize = kNormalIconSize; // the size edit
    bool showTips = true;
    bool shortcutArrow = true;
    std::string overlayLocation; // shown while the arrow is shown
    bool dragFullWindows = true;
    bool beep = false;
    bool wrapTitles = false;
    bool bitmapIcons = false; // bitmap files show themselves as icon
    bool operator==(const MiscGroup&) const = default;
};

struct MenusGroup {
    int showDelay = 400; // milliseconds
    bool leftAlignment = false;
    bool operator==(const MenusGroup&) const = default;
};

struct RecycleBinGroup {
    std::string name;
    std::string emptyIcon;
    std::string fullIcon;
    bool operator==(const RecycleBinGroup&) const = default;
};

// What the module needs from its surroundings.
struct MiscContext {
    std::string systemFolder;      // no trailing separator
    std::string blankIconLocation; // the program's blank icon: "<program path>,12"
    std::function<bool(const std::string&)> iconUsable; // whether a location yields an icon
};

// The program's blank icon is its icon number 12.
inline constexpr int kBlankIconIndex = 12;
std::string BlankIconLocation(const std::string& programPath);
// "Shell32.dll,<index>" in the system folder.
std::string ShellIconLocation(const std::string& systemFolder, int index);

// Where the bitmap option lives: the ".Bmp" type's progid (empty when it has none) and the
// "DefaultIcon" default that decides the option.
struct BitmapIconKeys {
    std::string progId;
    ValueAddress decidingValue;
};
BitmapIconKeys FindBitmapIconKeys();

// Everything read when the module opens: the groups as shown, and every value and system
// setting they stand on, as stored.
struct MiscOpening {
    MiscGroup misc;
    MenusGroup menus;
    RecycleBinGroup recycleBin;
    std::vector<std::pair<ValueAddress, StoredValue>> values;
    bool flags[kSystemFlagCalls.size()] = {};
    int horizontalSpacing = 0;
    int verticalSpacing = 0;
    BitmapIconKeys bitmap;

    const StoredValue& Stored(const ValueAddress& at) const;
};

MiscOpening ReadMiscOpening(CSystemParameters& system, const MiscContext& context);

// A registry write of a plan: the value ends holding `value` (Missing: no value).
struct ValueWrite {
    ValueAddress at;
    StoredValue value;
    bool operator==(const ValueWrite&) const = default;
};

// One step of the sequence that makes the shell rebuild its icons: store the size value, set
// both icon spacings, then broadcast the display change.
struct IconRefreshStep {
    StoredValue size;
    int horizontalSpacing;
    int verticalSpacing;
    bool operator==(const IconRefreshStep&) const = default;
};

// The refresh from the size value the Apply leaves: first its number + 1 with spacings of
// (n × 75 + 75) / 32, then the value itself with the final spacings (n is 32 when the value
// is missing or not a positive number).
std::vector<IconRefreshStep> IconRefreshSequence(const StoredValue& finalSize, int finalHorizontal,
                                                 int finalVertical);

// A system flag to set: where the system cannot tell its value, it is set only when the
// user changed it.
struct FlagWrite {
    SystemFlag flag;
    bool value;
    bool changed; // differs from the opening state
    bool operator==(const FlagWrite&) const = default;
};

struct MiscApplyPlan {
    std::vector<ValueWrite> writes;
    std::vector<FlagWrite> flags;
    std::vector<IconRefreshStep> refresh;
};
MiscApplyPlan PlanMiscApply(const MiscGroup& shown, const MiscOpening& opening, const MiscContext& context);
std::vector<ValueWrite> PlanMenusWrites(const MenusGroup& shown, const MiscOpening& opening);
std::vector<ValueWrite> PlanRecycleBinWrites(const RecycleBinGroup& shown, const MiscOpening& opening);

// Carries a plan out. Writes under HKEY_LOCAL_MACHINE may be refused to a user without
// rights; that is not reported. System flags are set only where they differ.
void ApplyMisc(const MiscApplyPlan& plan, CSystemParameters& system);
void ApplyMenus(const MenusGroup& shown, const MiscOpening& opening, CSystemParameters& system);
void ApplyRecycleBin(const RecycleBinGroup& shown, const MiscOpening& opening);
void ApplyValueWrites(const std::vector<ValueWrite>& writes);
