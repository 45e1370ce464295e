// The Misc module's settings: reading the three groups, what each Apply writes (and leaves
// alone), the icon refresh sequence, and restoring the opening state exactly.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/registry_access.h"
#include "systools/misc/misc_settings.h"
#include "tests/support/private_registry.h"

namespace {
const char* const kSystem = "C:\\WINDOWS\\SYSTEM";
const char* const kBlank = "C:\\Program Files\\Quenta\\quenta.exe,12";

// Remembers flags and spacings; each broadcast notes the icon size value and the spacings.
class FakeSystem : public CSystemParameters {
public:
    std::map<SystemFlag, bool> flags;
    int spacing[2] = {75, 75};
    std::vector<SystemFlag> sets;
    std::vector<std::string> broadcasts; // "size h v"

    bool GetFlag(SystemFlag flag, bool& value) override
    {
        auto found = flags.find(flag);
        if (found == flags.end())
            return false;
        value = found->second;
        return true;
    }
    bool SetFlag(SystemFlag flag, bool value) override
    {
        flags[flag] = value;
        sets.push_back(flag);
        return true;
    }
    bool GetIconSpacing(bool vertical, int& pixels) override
    {
        pixels = spacing[vertical];
        return true;
    }
    bool SetIconSpacing(bool vertical, int pixels) override
    {
        spacing[vertical] = pixels;
        return true;
    }
    void BroadcastDisplayChange() override
    {
        const StoredValue size = ReadStoredValue(IconSizeValue());
        broadcasts.push_back((size.present ? size.TextOr("?") : "-") + " " + std::to_string(spacing[0]) + " " +
                             std::to_string(spacing[1]));
    }
};

class MiscSettingsTest : public PrivateRegistryTest {
protected:
    void SetUp() override
    {
        CRegistryAccess registry;
        for (const char* key : {"Control Panel", "Software"})
            registry.DeleteKey(RegRoot::CurrentUser, key);
        registry.DeleteKey(RegRoot::LocalMachine, "SOFTWARE");
        for (const char* key : {".Bmp", "bmpfile", "Paint.Picture", "CLSID"})
            registry.DeleteKey(RegRoot::ClassesRoot, key);
        context.systemFolder = kSystem;
        context.blankIconLocation = kBlank;
        context.iconUsable = [](const std::string& location) { return location.find("broken") == std::string::npos; };
    }

    static void Put(const ValueAddress& at, const std::string& text) { WriteStoredValue(at, StoredValue::Text(text)); }
    static std::string Text(const ValueAddress& at) { return ReadStoredValue(at).TextOr("<none>"); }
    static ValueAddress Default(const std::string& key) { return {RegRoot::ClassesRoot, key, ""}; }

    MiscOpening Open() { return ReadMiscOpening(system, context); }
    void ApplyShown(const MiscGroup& shown, const MiscOpening& opening)
    {
        ApplyMisc(PlanMiscApply(shown, opening, context), system);
    }

    FakeSystem system;
    MiscContext context;
};

TEST_F(MiscSettingsTest, BigIconsAtSize48StoreTheSizeAndSpacingsOf112AfterTheRefreshBump)
{
    const MiscOpening opening = Open();
    EXPECT_FALSE(opening.misc.bigIcons); // no size stored
    EXPECT_EQ(opening.misc.iconSize, 0);
    MiscGroup shown = opening.misc;
    shown.bigIcons = true;
    shown.iconSize = 48;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(IconSizeValue()), "48");
    EXPECT_EQ(system.spacing[0], 112);
    EXPECT_EQ(system.spacing[1], 112);
    // Broadcast, then 49 with (48 × 75 + 75) / 32 = 114, then 48 with 112.
    EXPECT_EQ(system.broadcasts, (std::vector<std::string>{"48 75 75", "49 114 114", "48 112 112"}));
}

TEST_F(MiscSettingsTest, SizesOutsideTheRangeAreClampedAndBigIconsOffStores32)
{
    MiscOpening opening = Open();
    MiscGroup shown = opening.misc;
    shown.bigIcons = true;
    shown.iconSize = 0;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(IconSizeValue()), "1");
    EXPECT_EQ(system.spacing[0], 2); // 1 × 75 / 32
    EXPECT_EQ(ClampedIconSize(-5), 1);
    EXPECT_EQ(ClampedIconSize(5000), kMaxIconSize);

    Put(IconSizeValue(), "48");
    opening = Open();
    EXPECT_TRUE(opening.misc.bigIcons);
    EXPECT_EQ(opening.misc.iconSize, 48);
    shown = opening.misc;
    shown.bigIcons = false;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(IconSizeValue()), "32");
    EXPECT_EQ(system.spacing[1], 75);
}

