#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "picture/codecs/inflater.h"
#include "png_test_support.h"

namespace fs = std::filesystem;

namespace {
std::vector<fs::path> SuiteFiles()
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kPngSuiteDir, ec))
        if (entry.path().extension() == ".png")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

Bytes GreyRows(uint32_t w, uint32_t h)
{
    Bytes raw;
    for (uint32_t y = 0; y < h; ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < w; ++x)
            raw.push_back(uint8_t(x + y));
    }
    return raw;
}

Bytes FileWithData(const Bytes& zlib, const Bytes& header = Ihdr(4, 3, 8, 0))
{
    Bytes file = Signature();
    AddChunk(file, "IHDR", header);
    AddChunk(file, "IDAT", zlib);
    AddChunk(file, "IEND", {});
    return file;
}

// The concatenated IDAT data of a file.
Bytes ImageData(const Bytes& file)
{
    Bytes z;
    for (const auto& c : Chunks(file))
        if (c.type == "IDAT")
            z.insert(z.end(), c.data.begin(), c.data.end());
    return z;
}

class CancellingProgress : public CQnProgress {
public:
    bool SetPos(int64_t, bool) override { return false; }
};
} // namespace

TEST(PngSuite, ValidFilesLoadAndDamagedOnesFail)
{
    const auto files = SuiteFiles();
    ASSERT_GT(files.size(), 150u) << kPngSuiteDir;
    for (const auto& path : files) {
        CPicture picture;
        const bool loaded = PngCodec().ReadFile(path.string(), &picture, nullptr) == 1;
        const bool damaged = path.filename().string()[0] == 'x';
        EXPECT_EQ(loaded, !damaged) << path.filename();
    }
}

TEST(PngSuite, InterlacedFilesMatchTheirTwins)
{
    int pairs = 0;
    for (const auto& path : SuiteFiles()) {
        std::string name = path.filename().string();
        if (name.size() < 4 || name[3] != 'i' || (name.rfind("basi", 0) != 0 && name[0] != 's'))
            continue;
        std::string twin = name;
        twin[3] = 'n';
        CPicture a, b;
        ASSERT_TRUE(PngCodec().ReadFile(path.string(), &a, nullptr)) << name;
        ASSERT_TRUE(PngCodec().ReadFile(kPngSuiteDir + twin, &b, nullptr)) << twin;
        EXPECT_EQ(PixelsOf(a), PixelsOf(b)) << name;
        ++pairs;
    }
    EXPECT_GT(pairs, 20);
}

TEST(PngSuite, DepthsPalettesAndAlphaFollowTheFile)
{
    struct Expect {
        int bits;
        bool alpha;
        unsigned palette;
    };
    const std::map<std::string, Expect> expected = {
        {"basn0g01.png", {1, false, 2}},  {"basn0g02.png", {2, false, 4}}, {"basn0g16.png", {8, false, 256}},
        {"basn2c16.png", {24, false, 0}}, {"basn3p04.png", {4, false, 15}}, {"basn4a16.png", {8, true, 256}},
        {"basn6a08.png", {32, true, 0}}};
    for (const auto& [name, e] : expected) {
        CPicture p;
        ASSERT_TRUE(PngCodec().ReadFile(kPngSuiteDir + name, &p, nullptr)) << name;
        EXPECT_EQ(p.BitsPerPixel(), e.bits) << name;
        EXPECT_EQ(p.HasAlpha(), e.alpha) << name;
        EXPECT_EQ(p.PaletteSize(), e.palette) << name;
    }
    // 2-bit grey levels 0, 85, 170, 255; 16-bit grey through its high byte.
    CPicture grey2;
    ASSERT_TRUE(PngCodec().ReadFile(kPngSuiteDir + "basn0g02.png", &grey2, nullptr));
    uint8_t entry[3];
    ASSERT_TRUE(grey2.GetPaletteEntry(1, entry));
    EXPECT_EQ(entry[0], 85);

    int w = 0, h = 0, bits = 0;
    std::string info;
    CGraphicsStream stream;
    ASSERT_TRUE(stream.OpenFile(kPngSuiteDir + "basn2c08.png", true));
    EXPECT_EQ(PngCodec().PingStream(stream, &w, &h, &bits, &info), 1);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(info, "Portable Network Graphics (PNG)");
}

