// qnpic as a user runs it: output, files and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int code = -1;
    std::string out;
};

// Runs qnpic with `arguments` (already quoted), capturing stdout; stderr is dropped, or
// captured with it when `withErrors`.
ToolRun Qnpic(const std::string& arguments, bool withErrors = false)
{
    const std::string command =
        std::string(QUENTA_BINARY_DIR) + "/bin/qnpic " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class QnpicTool : public testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::path(testing::TempDir()) / ("qn_qnpic_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        CPicture p;
        ASSERT_TRUE(p.Create(20, 10));
        for (int x = 0; x < 20; ++x) {
            const uint8_t c[3] = {uint8_t(x * 12), 40, uint8_t(255 - x * 12)};
            p.SetPixel(x, 3, c);
        }
        ASSERT_EQ(BmpCodec().WriteFile(Path("photo.bmp"), &p, 24, false, nullptr), 1);
        std::ofstream(m_root / "notes.txt") << "plain text, not a picture";
    }
    void TearDown() override { fs::remove_all(m_root); }
    std::string Path(const std::string& name) const { return (m_root / name).string(); }
    std::string Q(const std::string& name) const { return "'" + Path(name) + "'"; }

    fs::path m_root;
};

} // namespace

TEST_F(QnpicTool, FormatsListsEveryCodecInTableOrder)
{
    const ToolRun run = Qnpic("formats");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 23);
    EXPECT_EQ(run.out.rfind("BMP  Windows bitmap (BMP)", 0), 0u);
    EXPECT_NE(run.out.find("RLE  Windows compressed bitmap (RLE)"), std::string::npos);
    EXPECT_NE(run.out.find("write: 8 "), std::string::npos);
    EXPECT_EQ(Qnpic("--help").code, 0);
    EXPECT_EQ(Qnpic("").code, 2);
    EXPECT_EQ(Qnpic("frobnicate").code, 2);
}

TEST_F(QnpicTool, InfoDescribesPicturesAndFailsOnOthers)
{
    ToolRun run = Qnpic("info " + Q("photo.bmp"));
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("photo.bmp: BMP 20x10 24 bits Windows bitmap (BMP)"), std::string::npos) << run.out;
    run = Qnpic("info " + Q("photo.bmp") + " " + Q("missing.png"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("20x10"), std::string::npos);
}

TEST_F(QnpicTool, ConvertIntoNewNestedFolderWithChosenDepth)
{
    const ToolRun run = Qnpic("convert --to RLE --depth 8 -o " + Q("out/a/b") + " " + Q("photo.bmp"));
    EXPECT_EQ(run.code, 0);
    const fs::path made = m_root / "out" / "a" / "b" / "photo.RLE";
    ASSERT_TRUE(fs::exists(made)) << run.out;
    CPicture back;
    ASSERT_EQ(BmpCodec().ReadFile(made.string(), &back, nullptr), 1);
    EXPECT_EQ(back.BitsPerPixel(), 8);
    EXPECT_EQ(back.Width(), 20);

    // One input and an OUT with an extension: that exact file.
    EXPECT_EQ(Qnpic("convert --to BMP --depth 1 -o " + Q("single.bmp") + " " + Q("photo.bmp")).code, 0);
    CPicture mono;
    ASSERT_EQ(BmpCodec().ReadFile(Path("single.bmp"), &mono, nullptr), 1);
    EXPECT_EQ(mono.BitsPerPixel(), 1);
}

TEST_F(QnpicTool, ExistingDestinationIsKeptUnlessOverwriteYes)
{
    fs::create_directories(m_root / "out");
    std::ofstream(m_root / "out" / "photo.BMP") << "old";
    ToolRun run = Qnpic("convert --to BMP -o " + Q("out") + " " + Q("photo.bmp"));
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(Slurp(m_root / "out" / "photo.BMP"), "old");
    run = Qnpic("convert --to BMP --overwrite yes -o " + Q("out") + " " + Q("photo.bmp"));
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(Slurp(m_root / "out" / "photo.BMP"), Slurp(m_root / "photo.bmp"));
}

