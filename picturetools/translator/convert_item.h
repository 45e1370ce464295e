#pragma once
// One picture file of the pictures translator's list and the text of its Format column.
#include <optional>
#include <string>

struct ConvertItem {
    std::string name;   // file name without folder
    std::string info;   // "JPEG - 640x480 24 bits"
    std::string folder; // folder with its trailing separator
    int icon = -1;      // index in the system small-icon list

    std::string Path() const { return folder + name; }
};

// "%s - %dx%d %d bits" of a probe's information text, size and depth.
std::string PictureInfoText(const std::string& infoText, int width, int height, int bits);

// Probes the file with GetPictureFileInfo; nothing when no codec recognises it.
std::optional<ConvertItem> ProbeConvertItem(const std::string& path);