TEST(PngReader, ReportsDamageAndOrderWithItsMessages)
{
    const Bytes plte = {255, 0, 0, 0, 255, 0};
    Bytes rgbFile = Signature();
    AddChunk(rgbFile, "IHDR", Ihdr(2, 2, 8, 2));
    AddChunk(rgbFile, "PLTE", plte);
    AddChunk(rgbFile, "gAMA", {0, 0, 0, 1});
    EXPECT_EQ(ReadMessage(rgbFile), "gAMA chunk may not occur before PLTE");

    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"abCD", {1, 2}}})), "ok");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"ABCD", {1, 2}}})), "Unknown critical chunk");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"IHDR", Ihdr(4, 3, 8, 0)}})), "Duplicate IHDR Block");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"PLTE", plte}})), "Grayscale image contains a PLTE block");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"tEXt", Bytes(90, 'k')}})), "tEXt keyword not found");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"pHYs", {0, 0, 0, 1, 0, 0, 0, 1, 2}}})), "pHYs contains an invalid unit");
    EXPECT_EQ(ReadMessage(GreyFile(4, 3, {{"hIST", {0, 1}}})), "hIST chunk may not appear before PLTE");

    // A flipped bit anywhere in a chunk's type or data.
    const Bytes good = GreyFile(4, 3);
    for (size_t offset : {size_t(12), size_t(20), good.size() - 30}) {
        Bytes bad = good;
        bad[offset] ^= 0x10;
        EXPECT_EQ(ReadMessage(bad), "Invalid CRC") << offset;
    }

    Bytes notPng = good;
    notPng[1] = 'p';
    EXPECT_EQ(ReadMessage(notPng), "Not a PNG file");

    Bytes huge = Signature();
    huge.insert(huge.end(), {0x80, 0, 0, 0, 'I', 'H', 'D', 'R'});
    EXPECT_EQ(ReadMessage(huge), "Block length too large");

    struct HeaderCase {
        Bytes header;
        const char* message;
    };
    const HeaderCase headers[] = {
        {Ihdr(4, 3, 3, 0), "Invalid Bit Depth"},
        {Ihdr(4, 3, 4, 2), "Invalid Bit Depth for Color Type"},
        {Ihdr(4, 3, 16, 3), "Invalid Bit Depth for Color Type"},
        {Ihdr(4, 3, 8, 5), "Invalid Color Type"},
        {Ihdr(4, 3, 8, 0, 2), "Invalid Compression Method"},
        {Ihdr(4, 3, 8, 3), "PLTE block must occur before IDAT"},
        {Bytes(12, 1), "Invalid Header Length"},
        // 65535 x 65535 from a file of a few hundred bytes: refused before any allocation.
        {Ihdr(65535, 65535, 8, 0), "Premature End-Of-File"},
    };
    for (const auto& c : headers)
        EXPECT_EQ(ReadMessage(FileWithData(StoredZlib(GreyRows(4, 3)), c.header)), c.message);
}