TEST_F(QnpicTool, FileFailuresGiveOneAndUsageErrorsTwo)
{
    const ToolRun failed = Qnpic("convert --to BMP -o " + Q("out") + " " + Q("missing.bmp") + " " + Q("photo.bmp"));
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(fs::exists(m_root / "out" / "photo.BMP")); // the good file is still converted

    EXPECT_EQ(Qnpic("convert --to RLE --depth 4 -o " + Q("out") + " " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to GIF -o " + Q("out") + " " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to XYZ -o " + Q("out") + " " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to BMP --depth 3 -o " + Q("out") + " " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to BMP --quality 0 -o " + Q("out") + " " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to BMP " + Q("photo.bmp")).code, 2);
    EXPECT_EQ(Qnpic("convert --to BMP -o " + Q("out")).code, 2);
}

TEST_F(QnpicTool, NonPicturesAndRefusedSignaturesFailWithOneAndSayWhy)
{
    std::ofstream(m_root / "empty.mac");
    std::string random(3000, 0);
    uint32_t seed = 5;
    for (char& c : random)
        c = char((seed = seed * 1103515245u + 12345u) >> 24);
    std::ofstream(m_root / "noise", std::ios::binary) << random;
    // A bitmap header with a depth the reader refuses: its failure names the format.
    std::string bmp = Slurp(m_root / "photo.bmp");
    bmp[28] = 16;
    std::ofstream(m_root / "rgb16.dat", std::ios::binary) << bmp;

    for (const char* name : {"notes.txt", "empty.mac", "noise"}) {
        const ToolRun info = Qnpic("info " + Q(name), true);
        EXPECT_EQ(info.code, 1) << name;
        EXPECT_NE(info.out.find(std::string(name) + ": not a recognised picture file"), std::string::npos) << info.out;
        const ToolRun convert = Qnpic("convert --to PNG -o " + Q("out") + " " + Q(name), true);
        EXPECT_EQ(convert.code, 1) << name;
        EXPECT_NE(convert.out.find("not a recognised picture file"), std::string::npos) << convert.out;
    }
    // The probe reads the header (info names the file's depth); the read refuses it as a BMP.
    EXPECT_EQ(Qnpic("info " + Q("rgb16.dat")).code, 0);
    const ToolRun convert = Qnpic("convert --to PNG -o " + Q("out") + " " + Q("rgb16.dat"), true);
    EXPECT_EQ(convert.code, 1);
    EXPECT_NE(convert.out.find("damaged or unsupported BMP file"), std::string::npos) << convert.out;
    EXPECT_TRUE(fs::is_empty(m_root / "out"));
}

namespace {
// A 24-bit picture of its own colours for each `shade`.
void WriteShadedBmp(const std::string& path, int shade, int width = 30, int height = 20)
{
    CPicture p;
    ASSERT_TRUE(p.Create(unsigned(width), unsigned(height)));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t c[3] = {uint8_t(shade + x * 3), uint8_t(y * 9), uint8_t(shade * 7 + x + y)};
            p.SetPixel(x, y, c);
        }
    ASSERT_EQ(BmpCodec().WriteFile(path, &p, 24, false, nullptr), 1);
}

std::string FolderContents(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& name : names)
        all += name + "=" + Slurp(folder / name) + "\n";
    return all;
}
} // namespace

TEST_F(QnpicTool, WorkersGiveTheFilesAndMessagesOfOneProcessInInputOrder)
{
    fs::create_directories(m_root / "in");
    std::string inputs;
    for (int i = 0; i < 9; ++i) {
        const std::string name = "in/p" + std::to_string(i) + ".bmp";
        WriteShadedBmp(Path(name), i * 20);
        inputs += " " + Q(name);
        if (i == 3)
            inputs += " " + Q("notes.txt") + " " + Q("missing.bmp"); // failures among them
    }
    const ToolRun one = Qnpic("convert --jobs 1 --to PNG --depth 8 -o " + Q("one") + inputs, true);
    const ToolRun two = Qnpic("convert --jobs 2 --to PNG --depth 8 -o " + Q("two") + inputs, true);
    const ToolRun five = Qnpic("convert --jobs 5 --to PNG --depth 8 -o " + Q("five") + inputs, true);
    EXPECT_EQ(one.code, 1);
    EXPECT_EQ(two.code, 1);
    EXPECT_EQ(five.code, 1);
    ASSERT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 11) << one.out;
    auto renamed = [&](std::string text, const std::string& from) {
        for (size_t at; (at = text.find(Path(from))) != std::string::npos;)
            text.replace(at, Path(from).size(), Path("one"));
        return text;
    };
    EXPECT_EQ(renamed(two.out, "two"), one.out);
    EXPECT_EQ(renamed(five.out, "five"), one.out);
    EXPECT_TRUE(FolderContents(m_root / "two") == FolderContents(m_root / "one"));
    EXPECT_TRUE(FolderContents(m_root / "five") == FolderContents(m_root / "one"));
}

