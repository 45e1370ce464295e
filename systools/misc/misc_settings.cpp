#include "systools/misc/misc_settings.h"

#include <algorithm>

#include "app/paths.h"
#include "app/registry_access.h"
#include "filetools/filetypes/icon_location.h"

using namespace misc_keys;

namespace {
constexpr const char* kBitmapTypeKey = ".bmp\\";
constexpr size_t kMaxKeyName = 255;

ValueAddress DefaultOf(const std::string& key) { return {RegRoot::ClassesRoot, key, ""}; }
ValueAddress BitmapProgIdValue() { return DefaultOf(kBitmapTypeKey); }
ValueAddress BitmapTypeNameValue() { return DefaultOf(kBitmapProgId); }
ValueAddress BitmapTypeIconValue() { return DefaultOf(std::string(kBitmapProgId) + "\\DefaultIcon\\"); }

int NumberOf(const StoredValue& value, int fallback)
{
    return value.IsText() ? ParseLeadingInt(value.TextOr("")) : fallback;
}

size_t FlagIndex(SystemFlag flag)
{
    for (size_t i = 0; i < kSystemFlagCalls.size(); ++i)
        if (kSystemFlagCalls[i].flag == flag)
            return i;
    return 0;
}

bool SameIconSize(const MiscGroup& a, const MiscGroup& b)
{
    return a.bigIcons == b.bigIcons && (!a.bigIcons || a.iconSize == b.iconSize);
}

bool SameOverlay(const MiscGroup& a, const MiscGroup& b)
{
    return a.shortcutArrow == b.shortcutArrow && (!a.shortcutArrow || a.overlayLocation == b.overlayLocation);
}

bool SameTextCaseless(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
        return lower(x) == lower(y);
    });
}

// The opening bytes when the setting is as it was, else the new value.
void Plan(std::vector<ValueWrite>& writes, const MiscOpening& opening, const ValueAddress& at, bool unchanged,
          const StoredValue& changed)
{
    writes.push_back({at, unchanged ? opening.Stored(at) : changed});
}

void PlanBitmapOption(std::vector<ValueWrite>& writes, const MiscGroup& shown, const MiscOpening& opening)
{
    const BitmapIconKeys& keys = opening.bitmap;
    const bool withoutProgId = keys.progId.empty();
    if (shown.bitmapIcons == opening.misc.bitmapIcons) {
        writes.push_back({keys.decidingValue, opening.Stored(keys.decidingValue)});
        if (withoutProgId)
            for (const ValueAddress& at : {BitmapProgIdValue(), BitmapTypeIconValue(), BitmapTypeNameValue()})
                writes.push_back({at, opening.Stored(at)});
        return;
    }
    if (!shown.bitmapIcons) {
        writes.push_back({keys.decidingValue, StoredValue::Text("")});
        return;
    }
    if (!withoutProgId) {
        writes.push_back({keys.decidingValue, StoredValue::Text(kShowsItself)});
        return;
    }
    // No type for bitmaps yet: register it, keeping a name it may already have.
    writes.push_back({BitmapProgIdValue(), StoredValue::Text(kBitmapProgId)});
    if (opening.Stored(BitmapTypeNameValue()).TextOr("").empty())
        writes.push_back({BitmapTypeNameValue(), StoredValue::Text(kBitmapTypeName)});
    writes.push_back({BitmapTypeIconValue(), StoredValue::Text(kShowsItself)});
}
} // namespace

ValueAddress IconColourValue() { return {RegRoot::CurrentUser, kWindowMetrics, "Shell Icon BPP"}; }
ValueAddress IconSizeValue() { return {RegRoot::CurrentUser, kWindowMetrics, "Shell Icon Size"}; }
ValueAddress FontSmoothingValue() { return {RegRoot::CurrentUser, kDesktop, "FontSmoothing"}; }
ValueAddress MenuShowDelayValue() { return {RegRoot::CurrentUser, kDesktop, "MenuShowDelay"}; }
ValueAddress TipsShowValue() { return {RegRoot::CurrentUser, kTipsShow, "Show"}; }
ValueAddress ShortcutOverlayValue() { return {RegRoot::LocalMachine, kShellIcons, kShortcutOverlay}; }
ValueAddress RecycleBinNameValue() { return DefaultOf(kRecycleBin); }
ValueAddress RecycleBinIconValue(bool full) { return {RegRoot::ClassesRoot, kRecycleBinIcons, full ? "full" : "empty"}; }

int IconSpacingFor(int iconSize) { return static_cast<int>(static_cast<long long>(iconSize) * 75 / 32); }

int ClampedIconSize(int edited) { return std::clamp(edited, 1, kMaxIconSize); }

std::string BlankIconLocation(const std::string& programPath) { return FormatIconLocation(programPath, kBlankIconIndex); }

std::string ShellIconLocation(const std::string& systemFolder, int index)
{
    return FormatIconLocation(JoinPath(systemFolder, "Shell32.dll"), index);
}