TEST_F(MiscSettingsTest, AnApplyOfTheOpeningStateLeavesEveryValueAsItWas)
{
    // Odd stored texts that the checks cannot show exactly, and missing values.
    Put(IconColourValue(), "8");
    WriteStoredValue(ShortcutOverlayValue(), {true, kRegExpandString, {'%', 'x', '%', ',', '3', 0}});
    system.spacing[0] = 80;
    system.spacing[1] = 90;
    const MiscOpening opening = Open();
    std::vector<StoredValue> before;
    for (const auto& [at, value] : opening.values)
        before.push_back(ReadStoredValue(at));

    ApplyShown(opening.misc, opening);
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(ReadStoredValue(opening.values[i].first), before[i]) << opening.values[i].first.name;
    EXPECT_FALSE(ReadStoredValue(IconSizeValue()).present); // bumped to 33, then removed again
    EXPECT_EQ(system.broadcasts.back(), "- 80 90");
    EXPECT_TRUE(system.sets.empty()); // no flag differed
}

TEST_F(MiscSettingsTest, ResetThenApplyRestoresTheOpeningValuesAfterAChange)
{
    Put(IconColourValue(), "8");
    Put(FontSmoothingValue(), "2");
    system.flags[SystemFlag::Beep] = true;
    system.spacing[0] = 80;
    const MiscOpening opening = Open();
    MiscGroup changed = opening.misc;
    changed.colourIcons = false;
    changed.fontSmoothing = false;
    changed.beep = false;
    changed.bigIcons = true;
    changed.iconSize = 64;
    changed.showTips = false;
    changed.bitmapIcons = true;
    ApplyShown(changed, opening);
    EXPECT_EQ(Text(Default("bmpfile\\DefaultIcon")), "%1");
    EXPECT_EQ(Text(IconColourValue()), "4");
    EXPECT_EQ(Text(FontSmoothingValue()), "0");
    EXPECT_FALSE(system.flags[SystemFlag::Beep]);
    EXPECT_EQ(system.spacing[0], 150);

    ApplyShown(opening.misc, opening); // what Reset shows
    EXPECT_EQ(Text(IconColourValue()), "8");
    EXPECT_EQ(Text(FontSmoothingValue()), "2");
    EXPECT_TRUE(system.flags[SystemFlag::Beep]);
    EXPECT_FALSE(ReadStoredValue(IconSizeValue()).present);
    // Keys made for the change and left empty go again; keys that were there stay.
    EXPECT_FALSE(ReadStoredValue(TipsShowValue()).keyExisted);
    EXPECT_FALSE(ReadStoredValue(Default("bmpfile")).keyExisted);
    EXPECT_FALSE(ReadStoredValue(Default(".bmp")).keyExisted);
    EXPECT_TRUE(ReadStoredValue(IconSizeValue()).keyExisted);
    EXPECT_EQ(system.spacing[0], 80);
    EXPECT_EQ(system.spacing[1], 75);
}

TEST_F(MiscSettingsTest, ShortcutArrowOffStoresTheBlankIconAndReadsBackOff)
{
    MiscOpening opening = Open();
    EXPECT_TRUE(opening.misc.shortcutArrow);
    EXPECT_EQ(opening.misc.overlayLocation, "C:\\WINDOWS\\SYSTEM\\Shell32.dll,29"); // none stored
    MiscGroup shown = opening.misc;
    shown.shortcutArrow = false;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(ShortcutOverlayValue()), kBlank);

    Put(ShortcutOverlayValue(), "c:\\program files\\QUENTA\\Quenta.EXE,12"); // any letter case
    opening = Open();
    EXPECT_FALSE(opening.misc.shortcutArrow);
    EXPECT_EQ(opening.misc.overlayLocation, "C:\\WINDOWS\\SYSTEM\\Shell32.dll,29");

    shown = opening.misc;
    shown.shortcutArrow = true;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(ShortcutOverlayValue()), "C:\\WINDOWS\\SYSTEM\\Shell32.dll,29");

    Put(ShortcutOverlayValue(), "C:\\broken.dll,4"); // yields no icon
    EXPECT_EQ(Open().misc.overlayLocation, "C:\\WINDOWS\\SYSTEM\\Shell32.dll,29");
    Put(ShortcutOverlayValue(), "C:\\arrows.dll,4");
    EXPECT_EQ(Open().misc.overlayLocation, "C:\\arrows.dll,4");
}