TEST(PngReader, ChecksTheImageDataStream)
{
    const Bytes rows = GreyRows(4, 3);
    Bytes z = StoredZlib(rows);
    EXPECT_EQ(ReadMessage(FileWithData(z)), "ok");

    Bytes badMethod = z;
    badMethod[0] = 0x79;
    EXPECT_EQ(ReadMessage(FileWithData(badMethod)), "Invalid Compression Method - Not (8) Deflate");
    Bytes badCheck = z;
    badCheck[1] = 0x02;
    EXPECT_EQ(ReadMessage(FileWithData(badCheck)), "Invalid IDAT flags");
    Bytes dictionary = z;
    dictionary[1] = 0x20 | (31 - (0x78 * 256 + 0x20) % 31);
    EXPECT_EQ(ReadMessage(FileWithData(dictionary)), "Preset dictionary flag set");
    Bytes bigWindow = z;
    bigWindow[0] = 0x88;
    bigWindow[1] = uint8_t((31 - (0x88 * 256) % 31) % 31);
    EXPECT_EQ(ReadMessage(FileWithData(bigWindow)), "Invalid Compression Window");
    // A smaller window is valid (encoders shrink it for small images).
    Bytes smallWindow = z;
    smallWindow[0] = 0x28;
    smallWindow[1] = uint8_t((31 - (0x28 * 256) % 31) % 31);
    EXPECT_EQ(ReadMessage(FileWithData(smallWindow)), "ok");

    Bytes extra = rows;
    extra.push_back(0);
    EXPECT_EQ(ReadMessage(FileWithData(StoredZlib(extra))), "Missing End Marker");
    Bytes badFilter = rows;
    badFilter[0] = 5;
    EXPECT_EQ(ReadMessage(FileWithData(StoredZlib(badFilter))), "Invalid Filter Method");

    // The data spread over one-byte IDAT chunks, with an empty one after the image.
    Bytes split = Signature();
    AddChunk(split, "IHDR", Ihdr(4, 3, 8, 0));
    for (uint8_t b : z)
        AddChunk(split, "IDAT", {b});
    AddChunk(split, "IDAT", {});
    AddChunk(split, "IEND", {});
    EXPECT_EQ(ReadMessage(split), "ok");

    // Data cut short by another chunk, data in two separate runs, no data at all.
    Bytes cut = Signature();
    AddChunk(cut, "IHDR", Ihdr(4, 3, 8, 0));
    AddChunk(cut, "IDAT", Bytes(z.begin(), z.begin() + 10));
    AddChunk(cut, "IEND", {});
    EXPECT_EQ(ReadMessage(cut), "IDAT Block Expected");
    Bytes twice = Signature();
    AddChunk(twice, "IHDR", Ihdr(4, 3, 8, 0));
    AddChunk(twice, "IDAT", z);
    AddChunk(twice, "tEXt", {'a', 0, 'b'});
    AddChunk(twice, "IDAT", z);
    AddChunk(twice, "IEND", {});
    EXPECT_EQ(ReadMessage(twice), "Image Contains Multiple Data Segments");
    Bytes none = Signature();
    AddChunk(none, "IHDR", Ihdr(4, 3, 8, 0));
    AddChunk(none, "IEND", {});
    EXPECT_EQ(ReadMessage(none), "IDAT Block Expected");
}

TEST(PngReader, CancelReportsFailure)
{
    CancellingProgress cancel;
    const Bytes file = GreyFile(4, 3);
    CGraphicsStream stream;
    stream.OpenMemory(file.data(), file.size());
    CPicture picture;
    EXPECT_EQ(PngCodec().ReadStream(stream, &picture, &cancel), 0);
}

TEST(PngWriter, ChoosesTheFormFromTheDepthAndPalette)
{
    struct Case {
        const char* name;
        std::vector<std::array<uint8_t, 3>> palette;
        int bits;
        uint8_t depth, colourType;
        size_t plteBytes;
    };
    const Case cases[] = {
        {"black/white", {{0, 0, 0}, {255, 255, 255}}, 1, 1, 0, 0},
        // grey entries that are not the grey ramp would change colour as grey samples
        {"white/black", {{255, 255, 255}, {0, 0, 0}}, 1, 1, 3, 6},
        {"one colour of 16", {{0, 0, 0}, {0, 0, 255}}, 4, 4, 3, 48},
        // a palette larger than the depth can index widens the depth
        {"4 entries at depth 1", {{0, 0, 0}, {10, 10, 10}, {20, 20, 20}, {30, 30, 30}}, 1, 2, 3, 12},
    };
    for (const auto& c : cases) {
        CPicture p;
        p.Create(5, 3);
        p.SetBitsPerPixel(c.bits);
        if (c.palette.size() > p.PaletteSize())
            p.ResizePalette(unsigned(c.palette.size()));
        for (size_t i = 0; i < c.palette.size(); ++i)
            p.SetPaletteEntry(unsigned(i), c.palette[i].data());
        const uint8_t last[3] = {c.palette.back()[0], c.palette.back()[1], c.palette.back()[2]};
        p.SetPixel(4, 2, last);
        const Bytes file = WritePng(p, 2);
        const auto chunks = Chunks(file);
        ASSERT_GE(chunks.size(), 3u) << c.name;
        EXPECT_EQ(chunks[0].data[8], c.depth) << c.name;
        EXPECT_EQ(chunks[0].data[9], c.colourType) << c.name;
        const bool hasPlte = chunks[1].type == "PLTE";
        EXPECT_EQ(hasPlte ? chunks[1].data.size() : 0, c.plteBytes) << c.name;
        CPicture back;
        ASSERT_TRUE(ReadPng(file, back)) << c.name;
        EXPECT_EQ(PixelsOf(back), PixelsOf(p)) << c.name;
    }

    CPicture rgba;
    FillPattern(rgba, 7, 4);
    rgba.SetBitsPerPixel(32);
    rgba.SetAlpha(3, 2, 17);
    const Bytes file = WritePng(rgba, 1);
    EXPECT_EQ(Chunks(file)[0].data[9], 6);
    CPicture back;
    ASSERT_TRUE(ReadPng(file, back));
    EXPECT_EQ(back.GetAlpha(3, 2), 17);
    EXPECT_EQ(PixelsOf(back), PixelsOf(rgba));
}