BitmapIconKeys FindBitmapIconKeys()
{
    BitmapIconKeys keys;
    keys.progId = ReadStoredValue(BitmapProgIdValue()).TextOr("");
    // A progid that cannot name a key counts as none.
    if (keys.progId.size() > kMaxKeyName || keys.progId.find('\\') != std::string::npos)
        keys.progId.clear();
    keys.decidingValue = DefaultOf((keys.progId.empty() ? std::string(".bmp") : keys.progId) + "\\DefaultIcon\\");
    return keys;
}

const StoredValue& MiscOpening::Stored(const ValueAddress& at) const
{
    static const StoredValue missing;
    for (const auto& [address, value] : values)
        if (address == at)
            return value;
    return missing;
}

MiscOpening ReadMiscOpening(CSystemParameters& system, const MiscContext& context)
{
    MiscOpening opening;
    opening.bitmap = FindBitmapIconKeys();
    for (const ValueAddress& at :
         {IconColourValue(), IconSizeValue(), FontSmoothingValue(), MenuShowDelayValue(), TipsShowValue(),
          ShortcutOverlayValue(), RecycleBinNameValue(), RecycleBinIconValue(false), RecycleBinIconValue(true),
          opening.bitmap.decidingValue, BitmapProgIdValue(), BitmapTypeNameValue(), BitmapTypeIconValue()})
        if (std::none_of(opening.values.begin(), opening.values.end(), [&](const auto& v) { return v.first == at; }))
            opening.values.emplace_back(at, ReadStoredValue(at));

    for (size_t i = 0; i < kSystemFlagCalls.size(); ++i) {
        const SystemFlag which = kSystemFlagCalls[i].flag;
        bool value = which == SystemFlag::DragFullWindows || which == SystemFlag::Animation ||
                     which == SystemFlag::FastTaskSwitch; // the usual state, when the system cannot tell
        system.GetFlag(which, value);
        opening.flags[i] = value;
    }
    if (!system.GetIconSpacing(false, opening.horizontalSpacing))
        opening.horizontalSpacing = IconSpacingFor(kNormalIconSize);
    if (!system.GetIconSpacing(true, opening.verticalSpacing))
        opening.verticalSpacing = IconSpacingFor(kNormalIconSize);

    MiscGroup& misc = opening.misc;
    const auto flag = [&](SystemFlag which) { return opening.flags[FlagIndex(which)]; };
    misc.animation = flag(SystemFlag::Animation);
    misc.fastTaskSwitch = flag(SystemFlag::FastTaskSwitch);
    misc.dragFullWindows = flag(SystemFlag::DragFullWindows);
    misc.beep = flag(SystemFlag::Beep);
    misc.wrapTitles = flag(SystemFlag::IconTitleWrap);
    misc.colourIcons = NumberOf(opening.Stored(IconColourValue()), 16) > 4;
    misc.fontSmoothing = NumberOf(opening.Stored(FontSmoothingValue()), 0) != 0;
    const int storedSize = NumberOf(opening.Stored(IconSizeValue()), 0);
    misc.bigIcons = storedSize > kNormalIconSize;
    misc.iconSize = std::clamp(storedSize, 0, kMaxIconSize);
    const StoredValue& tips = opening.Stored(TipsShowValue());
    misc.showTips = !(tips.present && tips.data == StoredValue::Dword(0).data); // 4 bytes of any type, as read
    const std::string overlay = opening.Stored(ShortcutOverlayValue()).TextOr("");
    const std::string shellOverlay = ShellIconLocation(context.systemFolder, 29);
    misc.shortcutArrow = !SameTextCaseless(overlay, context.blankIconLocation);
    misc.overlayLocation =
        misc.shortcutArrow && !overlay.empty() && (!context.iconUsable || context.iconUsable(overlay)) ? overlay
                                                                                                       : shellOverlay;
    misc.bitmapIcons = opening.Stored(opening.bitmap.decidingValue).TextOr("") == kShowsItself;

    opening.menus.showDelay =
        std::clamp(NumberOf(opening.Stored(MenuShowDelayValue()), 400), 0, kMaxMenuShowDelay);
    opening.menus.leftAlignment = flag(SystemFlag::MenuDropLeft);

    RecycleBinGroup& bin = opening.recycleBin;
    bin.name = opening.Stored(RecycleBinNameValue()).TextOr("");
    for (const bool full : {false, true}) {
        std::string location = opening.Stored(RecycleBinIconValue(full)).TextOr("");
        if (location.empty() || (context.iconUsable && !context.iconUsable(location)))
            location = ShellIconLocation(context.systemFolder, full ? 32 : 31);
        (full ? bin.fullIcon : bin.emptyIcon) = location;
    }
    return opening;
}

std::vector<IconRefreshStep> IconRefreshSequence(const StoredValue& finalSize, int finalHorizontal, int finalVertical)
{
    int size = NumberOf(finalSize, kNormalIconSize);
    if (size <= 0)
        size = kNormalIconSize;
    size = std::min(size, kMaxIconSize);
    const int bumped = (size * 75 + 75) / 32;
    return {{StoredValue::Text(std::to_string(size + 1)), bumped, bumped},
            {finalSize, finalHorizontal, finalVertical}};
}

