#pragma once
// The pictures translator's settings (section "Converter" of the settings store), read with
// their defaults where they are needed and written back when a run ends.
#include <string>

inline constexpr int kDefaultQuality = 80;

struct ConverterSettings {
    int type = 0;                          // index in g_pictureCodecs of the last output format
    int quality = kDefaultQuality;         // last JPEG quality, 0..100
    std::string outputDirectory = "C:\\Temp";
    std::string addFileDirectory;          // folder of the last file added with the file dialog
};

// A quality below 0 becomes the default, one above 100 becomes 100.
int ClampQuality(int quality);
// The decimal value at the start of a quality text (blanks, a sign, digits; no digits gives 0),
// clamped as above.
int QualityFromText(const std::string& text);

ConverterSettings ReadConverterSettings();
// What a run leaves behind: the format, the output folder and the quality.
void WriteConverterRun(int type, const std::string& outputDirectory, int quality);
void WriteAddFileDirectory(const std::string& folder);
