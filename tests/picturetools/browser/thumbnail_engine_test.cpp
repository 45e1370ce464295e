// The thumbnail engine over real folders: cache reuse, recomputation, stale entries, the
// alternative cache file of media that refuse writes, the cell picture and the worker rules.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "app/registry_access.h"
#include "picture/graphics_stream.h"
#include "picturetools/browser/browser_files.h"
#include "picturetools/browser/thumbnail_engine.h"
#include "picturetools/browser/thumbnail_file.h"
#include "picturetools/browser/thumbnail_rules.h"
#include "tests/support/private_registry.h"
#include "tests/picturetools/browser/browser_test_support.h"

namespace {

// Stands in for read-only media: nothing can be created in `refused`.
class CRefusingFiles : public CBrowserFiles {
public:
    using CBrowserFiles::CBrowserFiles;
    std::string refused;

protected:
    bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) override
    {
        if (!refused.empty() && path.rfind(refused, 0) == 0)
            return false;
        return CBrowserFiles::WriteWholeFile(path, bytes);
    }
};

struct Received {
    int code;
    std::string path;
    int cellWidth, cellHeight, width, height, bits;
    std::vector<uint8_t> pixels; // the cell's rows, top first
};

class BrowserTest : public PrivateRegistryTest {
protected:
    void SetUp() override
    {
        m_temp = MakeScratchFolder("browser_temp");
        m_folder = MakeScratchFolder("browser_pictures");
        m_files = std::make_unique<CRefusingFiles>(m_registry, m_temp);
        m_browser = std::make_unique<CBrowsePicture>(*m_files, [] {});
    }
    void TearDown() override
    {
        m_browser.reset();
        RemoveTree(m_temp);
        RemoveTree(m_folder);
    }

    // Browses and waits for the worker; returns the events.
    std::vector<Received> Browse(int cellWidth = 80, int cellHeight = 60, bool noCache = false)
    {
        std::vector<Received> events;
        std::mutex lock;
        BrowseRequest request;
        request.folder = m_folder;
        request.cellWidth = cellWidth;
        request.cellHeight = cellHeight;
        request.noCache = noCache;
        request.loader = [this](const std::string& path, int w, int h, CPicture& picture, PictureFacts& own) {
            const bool loaded = LoadThumbnailPicture(path, w, h, picture, own);
            if (loaded)
                ++m_loads;
            return loaded;
        };
        request.receiver = [&](const BrowseEvent& e) {
            Received r{e.code, e.path, e.cellWidth, e.cellHeight, e.width, e.height, e.bits, {}};
            if (e.cell)
                for (int y = 0; y < e.cell->Height(); ++y)
                    r.pixels.insert(r.pixels.end(), e.cell->Row(y), e.cell->Row(y) + 3 * e.cell->Width());
            std::lock_guard<std::mutex> guard(lock);
            events.push_back(std::move(r));
        };
        m_loads = 0;
        EXPECT_TRUE(m_browser->BrowseFolder(request));
        m_browser->Wait();
        return events;
    }

    std::vector<ThumbnailEntry> CacheEntries(const std::string& path)
    {
        std::vector<ThumbnailEntry> entries;
        CGraphicsStream stream;
        EXPECT_TRUE(stream.OpenFile(path, true));
        EXPECT_EQ(ReadThumbnailFile(stream, entries, nullptr), ThumbnailFileStatus::Ok);
        return entries;
    }

    std::string Cache() const { return m_folder + "/zephra.zeb"; }

    CRegistryAccess m_registry;
    std::string m_temp, m_folder;
    std::unique_ptr<CRefusingFiles> m_files;
    std::unique_ptr<CBrowsePicture> m_browser;
    std::atomic<int> m_loads{0};
};

int CountCode(const std::vector<Received>& events, int code)
{
    int n = 0;
    for (const Received& e : events)
        n += e.code == code;
    return n;
}

TEST_F(BrowserTest, SecondVisitOfAnUnchangedFolderLoadsNoPicture)
{
    WriteTestPicture(m_folder + "/b.bmp", 160, 120);
    WriteTestPicture(m_folder + "/A.bmp", 64, 64);
    WriteTestPicture(m_folder + "/c.bmp", 30, 200);
    WriteText(m_folder + "/notes.txt", "not a picture");

    const std::vector<Received> first = Browse();
    EXPECT_EQ(m_loads, 3);
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first.front().code, kBrowseStarted);
    EXPECT_EQ(first.back().code, kBrowseFinished);
    // Sorted by name ignoring case.
    EXPECT_EQ(first[1].path, m_folder + "/A.bmp");
    EXPECT_EQ(first[2].path, m_folder + "/b.bmp");
    EXPECT_EQ(first[2].width, 160);
    EXPECT_EQ(first[2].height, 120);
    EXPECT_EQ(first[2].bits, 24);
    ASSERT_TRUE(Exists(Cache()));

    const std::vector<Received> second = Browse();
    EXPECT_EQ(m_loads, 0);
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(second[i].path, first[i].path);
        EXPECT_EQ(second[i].width, first[i].width);
        EXPECT_EQ(second[i].pixels, first[i].pixels) << i;
    }
}

