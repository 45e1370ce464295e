// Recognition by content: every written format is found again under any name, and files
// that are no picture (or a picture of a kind no codec reads) load as nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& data)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// Gradients with flat patches: many colours, and runs for the run-length coders.
void FillSample(CPicture& p)
{
    ASSERT_TRUE(p.Create(37, 23));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            const bool flat = x > 25 && y < 10;
            const uint8_t bgr[3] = {uint8_t(flat ? 200 : x * 7), uint8_t(flat ? 30 : y * 11),
                                    uint8_t(flat ? 90 : (x * y) % 256)};
            p.SetPixel(x, y, bgr);
        }
}

bool SamePixels(const CPicture& a, const CPicture& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.Row(y), a.Row(y) + a.Width() * 3, b.Row(y)))
            return false;
    return true;
}

// The codec that reads a file written by `writer`: entries sharing one reader are found as
// the first of them.
CGraphicsCodec& ReaderOf(CGraphicsCodec& writer)
{
    const std::string s = writer.ShortName();
    if (s == "OS2" || s == "DIB" || s == "RLE")
        return BmpCodec();
    if (s == "LBM")
        return IffCodec();
    return writer;
}

// Other names a file of `codec` may carry: extensions of other formats (among them those
// without a signature, which are tried first on their header checks), none at all, one that
// names no format, and the long or family forms that name no codec.
std::vector<std::string> OtherNames(CGraphicsCodec& codec)
{
    std::vector<std::string> names = {"", ".dat"};
    for (const char* other : {"gif", "tga", "mac", "cut", "bmp"})
        if (&ReaderOf(*FindCodec(other)) != &ReaderOf(codec))
            names.push_back(std::string(".") + other);
    const std::string s = codec.ShortName();
    if (s == "JPG")
        names.push_back(".jpeg");
    if (s == "TIF")
        names.push_back(".tiff");
    if (s == "PBM" || s == "PGM" || s == "PPM")
        names.push_back(".pnm");
    return names;
}

class Recognition : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(testing::TempDir()) /
                ("qn_recognition_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Loading and probing must both give nothing.
    void ExpectNothing(const fs::path& path)
    {
        CPicture p;
        EXPECT_FALSE(LoadPicture(path.string(), &p, nullptr)) << path << " loaded as " << p.Name();
        int w = 0, h = 0, bits = 0;
        EXPECT_FALSE(GetPictureFileInfo(path.string(), &w, &h, &bits, nullptr)) << path;
    }

    fs::path m_dir;
};

} // namespace

