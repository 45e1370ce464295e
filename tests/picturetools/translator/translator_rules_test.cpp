// The pictures translator's portable rules: output choices, settings, list items and texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/translator/convert_item.h"
#include "picturetools/translator/converter_settings.h"
#include "picturetools/translator/output_choices.h"
#include "tests/support/private_registry.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

class DepthCodec : public CGraphicsCodec {
public:
    DepthCodec(std::initializer_list<int> depths) : CGraphicsCodec("TST", "Test", "Test (*.tst)|*.tst|"), m_depths(depths) {}
    bool CanWriteDepth(int bits) const override
    {
        return bits == 0 || std::find(m_depths.begin(), m_depths.end(), bits) != m_depths.end();
    }

private:
    std::vector<int> m_depths;
};

std::vector<int> BitsOf(const DepthOffer& offer)
{
    std::vector<int> bits;
    for (const DepthChoice& c : offer.choices)
        bits.push_back(c.bits);
    return bits;
}

int PreselectedBits(const DepthOffer& offer) { return offer.choices.at(offer.preselected).bits; }

} // namespace

TEST(DepthOffer, PreselectsTheLastDepthBelow32)
{
    const DepthOffer png = OfferDepths(PngCodec());
    EXPECT_EQ(BitsOf(png), (std::vector<int>{1, 4, 8, 24, 32}));
    EXPECT_EQ(PreselectedBits(png), 24);
    EXPECT_TRUE(png.listEnabled);
    EXPECT_FALSE(png.showQuality);

    const DepthOffer only24And32 = OfferDepths(DepthCodec{24, 32});
    EXPECT_EQ(PreselectedBits(only24And32), 24);

    const DepthOffer only32 = OfferDepths(DepthCodec{32});
    EXPECT_EQ(PreselectedBits(only32), 32);
    EXPECT_FALSE(only32.listEnabled);

    // Depths outside the table (2 bits) are not offered.
    EXPECT_EQ(BitsOf(OfferDepths(DepthCodec{2, 8})), std::vector<int>{8});
    const DepthOffer none = OfferDepths(DepthCodec{});
    EXPECT_TRUE(none.choices.empty());
    EXPECT_EQ(none.preselected, -1);
}

TEST(DepthOffer, QualityOnlyForJpegAndCompressOnlyWithAWriteOption)
{
    const DepthOffer jpeg = OfferDepths(JpgCodec());
    EXPECT_EQ(BitsOf(jpeg), std::vector<int>{24});
    EXPECT_FALSE(jpeg.listEnabled);
    EXPECT_TRUE(jpeg.showQuality);
    EXPECT_FALSE(jpeg.showCompress);

    const DepthOffer bmp = OfferDepths(BmpCodec());
    EXPECT_EQ(PreselectedBits(bmp), 24);
    EXPECT_FALSE(bmp.showQuality);
    EXPECT_EQ(OfferDepths(TgaCodec()).showCompress, TgaCodec().HasWriteOption());
    EXPECT_TRUE(OfferDepths(TgaCodec()).showCompress);
}

TEST(FormatList, WritableCodecsInTableOrderWithTheirFilterName)
{
    const std::vector<FormatChoice> formats = WritableFormats();
    ASSERT_FALSE(formats.empty());
    int previous = -1;
    bool sawJpeg = false;
    for (const FormatChoice& f : formats) {
        const CGraphicsCodec& codec = *g_pictureCodecs[f.codecIndex];
        EXPECT_GT(f.codecIndex, previous);
        previous = f.codecIndex;
        EXPECT_TRUE(codec.CanWriteDepth(0));
        EXPECT_EQ(f.text.find('|'), std::string::npos);
        EXPECT_EQ(codec.Filter().compare(0, f.text.size(), f.text), 0);
        sawJpeg |= &codec == &JpgCodec();
    }
    EXPECT_TRUE(sawJpeg);
    EXPECT_EQ(FormatPositionOfType(formats, formats.back().codecIndex), int(formats.size()) - 1);
    EXPECT_EQ(FormatPositionOfType(formats, 999), 0);
    EXPECT_EQ(FormatPositionOfType({}, 0), -1);
}

TEST(Quality, TextsAreClampedLikeStoredValues)
{
    EXPECT_EQ(QualityFromText("-5"), 80);
    EXPECT_EQ(QualityFromText("250"), 100);
    EXPECT_EQ(QualityFromText(""), 0);
    EXPECT_EQ(QualityFromText("  42x"), 42);
    EXPECT_EQ(QualityFromText("99999999999999999999"), 100);
    EXPECT_EQ(QualityFromText("-99999999999999999999"), 80);
    EXPECT_EQ(QualityFromText("100"), 100);
    EXPECT_EQ(QualityFromText("0"), 0);
}

class ConverterSettingsStore : public PrivateRegistryTest {
protected:
    void SetUp() override { CQnSettings().DeleteSection("Converter"); }
    void TearDown() override { CQnSettings().DeleteSection("Converter"); }
};

TEST_F(ConverterSettingsStore, DefaultsThenRoundTripWithClampedQuality)
{
    ConverterSettings read = ReadConverterSettings();
    EXPECT_EQ(read.type, 0);
    EXPECT_EQ(read.quality, 80);
    EXPECT_EQ(read.outputDirectory, "C:\\Temp");
    EXPECT_EQ(read.addFileDirectory, "");

    WriteConverterRun(4, "D:\\out", 55);
    WriteAddFileDirectory("E:\\pictures\\");
    read = ReadConverterSettings();
    EXPECT_EQ(read.type, 4);
    EXPECT_EQ(read.quality, 55);
    EXPECT_EQ(read.outputDirectory, "D:\\out");
    EXPECT_EQ(read.addFileDirectory, "E:\\pictures\\");

    CQnSettings().WriteInt("Converter", "Quality", -3);
    EXPECT_EQ(ReadConverterSettings().quality, 80);
    CQnSettings().WriteInt("Converter", "Quality", 400);
    EXPECT_EQ(ReadConverterSettings().quality, 100);
}

TEST(ConvertItems, ProbeFillsNameFolderAndInfo)
{
    const fs::path folder = fs::path(testing::TempDir()) / "qn_translator_items";
    fs::create_directories(folder);
    const std::string picture = (folder / "photo.bmp").string();
    CPicture p;
    ASSERT_TRUE(p.Create(7, 5));
    ASSERT_EQ(BmpCodec().WriteFile(picture, &p, 8, false, nullptr), 1);
    std::ofstream((folder / "notes.txt").string()) << "ab"; // too short for any format

    const std::optional<ConvertItem> item = ProbeConvertItem(picture);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, "photo.bmp");
    EXPECT_EQ(item->Path(), picture);
    EXPECT_TRUE(item->info.ends_with(" - 7x5 8 bits")) << item->info;
    EXPECT_FALSE(ProbeConvertItem((folder / "notes.txt").string()));
    EXPECT_FALSE(ProbeConvertItem((folder / "missing.bmp").string()));
    fs::remove_all(folder);

    EXPECT_EQ(PictureInfoText("100% odd", 1, 2, 24), "100% odd - 1x2 24 bits");
}