TEST_F(MiscSettingsTest, BitmapOptionWithoutProgIdRegistersBitmapPicture)
{
    MiscOpening opening = Open();
    EXPECT_FALSE(opening.misc.bitmapIcons);
    MiscGroup shown = opening.misc;
    shown.bitmapIcons = true;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(Default(".bmp")), "bmpfile");
    EXPECT_EQ(Text(Default("bmpfile")), "Bitmap Picture");
    EXPECT_EQ(Text(Default("bmpfile\\DefaultIcon")), "%1");
    opening = Open();
    EXPECT_TRUE(opening.misc.bitmapIcons);

    shown = opening.misc;
    shown.bitmapIcons = false;
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(Default("bmpfile\\DefaultIcon")), "");
    EXPECT_EQ(Text(Default(".bmp")), "bmpfile");
    EXPECT_FALSE(Open().misc.bitmapIcons);
}

TEST_F(MiscSettingsTest, BitmapOptionKeepsAnExistingProgIdAndItsIcon)
{
    Put(Default(".Bmp"), "Paint.Picture");
    Put(Default("Paint.Picture"), "Paint picture");
    MiscOpening opening = Open();
    MiscGroup shown = opening.misc;
    shown.bitmapIcons = true; // the progid has no icon yet: it gets one, no new type
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(Default(".bmp")), "Paint.Picture");
    EXPECT_EQ(Text(Default("Paint.Picture\\DefaultIcon")), "%1");
    EXPECT_FALSE(ReadStoredValue(Default("bmpfile")).present);

    Put(Default("Paint.Picture\\DefaultIcon"), "mspaint.exe,1");
    opening = Open();
    EXPECT_FALSE(opening.misc.bitmapIcons);
    shown = opening.misc;
    shown.beep = true; // another setting: the type's icon is left alone
    ApplyShown(shown, opening);
    EXPECT_EQ(Text(Default("Paint.Picture\\DefaultIcon")), "mspaint.exe,1");
}

TEST_F(MiscSettingsTest, FlagsAreSetOnlyWhereTheyDiffer)
{
    system.flags = {{SystemFlag::IconTitleWrap, false}, {SystemFlag::DragFullWindows, true},
                    {SystemFlag::FastTaskSwitch, true}, {SystemFlag::Beep, false},
                    {SystemFlag::Animation, true},      {SystemFlag::MenuDropLeft, false}};
    const MiscOpening opening = Open();
    EXPECT_TRUE(opening.misc.animation);
    EXPECT_FALSE(opening.misc.wrapTitles);
    MiscGroup shown = opening.misc;
    shown.wrapTitles = true;
    shown.animation = false;
    ApplyShown(shown, opening);
    EXPECT_EQ(system.sets, (std::vector<SystemFlag>{SystemFlag::IconTitleWrap, SystemFlag::Animation}));
    EXPECT_TRUE(system.flags[SystemFlag::IconTitleWrap]);
    EXPECT_FALSE(system.flags[SystemFlag::Animation]);
}

TEST_F(MiscSettingsTest, TipsShowIsADwordAndTheOtherValuesDecimalText)
{
    const MiscOpening opening = Open();
    EXPECT_TRUE(opening.misc.showTips); // missing: shown
    MiscGroup shown = opening.misc;
    shown.showTips = false;
    shown.colourIcons = false;
    shown.fontSmoothing = !opening.misc.fontSmoothing;
    ApplyShown(shown, opening);
    EXPECT_EQ(ReadStoredValue(TipsShowValue()), StoredValue::Dword(0));
    EXPECT_EQ(Text(IconColourValue()), "4");
    EXPECT_EQ(Text(FontSmoothingValue()), shown.fontSmoothing ? "1" : "0");
    EXPECT_FALSE(Open().misc.showTips);
}