TEST_F(QnpicTool, WorkersKeepTheOrderOfItemsSharingAFile)
{
    // a/x.bmp and b/x.bmp land on the same destination: without --overwrite the first is
    // written and the second skipped, with it the second wins; as in one process.
    for (const char* folder : {"a", "b"})
        fs::create_directories(m_root / folder);
    // Large enough that converting one takes longer than starting a worker.
    WriteShadedBmp(Path("a/x.bmp"), 10, 1500, 1000);
    WriteShadedBmp(Path("b/x.bmp"), 90, 1500, 1000);
    for (int i = 0; i < 6; ++i)
        WriteShadedBmp(Path("a/other" + std::to_string(i) + ".bmp"), 30 + i);
    // Side by side, so that two workers would take them at the same moment.
    std::string inputs = " " + Q("a/x.bmp") + " " + Q("b/x.bmp");
    for (int i = 0; i < 6; ++i)
        inputs += " " + Q("a/other" + std::to_string(i) + ".bmp");
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        fs::remove_all(m_root / "out");
        ToolRun run = Qnpic(std::string("convert --jobs ") + jobs + " --to BMP -o " + Q("out") + inputs, true);
        EXPECT_EQ(run.code, 0);
        EXPECT_TRUE(Slurp(m_root / "out" / "x.BMP") == Slurp(m_root / "a" / "x.bmp"));
        EXPECT_NE(run.out.find("b/x.bmp: skipped"), std::string::npos) << run.out;
        run = Qnpic(std::string("convert --jobs ") + jobs + " --overwrite yes --to BMP -o " + Q("out") + inputs);
        EXPECT_EQ(run.code, 0);
        EXPECT_TRUE(Slurp(m_root / "out" / "x.BMP") == Slurp(m_root / "b" / "x.bmp"));
    }

    // An item that reads what an earlier one writes: c.png becomes c.BMP, which the next item
    // then reads (the new picture, not the old file) and writes again.
    fs::create_directories(m_root / "c");
    WriteShadedBmp(Path("c/c.BMP"), 200, 1500, 1000); // the old picture
    WriteShadedBmp(Path("new.bmp"), 40, 1500, 1000);
    ASSERT_EQ(Qnpic("convert --to PNG -o " + Q("c/c.png") + " " + Q("new.bmp")).code, 0);
    std::string chain = " " + Q("c/c.png") + " " + Q("c/c.BMP");
    for (int i = 0; i < 6; ++i)
        chain += " " + Q("a/other" + std::to_string(i) + ".bmp");
    ASSERT_EQ(Qnpic("convert --jobs 2 --overwrite yes --to BMP -o " + Q("c") + chain).code, 0);
    EXPECT_TRUE(Slurp(m_root / "c" / "c.BMP") == Slurp(m_root / "new.bmp"));
}

TEST_F(QnpicTool, JobsMustBeAPositiveNumber)
{
    for (const char* jobs : {"0", "-1", "65", "two", ""}) {
        const ToolRun run = Qnpic(std::string("convert --jobs '") + jobs + "' --to BMP -o " + Q("out") + " " + Q("photo.bmp"), true);
        EXPECT_EQ(run.code, 2) << jobs;
        EXPECT_NE(run.out.find("--jobs must be a number from 1 to 64"), std::string::npos) << run.out;
    }
    EXPECT_EQ(Qnpic("convert --jobs 64 --to BMP -o " + Q("out") + " " + Q("photo.bmp")).code, 0);
}
