// Progress of a PNG write: the deflater reads the rows once when its symbol record holds
// them, so the rows alone carry the progress from 0 to the end, and cancelling still stops
// the write.
#include <gtest/gtest.h>

#include "png_test_support.h"

namespace {
class RecordingProgress : public CQnProgress {
public:
    bool SetPos(int64_t position, bool redraw) override
    {
        positions.push_back(position);
        CQnProgress::SetPos(position, redraw);
        return positions.size() < stopAfter;
    }
    std::vector<int64_t> positions;
    size_t stopAfter = SIZE_MAX;
};

Bytes WriteWithProgress(CPicture& picture, CQnProgress& progress)
{
    CGraphicsStream stream;
    stream.CreateMemory(0);
    if (!PngCodec().WriteStream(stream, &picture, 0, false, &progress))
        return {};
    return Bytes(stream.Data(), stream.Data() + stream.Size());
}
} // namespace

TEST(PngWriterProgress, RunsOnceFromStartToNearTheEnd)
{
    CPicture picture;
    FillPattern(picture, 120, 300);
    RecordingProgress progress;
    const Bytes file = WriteWithProgress(picture, progress);
    ASSERT_FALSE(file.empty());
    ASSERT_GE(progress.positions.size(), 30u) << "every 10 rows";
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
    EXPECT_GE(progress.positions.back(), 90);
    EXPECT_LE(progress.positions.back(), 100);
    CPicture back;
    ASSERT_TRUE(ReadPng(file, back));
    EXPECT_EQ(PixelsOf(back), PixelsOf(picture));
}

TEST(PngWriterProgress, CancellingStopsTheWrite)
{
    CPicture picture;
    FillPattern(picture, 50, 100);
    RecordingProgress progress;
    progress.stopAfter = 3;
    EXPECT_TRUE(WriteWithProgress(picture, progress).empty());
    EXPECT_EQ(progress.positions.size(), 3u) << "nothing more is asked once cancelled";
}