TEST_F(BrowserTest, TouchingOneFileRecomputesOnlyItAndRewritesTheCache)
{
    for (const char* name : {"one.bmp", "two.bmp", "three.bmp"}) {
        WriteTestPicture(m_folder + "/" + name, 90, 70);
        SetModified(m_folder + "/" + name, 1700000000);
    }
    Browse();
    SetModified(Cache(), 1600000000);
    SetModified(m_folder + "/two.bmp", 1700000100);
    Browse();
    EXPECT_EQ(m_loads, 1);
    struct stat info;
    ASSERT_EQ(::stat(Cache().c_str(), &info), 0);
    EXPECT_GT(info.st_mtime, 1600000000);
    Browse();
    EXPECT_EQ(m_loads, 0);
}

TEST_F(BrowserTest, ADeletedFilesEntryDisappears)
{
    WriteTestPicture(m_folder + "/keep.bmp", 50, 50);
    WriteTestPicture(m_folder + "/gone.bmp", 50, 50);
    Browse();
    ASSERT_EQ(CacheEntries(Cache()).size(), 2u);
    std::remove((m_folder + "/gone.bmp").c_str());
    const std::vector<Received> events = Browse();
    EXPECT_EQ(m_loads, 0);
    EXPECT_EQ(CountCode(events, kBrowseThumbnail), 1);
    const std::vector<ThumbnailEntry> entries = CacheEntries(Cache());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "keep.bmp");
}

TEST_F(BrowserTest, ReadOnlyFolderKeepsItsCacheInTheTemporaryFolderFoundThroughTheRegistry)
{
    WriteTestPicture(m_folder + "/p.bmp", 100, 100);
    m_files->refused = m_folder;
    Browse();
    EXPECT_FALSE(Exists(Cache()));
    const std::string key = std::string(kBrowserFilesKey) + BrowserKeyName(m_folder);
    EXPECT_EQ(BrowserKeyName("/a/b"), "|a|b");
    const std::string stored = m_registry.ReadString(RegRoot::CurrentUser, key, "BrowserFile", "");
    ASSERT_EQ(stored.rfind(m_temp + "/OstrelZEB/", 0), 0u) << stored;
    EXPECT_EQ(stored.substr(stored.size() - 4), ".tmb");
    EXPECT_EQ(CacheEntries(stored).size(), 1u);

    Browse();
    EXPECT_EQ(m_loads, 0);
    EXPECT_FALSE(Exists(m_temp + "/Tmp.zeb")); // the reading copy is gone

    // A registered file that has vanished takes its key with it at the next look-up.
    std::remove(stored.c_str());
    m_files->FindCacheFile(m_temp);
    EXPECT_TRUE(m_registry.EnumSubKeys(RegRoot::CurrentUser, kBrowserFilesKey).empty());
}

TEST_F(BrowserTest, AlternativeNamesComeFromTheLocalTimeWithoutPadding)
{
    EXPECT_EQ(AlternativeFileName(LocalMoment{2026, 3, 7, 9, 5, 1}), "202637951.tmb");
    EXPECT_EQ(AlternativeFileName(LocalMoment{2026, 12, 31, 23, 59, 58}), "20261231235958.tmb");
}

TEST_F(BrowserTest, SmallPictureStaysItsSizeCentredInItsCell)
{
    WriteTestPicture(m_folder + "/small.bmp", 40, 30);
    const std::vector<Received> events = Browse();
    ASSERT_EQ(events.size(), 3u);
    const Received& cell = events[1];
    EXPECT_EQ(cell.width, 40);
    EXPECT_EQ(cell.height, 30);
    ASSERT_EQ(cell.pixels.size(), 80u * 60u * 3u);
    auto pixel = [&](int x, int y) { return &cell.pixels[(size_t(y) * 80 + x) * 3]; };
    // The picture's (x, y) = (x, y, 100) sits at (20 + x, 15 + y).
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(pixel(20 + x, 15 + y)[0], x);
            ASSERT_EQ(pixel(20 + x, 15 + y)[1], y);
            ASSERT_EQ(pixel(20 + x, 15 + y)[2], 100);
        }
    // Checkerboard around it (white first, grey next square), black frame.
    EXPECT_EQ(pixel(1, 1)[0], 255);
    EXPECT_EQ(pixel(9, 1)[0], 230);
    EXPECT_EQ(pixel(9, 9)[0], 255);
    EXPECT_EQ(pixel(19, 15)[0], 230);
    for (int x = 0; x < 80; ++x)
        EXPECT_EQ(pixel(x, 0)[0] | pixel(x, 59)[1], 0);
    for (int y = 0; y < 60; ++y)
        EXPECT_EQ(pixel(0, y)[2] | pixel(79, y)[0], 0);
    const std::vector<ThumbnailEntry> entries = CacheEntries(Cache());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].thumbWidth, 40);
    EXPECT_EQ(entries[0].thumbHeight, 30);
}

