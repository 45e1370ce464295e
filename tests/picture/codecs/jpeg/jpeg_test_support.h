#pragma once
// Helpers of the JPEG codec tests: synthetic photo-like pictures, PNM files, the codec run on
// files and memory, picture comparison, and the command-line oracle tools.
#include <cstdint>
#include <string>
#include <vector>

#include "synthetic_photo.h"

class CPicture;

void FillPicture(CPicture& picture, const RgbImage& image);
RgbImage FromPicture(const CPicture& picture);

bool WritePnm(const std::string& path, const RgbImage& image);
bool ReadPnm(const std::string& path, RgbImage& image);
std::vector<uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

struct ImageDiff {
    int maxDiff = 0;
    double meanDiff = 0;
};
ImageDiff CompareImages(const RgbImage& a, const RgbImage& b);
double Psnr(const RgbImage& a, const RgbImage& b);

// True when `tool` is on the PATH (or is an absolute path that exists).
bool HaveTool(const std::string& tool);
// Runs a shell command, output discarded; true on exit status 0.
bool RunQuietly(const std::string& command);
// A fresh folder below the test temp folder.
std::string MakeTempFolder(const std::string& name);

// Decodes JPEG bytes with the codec through a memory stream; the read's result in `ok`.
bool DecodeJpeg(const std::vector<uint8_t>& bytes, CPicture& picture);
// Encodes a picture with the codec at `quality` into bytes.
std::vector<uint8_t> EncodeJpeg(CPicture& picture, int quality);