MiscApplyPlan PlanMiscApply(const MiscGroup& shown, const MiscOpening& opening, const MiscContext& context)
{
    const MiscGroup& was = opening.misc;
    MiscApplyPlan plan;
    auto& writes = plan.writes;
    Plan(writes, opening, IconColourValue(), shown.colourIcons == was.colourIcons,
         StoredValue::Text(shown.colourIcons ? "16" : "4"));
    Plan(writes, opening, FontSmoothingValue(), shown.fontSmoothing == was.fontSmoothing,
         StoredValue::Text(shown.fontSmoothing ? "1" : "0"));
    Plan(writes, opening, ShortcutOverlayValue(), SameOverlay(shown, was),
         StoredValue::Text(shown.shortcutArrow ? shown.overlayLocation : context.blankIconLocation));
    Plan(writes, opening, TipsShowValue(), shown.showTips == was.showTips, StoredValue::Dword(shown.showTips ? 1 : 0));

    const bool sameSize = SameIconSize(shown, was);
    const int size = shown.bigIcons ? ClampedIconSize(shown.iconSize) : kNormalIconSize;
    Plan(writes, opening, IconSizeValue(), sameSize, StoredValue::Text(std::to_string(size)));
    PlanBitmapOption(writes, shown, opening);

    plan.flags = {{SystemFlag::IconTitleWrap, shown.wrapTitles, shown.wrapTitles != was.wrapTitles},
                  {SystemFlag::DragFullWindows, shown.dragFullWindows, shown.dragFullWindows != was.dragFullWindows},
                  {SystemFlag::FastTaskSwitch, shown.fastTaskSwitch, shown.fastTaskSwitch != was.fastTaskSwitch},
                  {SystemFlag::Beep, shown.beep, shown.beep != was.beep},
                  {SystemFlag::Animation, shown.animation, shown.animation != was.animation}};

    const StoredValue finalSize = sameSize ? opening.Stored(IconSizeValue()) : StoredValue::Text(std::to_string(size));
    plan.refresh = sameSize ? IconRefreshSequence(finalSize, opening.horizontalSpacing, opening.verticalSpacing)
                            : IconRefreshSequence(finalSize, IconSpacingFor(size), IconSpacingFor(size));
    return plan;
}

std::vector<ValueWrite> PlanMenusWrites(const MenusGroup& shown, const MiscOpening& opening)
{
    std::vector<ValueWrite> writes;
    Plan(writes, opening, MenuShowDelayValue(), shown.showDelay == opening.menus.showDelay,
         StoredValue::Text(std::to_string(std::clamp(shown.showDelay, 0, kMaxMenuShowDelay))));
    return writes;
}

std::vector<ValueWrite> PlanRecycleBinWrites(const RecycleBinGroup& shown, const MiscOpening& opening)
{
    const RecycleBinGroup& was = opening.recycleBin;
    std::vector<ValueWrite> writes;
    Plan(writes, opening, RecycleBinNameValue(), shown.name == was.name, StoredValue::Text(shown.name));
    Plan(writes, opening, RecycleBinIconValue(false), shown.emptyIcon == was.emptyIcon,
         StoredValue::Text(shown.emptyIcon));
    Plan(writes, opening, RecycleBinIconValue(true), shown.fullIcon == was.fullIcon, StoredValue::Text(shown.fullIcon));
    return writes;
}

void ApplyValueWrites(const std::vector<ValueWrite>& writes)
{
    for (const ValueWrite& write : writes)
        WriteStoredValue(write.at, write.value);
}

namespace {
void SetFlagWhereDifferent(CSystemParameters& system, const FlagWrite& write)
{
    bool current = write.value;
    if (system.GetFlag(write.flag, current) ? current != write.value : write.changed)
        system.SetFlag(write.flag, write.value);
}
} // namespace

void ApplyMisc(const MiscApplyPlan& plan, CSystemParameters& system)
{
    ApplyValueWrites(plan.writes);
    for (const FlagWrite& write : plan.flags)
        SetFlagWhereDifferent(system, write);
    system.BroadcastDisplayChange();
    for (const IconRefreshStep& step : plan.refresh) {
        WriteStoredValue(IconSizeValue(), step.size);
        system.SetIconSpacing(false, step.horizontalSpacing);
        system.SetIconSpacing(true, step.verticalSpacing);
        system.BroadcastDisplayChange();
    }
}

void ApplyMenus(const MenusGroup& shown, const MiscOpening& opening, CSystemParameters& system)
{
    ApplyValueWrites(PlanMenusWrites(shown, opening));
    SetFlagWhereDifferent(system,
                          {SystemFlag::MenuDropLeft, shown.leftAlignment, shown.leftAlignment != opening.menus.leftAlignment});
}

void ApplyRecycleBin(const RecycleBinGroup& shown, const MiscOpening& opening)
{
    ApplyValueWrites(PlanRecycleBinWrites(shown, opening));
}
