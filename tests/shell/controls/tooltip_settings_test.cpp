// Tooltip settings through the platform's registry: under Wine the real registry of the test
// prefix, natively a store file of this test's own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/paths.h"
#include "app/registry_access.h"
#include "app/settings.h"
#include "app/tooltip_settings.h"
#include "tests/support/private_registry.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
const RegRoot kRoot = RegRoot::CurrentUser;
const std::string kKey = WithoutTrailingSeparator(kToolTipKey);

class TooltipSettingsStore : public PrivateRegistryTest {
protected:
    void SetUp() override { registry.DeleteKey(kRoot, kKey); }
    void TearDown() override { registry.DeleteKey(kRoot, kKey); }
    void Put(const char* name, const std::string& text) { registry.WriteString(kRoot, kKey, name, text); }

    CRegistryAccess registry;
};
} // namespace

TEST_F(TooltipSettingsStore, MissingKeyGivesTheDefaults)
{
    const TooltipSettings s = ReadTooltipSettings(registry);
    EXPECT_EQ(s.showDelay, 1);
    EXPECT_TRUE(s.enable);
    EXPECT_FALSE(s.customColor);
    EXPECT_EQ(s.backgroundColor, 0xC4FFFFu);
    EXPECT_EQ(s.foregroundColor, 0u);
    EXPECT_EQ(s.shadowColor, 0u);
    EXPECT_EQ(s.horizontalShadow, 4);
    EXPECT_EQ(s.verticalShadow, 4);
    EXPECT_FALSE(s.shortTips);
}

TEST_F(TooltipSettingsStore, ValuesRoundTripAsDecimalText)
{
    TooltipSettings s;
    s.showDelay = 250;
    s.enable = false;
    s.customColor = true;
    s.backgroundColor = 0x123456;
    s.foregroundColor = 0xFFFFFF;
    s.shadowColor = 0x808080;
    s.horizontalShadow = 0;
    s.verticalShadow = 7;
    s.shortTips = true;
    ASSERT_TRUE(WriteTooltipSettings(registry, s));
    EXPECT_EQ(registry.ReadString(kRoot, kKey, "BackgroundColor", ""), std::to_string(0x123456));
    EXPECT_EQ(registry.ReadString(kRoot, kKey, "Enable", ""), "0");

    EXPECT_TRUE(ReadTooltipSettings(registry) == s);
}

TEST_F(TooltipSettingsStore, ShowDelayBelowOneBecomesOne)
{
    for (const char* text : {"0", "-5"}) {
        Put("ShowDelay", text);
        EXPECT_EQ(ReadTooltipSettings(registry).showDelay, 1) << text;
    }
    Put("ShowDelay", " 12 ");
    EXPECT_EQ(ReadTooltipSettings(registry).showDelay, 12);
}

TEST_F(TooltipSettingsStore, OddValuesGiveTheirDefaults)
{
    Put("ShowDelay", "soon");
    Put("Enable", "");
    Put("BackgroundColor", "16777216"); // beyond 0xFFFFFF
    Put("ForegroundColor", "-1");
    Put("ShadowColor", "12abc");
    Put("HorizontalShadow", "-3");
    Put("VerticalShadow", "99999999999999999999999");
    registry.WriteDword(kRoot, kKey, "CustomColor", 1); // not text
    EXPECT_TRUE(ReadTooltipSettings(registry) == TooltipSettings{});
}

TEST_F(TooltipSettingsStore, ProcessSettingsLoadAndSave)
{
    Put("ShowDelay", "40");
    LoadTooltipSettings();
    EXPECT_EQ(ProcessTooltipSettings().showDelay, 40);
    ProcessTooltipSettings().verticalShadow = 2;
    SaveTooltipSettings();
    EXPECT_EQ(registry.ReadString(kRoot, kKey, "VerticalShadow", ""), "2");
    ProcessTooltipSettings() = TooltipSettings{};
}
