#include "base/size_text.h"

#include "base/text.h"

#include <gtest/gtest.h>

TEST(LongSizeText, UnitsTruncateToOneDecimalAndGroupTheExactCount)
{
    EXPECT_EQ(LongSizeText(0), "0 Byte");
    EXPECT_EQ(LongSizeText(1023), "1023.0 Bytes (1,023 bytes)");
    EXPECT_EQ(LongSizeText(1024), "1.0 Kb (1,024 bytes)");
    EXPECT_EQ(LongSizeText(1536), "1.5 Kb (1,536 bytes)");
    EXPECT_EQ(LongSizeText(30000), "29.2 Kb (30,000 bytes)");
    EXPECT_EQ(LongSizeText(1048575), "1023.9 Kb (1,048,575 bytes)"); // 1023.999: truncated, not rounded
    EXPECT_EQ(LongSizeText(1048576), "1.0 Mb (1,048,576 bytes)");
    EXPECT_EQ(LongSizeText(5ull << 40), "5120.0 Gb (5,497,558,138,880 bytes)");
}

TEST(ShortSizeText, WholeKilobytesPlusOneWithGroupedThousands)
{
    EXPECT_EQ(ShortSizeText(0), "1 Kb");
    EXPECT_EQ(ShortSizeText(1023), "1 Kb");
    EXPECT_EQ(ShortSizeText(1024), "2 Kb");
    EXPECT_EQ(ShortSizeText(1024ull * 1023), "1,024 Kb");
    EXPECT_EQ(ShortSizeText(UINT64_MAX), "18,014,398,509,481,984 Kb"); // no overflow at the top
}

TEST(GroupThousands, CommasOnlyBetweenFullGroups)
{
    EXPECT_EQ(GroupThousands(0), "0");
    EXPECT_EQ(GroupThousands(999), "999");
    EXPECT_EQ(GroupThousands(1000), "1,000");
    EXPECT_EQ(GroupThousands(123456), "123,456");
    EXPECT_EQ(GroupThousands(1234567), "1,234,567");
}

TEST(SizeTexts, FollowTheLanguageOfTheTexts)
{
    SetTextLanguage(0x040C);
    const std::string shortText = ShortSizeText(1024), longText = LongSizeText(1536);
    SetTextLanguage(0x0409);
    EXPECT_EQ(shortText, "2 Ko");
    EXPECT_EQ(longText, "1.5 Ko (1,536 octets)");
}
