#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "picture/codecs/codecs.h"
#include "picture/codecs/metafile_header.h"
#include "picture/graphics_codec.h"

using namespace metafile;

TEST(MetafileHeader, PlaceableHeaderBytesAndChecksum)
{
    uint8_t header[kPlaceableSize];
    BuildPlaceableHeader(header, 40, 30, 96);
    const uint8_t start[10] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(header, start, 10), 0);
    EXPECT_EQ(header[14] | header[15] << 8, 96);
    EXPECT_EQ(header[20] | header[21] << 8, PlaceableChecksum(header));

    PlaceableHeader parsed;
    ASSERT_TRUE(ParsePlaceableHeader(header, sizeof header, parsed));
    EXPECT_EQ(parsed.right, 40);
    EXPECT_EQ(parsed.bottom, 30);
    for (int bit = 0; bit < 16; ++bit) {
        uint8_t wrong[kPlaceableSize];
        std::memcpy(wrong, header, sizeof wrong);
        wrong[20 + bit / 8] ^= uint8_t(1 << (bit % 8));
        EXPECT_FALSE(ParsePlaceableHeader(wrong, sizeof wrong, parsed)) << bit;
    }
    uint8_t noUnits[kPlaceableSize];
    std::memcpy(noUnits, header, sizeof noUnits);
    noUnits[14] = 0, noUnits[20] ^= 96; // checksum kept right
    EXPECT_FALSE(ParsePlaceableHeader(noUnits, sizeof noUnits, parsed));
}

TEST(MetafileHeader, BareAndEnhancedHeaders)
{
    // Type 1, 9 words, version 0x0300, 100 words.
    const uint8_t bare[18] = {1, 0, 9, 0, 0, 3, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(CheckWindowsHeader(bare, sizeof bare, 200));
    EXPECT_FALSE(CheckWindowsHeader(bare, sizeof bare, 202));
    EXPECT_FALSE(CheckWindowsHeader(bare, 17, 200));

    uint8_t emf[kEmfHeaderRead] = {};
    emf[0] = 1;                                  // header record
    emf[4] = 108;                                // its size
    emf[16] = 99, emf[20] = 49;                  // bounds 0..99 x 0..49
    std::memcpy(emf + 40, " EMF", 4);
    emf[48] = 200;                               // total size
    emf[52] = 3;                                 // records
    EmfHeader header;
    ASSERT_TRUE(ParseEmfHeader(emf, sizeof emf, 200, header));
    EXPECT_EQ(header.Width(), 100);
    EXPECT_EQ(header.Height(), 50);
    EXPECT_FALSE(ParseEmfHeader(emf, sizeof emf, 199, header)); // shorter than it says
    emf[42] = 'X';
    EXPECT_FALSE(ParseEmfHeader(emf, sizeof emf, 200, header));
    emf[42] = 'M';
    emf[19] = 0x40; // a billion pixels wide
    EXPECT_FALSE(ParseEmfHeader(emf, sizeof emf, 200, header));
}

#ifndef _WIN32
TEST(MetafileHeader, NativeBuildRefusesWithAReason)
{
    for (CGraphicsCodec* codec : {&EmfCodec(), &WmfCodec()}) {
        EXPECT_FALSE(codec->IsAvailable());
        EXPECT_NE(codec->UnavailableReason().find("GDI"), std::string::npos);
        EXPECT_TRUE(codec->CanWriteDepth(24));
        CPicture picture;
        ASSERT_TRUE(picture.Create(4, 4));
        const std::string path = testing::TempDir() + "qn_refused." + codec->ShortName();
        EXPECT_EQ(codec->WriteFile(path, &picture, 0, false, nullptr), 0);
        EXPECT_EQ(codec->ReadFile(path, &picture, nullptr), 0);
        std::remove(path.c_str());
    }
}
#endif