TEST_F(BrowserTest, ThumbnailSizeRule)
{
    EXPECT_EQ(ThumbnailTarget(1600, 1200, 80, 60).width, 78);
    EXPECT_EQ(ThumbnailTarget(1600, 1200, 80, 60).height, 58);
    EXPECT_EQ(ThumbnailTarget(1000, 10, 80, 60).height, 1); // at least 1
    CPicture picture;
    ASSERT_TRUE(picture.Create(1600, 1200));
    ASSERT_TRUE(MakeThumbnail(picture, 1600, 1200, 80, 60, nullptr));
    EXPECT_EQ(picture.Width(), 78);
    EXPECT_EQ(picture.Height(), 58);
    // A reduced decode (1/8) of the same picture ends at the same size.
    ASSERT_TRUE(picture.Create(200, 150));
    ASSERT_TRUE(MakeThumbnail(picture, 1600, 1200, 80, 60, nullptr));
    EXPECT_EQ(picture.Width(), 78);
    EXPECT_EQ(picture.Height(), 58);
}

TEST_F(BrowserTest, CellSizeComesFromTheCacheFileThenTheDefault)
{
    WriteTestPicture(m_folder + "/p.bmp", 300, 300);
    EXPECT_EQ(Browse(-1, -1).front().cellWidth, 80);
    Browse(120, 100);
    const std::vector<Received> events = Browse(-1, -1);
    EXPECT_EQ(events.front().cellWidth, 120);
    EXPECT_EQ(events.front().cellHeight, 100);
    EXPECT_EQ(m_loads, 0);
    // The no-cache flag ignores the file and writes it again.
    Browse(120, 100, true);
    EXPECT_EQ(m_loads, 1);
}

TEST_F(BrowserTest, DamagedCacheIsIgnoredAndReplaced)
{
    WriteTestPicture(m_folder + "/p.bmp", 64, 48);
    WriteTestPicture(m_folder + "/q.bmp", 64, 48);
    Browse();
    std::vector<uint8_t> bytes = ReadBytes(Cache());
    bytes.resize(bytes.size() - 20);
    WriteBytes(Cache(), bytes);
    EXPECT_EQ(CountCode(Browse(), kBrowseThumbnail), 2);
    EXPECT_EQ(m_loads, 2);
    EXPECT_EQ(CacheEntries(Cache()).size(), 2u);

    WriteBytes(Cache(), std::vector<uint8_t>(3000, 0xA7));
    EXPECT_EQ(CountCode(Browse(), kBrowseThumbnail), 2);
    EXPECT_EQ(m_loads, 2);
}

TEST_F(BrowserTest, FolderWithoutPicturesWritesNoCacheAndRemovesAnOldOne)
{
    WriteText(m_folder + "/a.txt", "text");
    Browse();
    EXPECT_FALSE(Exists(Cache()));
    WriteTestPicture(m_folder + "/p.bmp", 64, 48);
    Browse();
    ASSERT_TRUE(Exists(Cache()));
    std::remove((m_folder + "/p.bmp").c_str());
    Browse();
    EXPECT_FALSE(Exists(Cache()));
}

TEST_F(BrowserTest, NewRequestStopsTheRunningWorkerPumpingTheCallerAndRefusesNestedRequests)
{
    for (int i = 0; i < 20; ++i)
        WriteTestPicture(m_folder + "/p" + std::to_string(i) + ".bmp", 32, 32);
    std::atomic<int> pumps{0};
    std::atomic<int> thumbnails{0};
    bool nestedAccepted = true;
    CBrowsePicture* browser = nullptr;
    CBrowsePicture engine(*m_files, [&] {
        ++pumps;
        BrowseRequest nested;
        nested.folder = m_folder;
        nestedAccepted = browser->BrowseFolder(nested);
    });
    browser = &engine;
    BrowseRequest slow;
    slow.folder = m_folder;
    slow.loader = [](const std::string& path, int w, int h, CPicture& picture, PictureFacts& own) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        return LoadThumbnailPicture(path, w, h, picture, own);
    };
    slow.receiver = [&](const BrowseEvent& e) { thumbnails += e.code == kBrowseThumbnail; };
    ASSERT_TRUE(engine.BrowseFolder(slow));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(engine.IsRunning());
    BrowseRequest stopOnly; // an empty folder only stops
    ASSERT_TRUE(engine.BrowseFolder(stopOnly));
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_GT(pumps.load(), 0);
    EXPECT_FALSE(nestedAccepted);
    EXPECT_LT(thumbnails.load(), 20); // stopped between files
}

} // namespace
