#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "picture/codecs/codecs.h"
#include "picture/codecs/jpeg_codec.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/translator/batch_convert.h"
#include "picturetools/translator/file_ops.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

// Writes a few bytes and then reports failure, like a full disk.
class FailingCodec : public CGraphicsCodec {
public:
    FailingCodec() : CGraphicsCodec("BAD", "Failing", "BAD|*.bad|") {}
    int Write() override
    {
        m_stream->Write("partial", 7);
        return 0;
    }
    bool CanWriteDepth(int) const override { return true; }
};

class ScriptedObserver : public CBatchObserver {
public:
    std::vector<OverwriteAnswer> answers;
    int asked = 0;
    OverwriteAnswer AskOverwrite(const std::string&) override
    {
        return asked < int(answers.size()) ? answers[asked++] : OverwriteAnswer::No;
    }
};

class BatchConvert : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) / ("qn_batch_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "in");
        CPicture p;
        ASSERT_TRUE(p.Create(4, 3));
        for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
            ASSERT_EQ(BmpCodec().WriteFile((m_root / "in" / name).string(), &p, 24, false, nullptr), 1);
    }
    void TearDown() override { fs::remove_all(m_root); }
    std::vector<std::string> Inputs(std::initializer_list<const char*> names)
    {
        std::vector<std::string> out;
        for (const char* n : names)
            out.push_back((m_root / "in" / n).string());
        return out;
    }
    fs::path m_root;
};

} // namespace

TEST(BatchNames, DestinationTakesBaseNameAndShortName)
{
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(DestinationPath("out", "x/y/picture.jpg", BmpCodec()), "out" + sep + "picture.BMP");
    EXPECT_EQ(DestinationPath("out/", "picture.tar.gz", RleCodec()), "out/picture.tar.RLE");
    EXPECT_EQ(DestinationPath("out", "c:\\d\\noext", BmpCodec()), "out" + sep + "noext.BMP");
}

TEST_F(BatchConvert, CreatesFoldersLevelByLevelAndWritesEachFile)
{
    ConvertSettings settings;
    settings.codec = &RleCodec();
    settings.outputFolder = (m_root / "out" / "deeper" / "deepest").string();
    ScriptedObserver observer;
    const BatchSummary summary = RunBatchConvert(Inputs({"a.bmp", "b.bmp"}), settings, observer);
    ASSERT_EQ(summary.results.size(), 2u);
    EXPECT_FALSE(summary.AnyFailed());
    EXPECT_TRUE(fs::exists(m_root / "out" / "deeper" / "deepest" / "a.RLE"));
    CPicture back;
    EXPECT_EQ(RleCodec().ReadFile(summary.results[1].destination, &back, nullptr), 1);
    EXPECT_EQ(back.BitsPerPixel(), 8);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "out" / "deeper" / "deepest"), {}), 2); // no temporaries left
}

TEST_F(BatchConvert, OverwriteAnswersNoSkipsOneAndAllCoversTheRest)
{
    fs::create_directories(m_root / "out");
    for (const char* name : {"a.BMP", "b.BMP", "c.BMP"})
        Spit(m_root / "out" / name, "old");
    ConvertSettings settings;
    settings.codec = &BmpCodec();
    settings.outputFolder = (m_root / "out").string();
    ScriptedObserver observer;
    observer.answers = {OverwriteAnswer::No, OverwriteAnswer::YesToAll};
    const BatchSummary summary = RunBatchConvert(Inputs({"a.bmp", "b.bmp", "c.bmp"}), settings, observer);
    EXPECT_EQ(observer.asked, 2);
    EXPECT_EQ(summary.results[0].status, ConvertStatus::SkippedExisting);
    EXPECT_EQ(Slurp(m_root / "out" / "a.BMP"), "old");
    EXPECT_NE(Slurp(m_root / "out" / "b.BMP"), "old");
    EXPECT_NE(Slurp(m_root / "out" / "c.BMP"), "old");
    EXPECT_FALSE(summary.AnyFailed());
}

TEST_F(BatchConvert, FailedWriteKeepsTheExistingFile)
{
    fs::create_directories(m_root / "out");
    Spit(m_root / "out" / "a.BAD", "precious");
    FailingCodec failing;
    ConvertSettings settings;
    settings.codec = &failing;
    settings.outputFolder = (m_root / "out").string();
    ScriptedObserver observer;
    observer.answers = {OverwriteAnswer::Yes};
    const BatchSummary summary = RunBatchConvert(Inputs({"a.bmp"}), settings, observer);
    ASSERT_EQ(summary.results.size(), 1u);
    EXPECT_EQ(summary.results[0].status, ConvertStatus::WriteFailed);
    EXPECT_TRUE(summary.AnyFailed());
    EXPECT_EQ(Slurp(m_root / "out" / "a.BAD"), "precious");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "out"), {}), 1);
}

