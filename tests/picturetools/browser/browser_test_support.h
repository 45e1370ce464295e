#pragma once
// Folders of small pictures for the picture browser's tests.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/services.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"

inline std::string MakeScratchFolder(const std::string& stem)
{
    std::string pattern = SystemTempPath() + stem + ".XXXXXX";
    char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    return pattern;
}

// A width x height BMP whose pixel (x, y) is (x, y, 100) as (blue, green, red).
inline void WriteTestPicture(const std::string& path, int width, int height, int seed = 0)
{
    CPicture picture;
    ASSERT_TRUE(picture.Create(width, height));
    picture.SetBitsPerPixel(24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t bgr[3] = {uint8_t(x + seed), uint8_t(y), 100};
            picture.SetPixel(x, y, bgr);
        }
    ASSERT_EQ(BmpCodec().WriteFile(path, &picture, 24, false, nullptr), 1);
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Sets the modification time `seconds` after the epoch.
inline void SetModified(const std::string& path, long seconds)
{
    struct utimbuf times{seconds, seconds};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

inline bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

inline void RemoveTree(const std::string& folder) { DeleteFolderTree(folder); }