TEST_F(MiscSettingsTest, MenusWriteTheDelayAsTextAndTheAlignmentFlag)
{
    system.flags[SystemFlag::MenuDropLeft] = false;
    MiscOpening opening = Open();
    EXPECT_EQ(opening.menus.showDelay, 400); // missing
    ApplyMenus({250, true}, opening, system);
    EXPECT_EQ(Text(MenuShowDelayValue()), "250");
    EXPECT_TRUE(system.flags[SystemFlag::MenuDropLeft]);
    ApplyMenus({999999, true}, opening, system);
    EXPECT_EQ(Text(MenuShowDelayValue()), std::to_string(kMaxMenuShowDelay));
    ApplyMenus(opening.menus, opening, system); // back as opened: no value
    EXPECT_FALSE(ReadStoredValue(MenuShowDelayValue()).present);
}

TEST_F(MiscSettingsTest, RecycleBinIconsFallBackToShell32AndLongNamesStayWhole)
{
    const std::string longName(600, 'n');
    Put(RecycleBinNameValue(), longName);
    Put(RecycleBinIconValue(false), "");
    Put(RecycleBinIconValue(true), "C:\\broken.dll,1");
    const MiscOpening opening = Open();
    EXPECT_EQ(opening.recycleBin.name, longName);
    EXPECT_EQ(opening.recycleBin.emptyIcon, "C:\\WINDOWS\\SYSTEM\\Shell32.dll,31");
    EXPECT_EQ(opening.recycleBin.fullIcon, "C:\\WINDOWS\\SYSTEM\\Shell32.dll,32");

    RecycleBinGroup shown = opening.recycleBin;
    shown.emptyIcon = "C:\\icons\\bin.ico,0";
    ApplyRecycleBin(shown, opening);
    EXPECT_EQ(Text(RecycleBinIconValue(false)), "C:\\icons\\bin.ico,0");
    EXPECT_EQ(Text(RecycleBinIconValue(true)), "C:\\broken.dll,1"); // unchanged: as stored
    EXPECT_EQ(Text(RecycleBinNameValue()), longName);

    shown.name = "Bin";
    shown.fullIcon = "C:\\icons\\full.ico,2";
    ApplyRecycleBin(shown, opening);
    EXPECT_EQ(Text(RecycleBinNameValue()), "Bin");
    EXPECT_EQ(Text(RecycleBinIconValue(true)), "C:\\icons\\full.ico,2");
}

TEST_F(MiscSettingsTest, ANewTextOverAnExpandableTextKeepsTheExpandableType)
{
    WriteStoredValue(RecycleBinIconValue(false), {true, kRegExpandString, {'a', ',', '1', 0}});
    WriteStoredValue(RecycleBinIconValue(false), StoredValue::Text("%SystemRoot%\\b.dll,2"));
    const StoredValue stored = ReadStoredValue(RecycleBinIconValue(false));
    EXPECT_EQ(stored.type, kRegExpandString);
    EXPECT_EQ(stored.TextOr(""), "%SystemRoot%\\b.dll,2");
}

TEST(IconRefresh, SequenceBumpsTheSizeThenPutsTheFinalValueBack)
{
    const auto steps = IconRefreshSequence(StoredValue::Text("48"), 112, 112);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (IconRefreshStep{StoredValue::Text("49"), 114, 114}));
    EXPECT_EQ(steps[1], (IconRefreshStep{StoredValue::Text("48"), 112, 112}));
    // Missing, odd and huge sizes bump from a sane number.
    EXPECT_EQ(IconRefreshSequence(StoredValue::Missing(), 75, 75)[0].size, StoredValue::Text("33"));
    EXPECT_EQ(IconRefreshSequence(StoredValue::Dword(48), 75, 75)[0].size, StoredValue::Text("33"));
    EXPECT_EQ(IconRefreshSequence(StoredValue::Text("-7"), 75, 75)[0].size, StoredValue::Text("33"));
    EXPECT_EQ(IconRefreshSequence(StoredValue::Text("999999"), 75, 75)[0].horizontalSpacing,
              (kMaxIconSize * 75 + 75) / 32);
    EXPECT_EQ(IconSpacingFor(48), 112);
}

TEST(BlankIcon, IsTheProgramsIconTwelve)
{
    EXPECT_EQ(BlankIconLocation("C:\\Q\\quenta.exe"), "C:\\Q\\quenta.exe,12");
    EXPECT_EQ(ShellIconLocation("C:\\W\\SYSTEM", 31), "C:\\W\\SYSTEM\\Shell32.dll,31");
}
} // namespace