TEST_F(Recognition, EveryWrittenFormatIsFoundByContentUnderAnyName)
{
    const int depths[] = {1, 2, 4, 8, 24, 32};
    int checked = 0;
    for (int i = 0; g_pictureCodecs[i]; ++i) {
        CGraphicsCodec& writer = *g_pictureCodecs[i];
        // The metafiles are drawn by the platform: what they read back is its rendering.
        if (!writer.CanWriteDepth(0) || writer.ShortName() == "WMF" || writer.ShortName() == "EMF")
            continue;
        CGraphicsCodec& reader = ReaderOf(writer);
        for (int depth : depths) {
            if (!writer.CanWriteDepth(depth))
                continue;
            SCOPED_TRACE(writer.ShortName() + " at " + std::to_string(depth) + " bits");
            const std::string base = writer.ShortName() + std::to_string(depth);
            const fs::path original = m_dir / (base + "." + writer.ShortName());
            CPicture picture;
            FillSample(picture);
            ASSERT_EQ(writer.WriteFile(original.string(), &picture, depth, true, nullptr), 1);
            CPicture expected;
            ASSERT_EQ(reader.ReadFile(original.string(), &expected, nullptr), 1);
            const Bytes bytes = ReadBytes(original);

            for (const std::string& ext : OtherNames(writer)) {
                SCOPED_TRACE("named " + base + ext);
                const fs::path renamed = m_dir / (base + ext); // the CUT palette keeps its name
                WriteBytes(renamed, bytes);
                CPicture loaded;
                ASSERT_TRUE(LoadPicture(renamed.string(), &loaded, nullptr));
                EXPECT_EQ(loaded.Name(), reader.Description());
                EXPECT_TRUE(SamePixels(loaded, expected));

                CGraphicsStream stream;
                ASSERT_TRUE(stream.OpenFile(renamed.string(), true));
                int w = 0, h = 0;
                EXPECT_EQ(RecognisePicture(stream, renamed.string(), nullptr, nullptr, &w, &h), &reader);
                EXPECT_EQ(w, expected.Width());
                EXPECT_EQ(h, expected.Height());
                stream.Close();
                fs::remove(renamed);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 150);
}

TEST_F(Recognition, TextProgramsRandomAndEmptyFilesLoadAsNothing)
{
    const std::string prose = "Quenta reads pictures; this is a plain text file with words, digits 0123456789, "
                              "punctuation and line breaks.\r\nIt must never come back as a picture.\n";
    std::string text;
    while (text.size() < 53 * 1024)
        text += prose;
    // The extensions of the formats without a signature make the hardest case: they are tried
    // first, on their header checks alone.
    const char* extensions[] = {".txt", "", ".mac", ".tga", ".cut"};
    for (size_t length = 0; length <= 600; ++length)
        for (const char* ext : extensions) {
            const fs::path path = m_dir / ("short" + std::to_string(length) + ext);
            WriteBytes(path, Bytes(text.begin(), text.begin() + ptrdiff_t(length)));
            ExpectNothing(path);
            fs::remove(path);
        }
    for (size_t length = 26 * 1024; length <= 52 * 1024; length += 509)
        for (const char* ext : extensions) {
            const fs::path path = m_dir / ("long" + std::to_string(length) + ext);
            WriteBytes(path, Bytes(text.begin(), text.begin() + ptrdiff_t(length)));
            ExpectNothing(path);
            fs::remove(path);
        }

    // Zeros, random bytes and the headers of programs and archives.
    uint32_t seed = 99;
    for (size_t length : {1u, 17u, 511u, 512u, 600u, 4096u, 30000u, 51712u, 60000u}) {
        Bytes random(length);
        for (uint8_t& b : random)
            b = uint8_t((seed = seed * 1103515245u + 12345u) >> 23);
        WriteBytes(m_dir / "random.dat", random);
        ExpectNothing(m_dir / "random.dat");
        WriteBytes(m_dir / "zeros", Bytes(length, 0));
        ExpectNothing(m_dir / "zeros");
        for (const char* magic : {"MZ", "PK", "\x7F" "ELF"}) {
            Bytes program(magic, magic + std::char_traits<char>::length(magic));
            program.insert(program.end(), random.begin(), random.end());
            WriteBytes(m_dir / "program.exe", program);
            ExpectNothing(m_dir / "program.exe");
        }
    }
    WriteBytes(m_dir / "empty.bmp", {});
    ExpectNothing(m_dir / "empty.bmp");
}

TEST_F(Recognition, ASignatureItsFormatRefusesIsNotReadAsAnotherFormat)
{
    // A 16-bit bitmap is refused by the BMP reader: large or small, misnamed or not, it is
    // never taken by a format without a signature, and its failure names BMP.
    Bytes bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 8, 0, 0, 0, 4, 0, 0, 0, 1, 0, 16, 0};
    bmp.resize(54, 0);
    for (size_t size : {size_t(600), size_t(40000), size_t(51712)}) {
        Bytes file = bmp;
        file.resize(size, 0);
        for (const char* name : {"rgb16.bmp", "rgb16.mac", "rgb16"}) {
            WriteBytes(m_dir / name, file);
            CPicture p;
            EXPECT_FALSE(LoadPicture((m_dir / name).string(), &p, nullptr)) << name << " " << size;
            CGraphicsStream stream;
            ASSERT_TRUE(stream.OpenFile((m_dir / name).string(), true));
            EXPECT_EQ(CodecBySignature(stream), &BmpCodec());
        }
    }
}

TEST_F(Recognition, FilesOnceTakenForAnotherFormatLoadAsTheirOwnOrNotAtAll)
{
    struct Case {
        const char* name;
        const char* format; // the codec that reads it, or null
        const char* signature; // the format its first bytes name, or null
    };
    const Case cases[] = {
        {"binary.pnm", "PPM", "PPM"},    {"grey.pnm", "PGM", "PGM"},       {"rgba32.bmp", nullptr, "BMP"},
        {"bigtiff.tif", nullptr, "TIF"}, {"tiled.tif", nullptr, "TIF"},    {"planar.tif", nullptr, "TIF"},
        {"rgb16.tif", nullptr, "TIF"},   {"grey_alpha.tga", nullptr, nullptr},
        {"jpeg_no_frame.jpg", nullptr, "JPG"}, // once read as an empty picture
    };
    const fs::path data = fs::path(QUENTA_SOURCE_DIR) / "tests" / "data" / "recognition";
    for (const Case& c : cases) {
        const Bytes bytes = ReadBytes(data / c.name);
        ASSERT_GT(bytes.size(), 1000u) << c.name;
        // As named, without a name, and under the name of the format that once took them.
        for (const std::string& name : {std::string(c.name), std::string("renamed"), std::string("renamed.mac")}) {
            SCOPED_TRACE(std::string(c.name) + " as " + name);
            const fs::path path = m_dir / name;
            WriteBytes(path, bytes);
            CPicture picture;
            const bool loaded = LoadPicture(path.string(), &picture, nullptr);
            EXPECT_EQ(loaded, c.format != nullptr);
            CGraphicsStream stream;
            ASSERT_TRUE(stream.OpenFile(path.string(), true));
            CGraphicsCodec* probed = RecognisePicture(stream, path.string(), nullptr, nullptr);
            CGraphicsCodec* bySignature = CodecBySignature(stream);
            EXPECT_EQ(bySignature, c.signature ? FindCodec(c.signature) : nullptr);
            if (c.format) {
                EXPECT_EQ(picture.Name(), FindCodec(c.format)->Description());
                EXPECT_EQ(probed, FindCodec(c.format));
                uint8_t px[3];
                ASSERT_TRUE(picture.GetPixel(picture.Width() - 1, picture.Height() - 1, px));
                EXPECT_EQ(px[0], 129);
            } else if (probed) {
                EXPECT_EQ(probed, bySignature); // a probe may describe the header it read
            }
        }
    }
}