TEST_F(BatchConvert, LoadFailuresNameTheirCause)
{
    Spit(m_root / "in" / "cut.bmp", Slurp(m_root / "in" / "a.bmp").substr(0, 60));
    ConvertSettings settings;
    settings.codec = &BmpCodec();
    settings.outputFolder = (m_root / "out").string();
    ScriptedObserver observer;
    const BatchSummary summary = RunBatchConvert(Inputs({"missing.bmp", "cut.bmp"}), settings, observer);
    ASSERT_EQ(summary.results.size(), 2u);
    EXPECT_EQ(summary.results[0].status, ConvertStatus::CannotOpen);
    EXPECT_EQ(summary.results[1].status, ConvertStatus::LoadFailed);
    EXPECT_TRUE(summary.AnyFailed());
    EXPECT_FALSE(fs::exists(m_root / "out" / "cut.BMP"));
}

TEST_F(BatchConvert, StopsWhenTheObserverCancelsAndSetsTheJpegQuality)
{
    class CancelSecond : public CBatchObserver {
    public:
        bool BeginItem(size_t index, size_t, const std::string&) override { return index < 1; }
    } observer;
    ConvertSettings settings;
    settings.codec = &JpgCodec();
    settings.bits = 24;
    settings.quality = 37;
    settings.outputFolder = (m_root / "out").string();
    const BatchSummary summary = RunBatchConvert(Inputs({"a.bmp", "b.bmp", "c.bmp"}), settings, observer);
    EXPECT_TRUE(summary.cancelled);
    ASSERT_EQ(summary.results.size(), 1u);
    EXPECT_EQ(summary.results[0].status, ConvertStatus::Written);
    EXPECT_FALSE(fs::exists(m_root / "out" / "b.JPG"));
    EXPECT_EQ(JpegCodec().Quality(), 37);
    JpegCodec().SetQuality(CJpegCodec::kDefaultQuality);
}

TEST_F(BatchConvert, CutPaletteTravelsWithThePictureThroughTheTemporaryFile)
{
    // Six colours: the written palette holds them exactly, so the picture reads back as it was.
    CPicture colours;
    ASSERT_TRUE(colours.Create(12, 5));
    const uint8_t bgr[6][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0, 200, 200}, {90, 10, 160}, {255, 255, 255}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 12; ++x)
            colours.SetPixel(x, y, bgr[(x / 2 + y) % 6]);
    ASSERT_EQ(BmpCodec().WriteFile((m_root / "in" / "pic.bmp").string(), &colours, 24, false, nullptr), 1);

    ConvertSettings settings;
    settings.codec = &CutCodec();
    settings.bits = 8;
    settings.outputFolder = (m_root / "out").string();
    ScriptedObserver observer;
    observer.answers = {OverwriteAnswer::Yes};
    for (int run = 0; run < 2; ++run) { // the second run replaces both files
        const BatchSummary summary = RunBatchConvert(Inputs({"pic.bmp"}), settings, observer);
        ASSERT_FALSE(summary.AnyFailed());
        EXPECT_TRUE(fs::exists(m_root / "out" / "pic.pal"));
        EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "out"), {}), 2); // no temporaries left
        CPicture back;
        ASSERT_EQ(CutCodec().ReadFile((m_root / "out" / "pic.CUT").string(), &back, nullptr), 1);
        ASSERT_EQ(back.Width(), 12);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 12; ++x) {
                uint8_t px[3];
                back.GetPixel(x, y, px);
                EXPECT_EQ(0, std::memcmp(px, bgr[(x / 2 + y) % 6], 3)) << x << "," << y;
            }
    }
}

TEST_F(BatchConvert, FailedWriteLeavesNoCompanionBehind)
{
    class FailingWithCompanion : public FailingCodec {
    public:
        std::vector<std::string> CompanionFiles(const std::string& path) const override { return {path + ".side"}; }
        int Write() override
        {
            CGraphicsStream side;
            side.OpenFile(m_stream->Name() + ".side", false);
            side.Write("side", 4);
            return FailingCodec::Write();
        }
    } failing;
    fs::create_directories(m_root / "out");
    Spit(m_root / "out" / "a.BAD.side", "old companion");
    ConvertSettings settings;
    settings.codec = &failing;
    settings.outputFolder = (m_root / "out").string();
    ScriptedObserver observer;
    const BatchSummary summary = RunBatchConvert(Inputs({"a.bmp"}), settings, observer);
    ASSERT_EQ(summary.results.size(), 1u);
    EXPECT_EQ(summary.results[0].status, ConvertStatus::WriteFailed);
    EXPECT_EQ(Slurp(m_root / "out" / "a.BAD.side"), "old companion");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "out"), {}), 1);
}
