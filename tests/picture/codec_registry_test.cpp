#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "picture/codec_registry.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

TEST(CodecRegistry, TableOrderAndFilter)
{
    ASSERT_EQ(GetCodecCount(), 23);
    const char* expected[] = {"BMP", "TGA", "GIF", "PCX", "PNG", "JPG", "RLE", "TIF", "WMF", "EMF", "OS2", "DIB",
                              "CLP", "IFF", "LBM", "MAC", "PBM", "PGM", "PPM", "PSD", "CUT", "ZEC", "ZES"};
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(g_pictureCodecs[i]->ShortName(), expected[i]);
    EXPECT_EQ(g_pictureCodecs[23], nullptr);

    const std::string& filter = GetOpenFilterString();
    EXPECT_NE(filter.find("|*.bmp;*.tga;*.gif;*.pcx;*.png;*.jpg;*.jpeg;*.rle;*.bmp;"), std::string::npos);
    EXPECT_NE(filter.find(";*.zes|BMP - Windows Bitmap (*.bmp)|*.bmp|TGA"), std::string::npos);
    EXPECT_EQ(filter.substr(filter.size() - 6), "*.zes|");
}

TEST(CodecRegistry, ProgramsAndArchivesAreRefusedWithoutTryingCodecs)
{
    for (const char* magic : {"MZ", "PK"}) {
        std::string path = testing::TempDir() + "refused.bmp";
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs(magic, f);
        std::fputs("0123456789012345678901234567890123456789012345678901234567890", f);
        std::fclose(f);
        CPicture p;
        EXPECT_FALSE(LoadPicture(path, &p, nullptr));
        std::remove(path.c_str());
    }
}

TEST(CodecRegistry, MissingFileFailsQuietly)
{
    CPicture p;
    EXPECT_FALSE(LoadPicture("/no/such/file.bmp", &p, nullptr));
}
