// The module button pictures decode through the program's own Targa codec the right way up,
// with their opacity: clear above the tile, the tile's soft shadow below it.
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ArtDecode, ModulePicturesDecodeUprightWithOpacity)
{
    for (int id : {322, 323, 324, 327, 328, 332, 339, 340, 341, 343, 344, 345, 346, 347, 348, 350,
                   351, 358, 374}) {
        SCOPED_TRACE(id);
        CPicture picture;
        const std::string path =
            QUENTA_SOURCE_DIR "/res/art/generated/module_" + std::to_string(id) + ".tga";
        ASSERT_EQ(TgaCodec().ReadFile(path, &picture, nullptr), 1);
        EXPECT_EQ(picture.Width(), 32);
        EXPECT_EQ(picture.Height(), 32);
        ASSERT_TRUE(picture.HasAlpha());
        EXPECT_EQ(picture.GetAlpha(0, 0), 0);     // rounded corner
        EXPECT_EQ(picture.GetAlpha(16, 1), 0);    // above the tile
        EXPECT_GT(picture.GetAlpha(16, 30), 0);   // the shadow under it
        EXPECT_LT(picture.GetAlpha(16, 30), 255);
        EXPECT_EQ(picture.GetAlpha(16, 16), 255);
    }
}

}  // namespace
