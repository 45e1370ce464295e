// The picture browser on Win32 (under Wine): the worker thread, the caller's message pump, the
// hidden cache file and local modification times.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "app/registry_access.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/browser/browser_files.h"
#include "picturetools/browser/thumbnail_engine.h"

namespace {

std::string MakeFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "browser_win_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WritePicture(const std::string& path, int width, int height)
{
    CPicture picture;
    ASSERT_TRUE(picture.Create(width, height));
    picture.SetBitsPerPixel(24);
    ASSERT_EQ(BmpCodec().WriteFile(path, &picture, 24, false, nullptr), 1);
}

TEST(BrowserWin, VisitsWriteAHiddenCacheAndTheSecondLoadsNothing)
{
    const std::string folder = MakeFolder();
    WritePicture(folder + "\\a.bmp", 120, 90);
    WritePicture(folder + "\\b.bmp", 30, 20);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    CRegistryAccess registry;
    CBrowserFiles files(registry, temp);
    std::atomic<int> pumps{0};
    CBrowsePicture browser(files, [&] {
        ++pumps;
        PumpOneMessage();
    });

    std::atomic<int> loads{0}, thumbnails{0}, finished{0};
    BrowseRequest request;
    request.folder = folder;
    request.loader = [&](const std::string& path, int w, int h, CPicture& picture, PictureFacts& own) {
        Sleep(20);
        const bool loaded = LoadThumbnailPicture(path, w, h, picture, own);
        loads += loaded;
        return loaded;
    };
    request.receiver = [&](const BrowseEvent& e) {
        thumbnails += e.code == kBrowseThumbnail;
        finished += e.code == kBrowseFinished;
    };
    ASSERT_TRUE(browser.BrowseFolder(request));
    browser.Wait();
    EXPECT_EQ(loads.load(), 2);
    EXPECT_EQ(thumbnails.load(), 2);
    EXPECT_EQ(finished.load(), 1);
    EXPECT_GT(pumps.load(), 0); // the caller's messages kept flowing while it waited
    const DWORD attributes = GetFileAttributesA((folder + "\\zephra.zeb").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);

    loads = thumbnails = 0;
    ASSERT_TRUE(browser.BrowseFolder(request));
    browser.Wait();
    EXPECT_EQ(loads.load(), 0);
    EXPECT_EQ(thumbnails.load(), 2);

    SetFileAttributesA((folder + "\\zephra.zeb").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"\\zephra.zeb", "\\a.bmp", "\\b.bmp"})
        DeleteFileA((folder + name).c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(BrowserWin, ModificationTimesAreTakenInLocalTime)
{
    SYSTEMTIME local{};
    local.wYear = 2026;
    local.wMonth = 7;
    local.wDay = 14;
    local.wHour = 23;
    local.wMinute = 30;
    local.wSecond = 5;
    FILETIME localTime, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    const FileStamp stamp = FileStamp(utc.dwHighDateTime) << 32 | utc.dwLowDateTime;
    const LocalMoment m = LocalMomentOfStamp(stamp);
    EXPECT_EQ(m.year, 2026);
    EXPECT_EQ(m.month, 7);
    EXPECT_EQ(m.day, 14);
    EXPECT_EQ(m.hour, 23);
    EXPECT_EQ(m.minute, 30);
    EXPECT_EQ(m.second, 5);
}

} // namespace
