// The bitmap codec against the BMP test suite (used in place, never copied) and against
// ImageMagick as an independent decoder and encoder. The suite sits beside the project
// (../shared/testdata/bmpsuite); without it or ImageMagick the tests skip, and fail under CI.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

#include "picture/codec_registry.h"
#include "tests/picture/codecs/bmp/bmp_test_support.h"
#include "tests/support/reference_required.h"

using namespace bmptest;
namespace fs = std::filesystem;

namespace {

// Beside the project root; a clone elsewhere on the same machine finds the shared folder too.
const std::string kSuite = [] {
    const std::string besideProject = QUENTA_SOURCE_DIR "/../shared/testdata/bmpsuite";
    const std::string machineShared = "/work/shared/testdata/bmpsuite";
    return fs::is_directory(besideProject) || !fs::is_directory(machineShared) ? besideProject : machineShared;
}();
const char* const kConvert = "/usr/bin/convert-im6.q16";

struct Decoded {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// The file decoded by ImageMagick into 8-bit RGB.
bool OracleDecode(const std::string& path, Decoded& out)
{
    const std::string command = std::string(kConvert) + " '" + path + "' -depth 8 ppm:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    int maxval = 0;
    const bool header = std::fscanf(pipe, "P6 %d %d %d", &out.width, &out.height, &maxval) == 3 && maxval == 255;
    std::fgetc(pipe);
    if (header) {
        out.rgb.resize(size_t(out.width) * out.height * 3);
        if (std::fread(out.rgb.data(), 1, out.rgb.size(), pipe) != out.rgb.size())
            out.rgb.clear();
    }
    return pclose(pipe) == 0 && header && !out.rgb.empty();
}

bool OracleEncode(const std::string& ppm, const std::string& arguments, const std::string& bmp)
{
    const std::string command = std::string(kConvert) + " '" + ppm + "' " + arguments + " 'BMP3:" + bmp + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

void WritePpm(const CPicture& p, const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fprintf(f, "P6\n%d %d\n255\n", p.Width(), p.Height());
    const std::vector<uint8_t> rgb = Rgb(p);
    std::fwrite(rgb.data(), 1, rgb.size(), f);
    std::fclose(f);
}

bool HaveSuite() { return fs::is_directory(kSuite); }
bool HaveOracle() { return fs::exists(kConvert); }

std::vector<std::string> SuiteFiles(const char* folder)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(kSuite + "/" + folder))
        if (entry.path().extension() == ".bmp")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadWithBmp(const std::string& path, CPicture& picture)
{
    return BmpCodec().ReadFile(path, &picture, nullptr) == 1;
}

} // namespace

TEST(BmpSuite, GoodFilesMatchTheirReferencePictures)
{
    if (!HaveSuite() || !HaveOracle())
        SKIP_WITHOUT_REFERENCE("BMP suite (" + kSuite + ") or ImageMagick missing");
    // Good files of kinds the reader does not support: 16- and 32-bit pixels.
    const std::set<std::string> refused = {"rgb16-565.bmp", "rgb16-565pal.bmp", "rgb16.bmp", "rgb16bfdef.bmp",
                                           "rgb32.bmp", "rgb32bf.bmp", "rgb32bfdef.bmp"};
    // Files drawn from another file's reference picture.
    const std::map<std::string, std::string> reference = {
        {"pal1wb", "pal1"},        {"pal4rle", "pal4"},     {"pal8-0", "pal8"},
        {"pal8os2", "pal8"},       {"pal8rle", "pal8"},     {"pal8topdown", "pal8"},
        {"pal8v4", "pal8"},        {"pal8v5", "pal8"},      {"rgb24pal", "rgb24"},
        {"pal8nonsquare", "pal8nonsquare-e"}};
    int compared = 0;
    for (const std::string& path : SuiteFiles("g")) {
        const std::string name = fs::path(path).filename().string();
        SCOPED_TRACE(name);
        CPicture p;
        if (refused.count(name)) {
            EXPECT_FALSE(ReadWithBmp(path, p));
            continue;
        }
        ASSERT_TRUE(ReadWithBmp(path, p));
        std::string stem = fs::path(path).stem().string();
        if (reference.count(stem))
            stem = reference.at(stem);
        Decoded expected;
        ASSERT_TRUE(OracleDecode(kSuite + "/reference/" + stem + ".png", expected));
        ASSERT_EQ(p.Width(), expected.width);
        ASSERT_EQ(p.Height(), expected.height);
        EXPECT_TRUE(Rgb(p) == expected.rgb);
        ++compared;
    }
    EXPECT_GE(compared, 18);
}

TEST(BmpSuite, BadFilesFailCleanlyAndQuestionableOnesDoNotCrash)
{
    if (!HaveSuite())
        SKIP_WITHOUT_REFERENCE("BMP suite (" + kSuite + ") missing");
    for (const std::string& path : SuiteFiles("b")) {
        CPicture p;
        EXPECT_FALSE(ReadWithBmp(path, p)) << path;
    }
    for (const std::string& path : SuiteFiles("q")) {
        CPicture p;
        for (CGraphicsCodec* codec : {&BmpCodec(), &RleCodec(), &Os2Codec(), &DibCodec()})
            codec->ReadFile(path, &p, nullptr);
        int w, h, bits;
        GetPictureFileInfo(path, &w, &h, &bits, nullptr);
    }
}

// A questionable file may be refused; read, it must look like one of the suite's renderings of
// it (the plain one, or for undefined pixels of a cut or skipping RLE picture the "-0" ones
// shown as colour 0 and the "-b" ones shown as background).
TEST(BmpSuite, QuestionableFilesReadAsTheirReferencePictures)
{
    if (!HaveSuite() || !HaveOracle())
        SKIP_WITHOUT_REFERENCE("BMP suite (" + kSuite + ") or ImageMagick missing");
    int read = 0;
    for (const std::string& path : SuiteFiles("q")) {
        const std::string stem = fs::path(path).stem().string();
        std::vector<std::string> references;
        for (const char* variant : {"", "-0", "-b"})
            if (fs::exists(kSuite + "/reference/" + stem + variant + ".png"))
                references.push_back(kSuite + "/reference/" + stem + variant + ".png");
        CPicture p;
        if (references.empty() || !ReadWithBmp(path, p))
            continue;
        SCOPED_TRACE(stem);
        ++read;
        bool matches = false;
        std::string sizes;
        for (const std::string& reference : references) {
            Decoded expected;
            ASSERT_TRUE(OracleDecode(reference, expected)) << reference;
            sizes += " " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
            matches = matches || (p.Width() == expected.width && p.Height() == expected.height && Rgb(p) == expected.rgb);
        }
        EXPECT_TRUE(matches) << "read as " << p.Width() << "x" << p.Height() << ", like none of the references"
                             << sizes;
    }
    EXPECT_GE(read, 5) << "questionable files with a reference picture that the reader takes";
}

TEST(BmpOracle, OurFilesDecodeTheSameInImageMagick)
{
    if (!HaveOracle())
        SKIP_WITHOUT_REFERENCE("ImageMagick missing");
    for (CGraphicsCodec* codec : {&BmpCodec(), &RleCodec(), &Os2Codec(), &DibCodec()}) {
        for (int bits : {1, 4, 8, 24}) {
            if (!codec->CanWriteDepth(bits))
                continue;
            SCOPED_TRACE(codec->ShortName() + " " + std::to_string(bits));
            CPicture p;
            FillPhotoLike(p, 61, 35);
            const std::string path = testing::TempDir() + "qn_oracle_" + codec->ShortName() + std::to_string(bits);
            ASSERT_EQ(codec->WriteFile(path, &p, bits, false, nullptr), 1);
            Decoded theirs;
            ASSERT_TRUE(OracleDecode(path, theirs));
            EXPECT_TRUE(theirs.rgb == Rgb(p));
            std::remove(path.c_str());
        }
    }
}

TEST(BmpOracle, ImageMagickFilesDecodeTheSameHere)
{
    if (!HaveOracle())
        SKIP_WITHOUT_REFERENCE("ImageMagick missing");
    CPicture source;
    FillPhotoLike(source, 45, 29);
    const std::string ppm = testing::TempDir() + "qn_oracle_source.ppm";
    WritePpm(source, ppm);
    const char* const variants[] = {"-type truecolor", "-colors 200 -type palette",
                                    "-colors 200 -type palette -compress RLE", "-colors 12 -type palette",
                                    "-monochrome"};
    for (const std::string arguments : variants) {
        SCOPED_TRACE(arguments);
        const std::string bmp = testing::TempDir() + "qn_oracle_im.bmp";
        ASSERT_TRUE(OracleEncode(ppm, arguments, bmp));
        Decoded theirs;
        ASSERT_TRUE(OracleDecode(bmp, theirs));
        CPicture ours;
        ASSERT_TRUE(ReadWithBmp(bmp, ours));
        EXPECT_TRUE(Rgb(ours) == theirs.rgb);
        std::remove(bmp.c_str());
    }
    std::remove(ppm.c_str());
}
