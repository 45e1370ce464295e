// The colour table's rows, the key names a theme's colours use, and the colour parts the user
// types (preview clamps, Apply takes each part modulo 256).
#include <gtest/gtest.h>

#include <map>

#include "systools/colours/colour_parts.h"
#include "systools/colours/system_colour_table.h"

TEST(SystemColourTable, HasTheRowsInOrderWithTwoNamesForTwoColours)
{
    const auto table = SystemColourTable();
    ASSERT_EQ(table.size(), 26u);
    EXPECT_STREQ(table[0].keyName, "ButtonDkShadow");
    EXPECT_EQ(table[0].index, 21);
    EXPECT_STREQ(table[25].keyName, "WindowText");
    EXPECT_EQ(table[25].index, 8);
    std::map<int, int> uses;
    for (const SystemColourRow& row : table)
        ++uses[row.index];
    EXPECT_EQ(uses.size(), 24u);
    EXPECT_EQ(uses[20], 2); // rows 2 and 9
    EXPECT_EQ(uses[16], 2); // rows 4 and 10
    EXPECT_EQ(table[2].index, table[9].index);
    EXPECT_EQ(table[4].index, table[10].index);
    // Both names of one colour default alike, so Default never sets one colour two ways.
    EXPECT_EQ(table[2].defaultColour, table[9].defaultColour);
    EXPECT_EQ(table[4].defaultColour, table[10].defaultColour);
    EXPECT_EQ(table[19].defaultColour, MakeColour(255, 255, 225));
    EXPECT_EQ(table[3].defaultColour, MakeColour(223, 223, 223));
}

TEST(SystemColourTable, KeyNamesOfTheTableAndOfTheSystemFindTheirIndex)
{
    EXPECT_EQ(SystemColourIndexOfKey("activetitle"), 2);
    EXPECT_EQ(SystemColourIndexOfKey("3DShadow"), 16);
    EXPECT_EQ(SystemColourIndexOfKey("ButtonShadow"), 16);
    EXPECT_EQ(SystemColourIndexOfKey("InfoWindow"), 24);
    EXPECT_EQ(SystemColourIndexOfKey("InfoBackground"), 24);
    EXPECT_EQ(SystemColourIndexOfKey("MenuText"), 7);
    EXPECT_FALSE(SystemColourIndexOfKey("Menu "));
    EXPECT_FALSE(SystemColourIndexOfKey(""));
    EXPECT_FALSE(SystemColourIndexOfKey("Wallpaper"));
}

TEST(ThemeColour, ReadsThreePartsOfAtMost255)
{
    EXPECT_EQ(ParseThemeColour("0 0 128"), MakeColour(0, 0, 128));
    EXPECT_EQ(ParseThemeColour(" 255\t255 225 "), MakeColour(255, 255, 225));
    for (const char* bad : {"", "0 0", "0 0 256", "0 0 128 4", "1,2,3", "0 0 0128", "a b c", "0 0 -1"})
        EXPECT_FALSE(ParseThemeColour(bad)) << bad;
}

TEST(ColourParts, PreviewClampsAndApplyTakesEachPartModulo256)
{
    const ColourParts parts = ParseColourParts("300", "12", "256");
    EXPECT_EQ(PreviewColour(parts), MakeColour(255, 12, 255));
    EXPECT_EQ(AppliedColour(parts), MakeColour(44, 12, 0));
    EXPECT_EQ(AppliedColour(parts), 44u + 12u * 256u);
}

TEST(ColourParts, OddTextsNeverOverflow)
{
    const ColourPart huge = ParseColourPart("99999999999999999999999999999999");
    EXPECT_EQ(huge.clamped, 255);
    EXPECT_EQ(huge.modulo, 255); // 10^32 is a multiple of 256
    EXPECT_EQ(ParseColourPart("1000000000000000000300").modulo, 44);
    EXPECT_EQ(ParseColourPart("").clamped, 0);
    EXPECT_EQ(ParseColourPart("-5").modulo, 0);
    EXPECT_EQ(ParseColourPart("  42x").clamped, 42);
    EXPECT_EQ(ParseColourPart("0255").clamped, 255);
}

TEST(Swatch, WhiteIsPaintedAlmostWhiteAndOtherColoursAsThey)
{
    EXPECT_EQ(SwatchColour(MakeColour(255, 255, 255)), MakeColour(255, 255, 254));
    EXPECT_EQ(SwatchColour(MakeColour(255, 255, 254)), MakeColour(255, 255, 254));
    EXPECT_EQ(SwatchColour(MakeColour(0, 128, 128)), MakeColour(0, 128, 128));
}
