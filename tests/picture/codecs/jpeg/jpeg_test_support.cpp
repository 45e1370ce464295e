#include "jpeg_test_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "picture/codecs/jpeg_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"

void FillPicture(CPicture& picture, const RgbImage& image)
{
    ASSERT_TRUE(picture.Create(unsigned(image.width), unsigned(image.height)));
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            uint8_t* px = picture.Row(y) + 3 * x;
            px[0] = image.At(x, y, 2);
            px[1] = image.At(x, y, 1);
            px[2] = image.At(x, y, 0);
        }
}

RgbImage FromPicture(const CPicture& picture)
{
    RgbImage image;
    image.width = picture.Width();
    image.height = picture.Height();
    image.data.resize(size_t(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* px = picture.Row(y) + 3 * x;
            uint8_t* out = &image.data[(size_t(y) * image.width + x) * 3];
            out[0] = px[2];
            out[1] = px[1];
            out[2] = px[0];
        }
    return image;
}

bool WritePnm(const std::string& path, const RgbImage& image)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::fprintf(f, "P%d\n%d %d\n255\n", image.channels == 1 ? 5 : 6, image.width, image.height);
    const bool ok = std::fwrite(image.data.data(), 1, image.data.size(), f) == image.data.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadPnm(const std::string& path, RgbImage& image)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    size_t pos = 0;
    auto token = [&]() {
        while (pos < bytes.size() && std::isspace(bytes[pos]))
            ++pos;
        std::string t;
        while (pos < bytes.size() && !std::isspace(bytes[pos]))
            t += char(bytes[pos++]);
        return t;
    };
    const std::string magic = token();
    if (magic != "P5" && magic != "P6")
        return false;
    image.channels = magic == "P5" ? 1 : 3;
    image.width = std::atoi(token().c_str());
    image.height = std::atoi(token().c_str());
    if (token() != "255")
        return false;
    ++pos;
    const size_t size = size_t(image.width) * image.height * image.channels;
    if (bytes.size() < pos + size)
        return false;
    image.data.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + size));
    return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

ImageDiff CompareImages(const RgbImage& a, const RgbImage& b)
{
    ImageDiff diff;
    if (a.width != b.width || a.height != b.height) {
        diff.maxDiff = 256;
        return diff;
    }
    int64_t total = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(int(a.At(x, y, c)) - int(b.At(x, y, c)));
                diff.maxDiff = std::max(diff.maxDiff, d);
                total += d;
            }
    diff.meanDiff = double(total) / (3.0 * a.width * a.height);
    return diff;
}

double Psnr(const RgbImage& a, const RgbImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const double d = double(a.At(x, y, c)) - double(b.At(x, y, c));
                sum += d * d;
            }
    const double mse = sum / (3.0 * a.width * a.height);
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

bool HaveTool(const std::string& tool)
{
    if (!tool.empty() && tool[0] == '/')
        return std::filesystem::exists(tool);
    return RunQuietly("command -v " + tool);
}

bool RunQuietly(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string MakeTempFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / ("quenta_jpeg_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

bool DecodeJpeg(const std::vector<uint8_t>& bytes, CPicture& picture)
{
    CGraphicsStream stream;
    stream.OpenMemory(bytes.data(), bytes.size());
    return JpegCodec().ReadStream(stream, &picture, nullptr) == 1;
}

std::vector<uint8_t> EncodeJpeg(CPicture& picture, int quality)
{
    CGraphicsStream stream;
    if (!stream.CreateMemory(0))
        return {};
    const int saved = JpegCodec().Quality();
    JpegCodec().SetQuality(quality);
    const int ok = JpegCodec().WriteStream(stream, &picture, 0, false, nullptr);
    JpegCodec().SetQuality(saved);
    if (!ok)
        return {};
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size());
}