TEST(PngWriter, RoundTripsEveryWritableDepthAndLevel)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        for (int level = 0; level <= 3; ++level) {
            CPicture p;
            FillPattern(p, 37, 23);
            const Bytes file = WritePng(p, level, bits);
            ASSERT_FALSE(file.empty()) << bits;
            CPicture back;
            ASSERT_TRUE(ReadPng(file, back)) << bits << " level " << level;
            EXPECT_EQ(PixelsOf(back), PixelsOf(p)) << bits << " level " << level;
        }
    }
}

TEST(PngWriter, WritesOneBlockInChunksOf8192WithFilterNone)
{
    const uint8_t expectedFlags[4] = {0x01, 0x5E, 0x9C, 0xDA};
    CPicture p;
    FillPattern(p, 300, 200);
    for (int y = 0; y < 200; y += 3)
        for (int x = 0; x < 300; ++x)
            p.Row(y)[3 * x] = uint8_t(x * y * 31 + (x >> 2)); // some noise to fill several chunks
    for (int level = 0; level <= 3; ++level) {
        const Bytes file = WritePng(p, level);
        const auto chunks = Chunks(file);
        EXPECT_EQ(chunks.back().type, "IEND");
        size_t idatCount = 0;
        for (size_t i = 1; i + 1 < chunks.size(); ++i) {
            ASSERT_EQ(chunks[i].type, "IDAT");
            ++idatCount;
            if (i + 2 < chunks.size()) {
                EXPECT_EQ(chunks[i].data.size(), 8192u);
            }
        }
        EXPECT_GT(idatCount, 2u);
        const Bytes z = ImageData(file);
        EXPECT_EQ(z[0], 0x78);
        EXPECT_EQ(z[1], expectedFlags[level]);
        EXPECT_EQ(z[2] & 7, 5) << "one final dynamic block";

        struct Source : CInflateSource {
            const Bytes& data;
            bool given = false;
            explicit Source(const Bytes& d) : data(d) {}
            size_t NextInput(const uint8_t*& out) override
            {
                if (given)
                    return 0;
                given = true;
                out = data.data() + 2;
                return data.size() - 2;
            }
        } source(z);
        CInflater inflater(source);
        Bytes row(1 + 300 * 3);
        for (int y = 0; y < 200; ++y) {
            inflater.Read(row.data(), row.size());
            ASSERT_EQ(row[0], 0) << "row " << y;
        }
        inflater.ExpectEnd();
        EXPECT_EQ(GetBE32(&z[z.size() - 4]), inflater.Adler32());
    }
    auto& codec = static_cast<CPngCodec&>(PngCodec());
    EXPECT_THROW(codec.SetCompressionLevel(4), EPngError);
    EXPECT_TRUE(codec.CanWriteDepth(1) && codec.CanWriteDepth(32) && !codec.CanWriteDepth(16));
}
