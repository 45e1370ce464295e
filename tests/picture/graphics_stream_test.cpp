#include <gtest/gtest.h>

#include "picture/graphics_exceptions.h"
#include "picture/graphics_stream.h"

TEST(GraphicsStream, MemoryWriteGrowsInMegabyteSteps)
{
    CGraphicsStream s;
    ASSERT_TRUE(s.CreateMemory(4));
    std::vector<uint8_t> big(5000, 7);
    EXPECT_TRUE(s.Write(big.data(), big.size()));
    EXPECT_EQ(s.Size(), 5000u);
    s.WriteU32BE(0x01020304);
    EXPECT_EQ(s.Data()[5000], 1);
    EXPECT_EQ(s.Data()[5003], 4);
}

TEST(GraphicsStream, MemoryReadPastEndIsShortAndFlagged)
{
    const uint8_t data[3] = {1, 2, 3};
    CGraphicsStream s;
    s.OpenMemory(data, 3);
    EXPECT_EQ(s.ReadU16LE(), 0x0201);
    EXPECT_THROW(s.ReadU16LE(), EGraphicsException);
    EXPECT_TRUE(s.AtEnd());
    s.Rewind();
    EXPECT_FALSE(s.AtEnd());
    EXPECT_EQ(s.Seek(10, CGraphicsStream::kBegin), 2); // clamps to size - 1
    EXPECT_TRUE(s.AtEnd());
}

TEST(GraphicsStream, BitsAreWrittenMostSignificantFirst)
{
    CGraphicsStream s;
    ASSERT_TRUE(s.CreateMemory(16));
    for (int bit : {1, 0, 1, 1})
        s.WriteBit(bit);
    s.FlushBits();
    ASSERT_EQ(s.Size(), 1u);
    EXPECT_EQ(s.Data()[0], 0xB0);
}
