#pragma once
// The wallpaper module's state, one entry per target (tab), and what the form shows of it.
// The view only forwards the user's actions here and shows DescribeWallpaperTarget.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "picturetools/wallpaper/wallpaper_install.h"

class CPicture;
class CQnProgress;

struct WallpaperTargetState {
    std::unique_ptr<CPicture> picture; // may be absent
    PictureSize size;                  // the size edits
    WallpaperMode mode = WallpaperMode::Normal;
    bool installed = false;            // the picture is what the target's settings hold
};

class WallpaperModel {
public:
    WallpaperModel();
    ~WallpaperModel();

    WallpaperTargetState& State(int target);
    const WallpaperTargetState& State(int target) const;

    // Reads the target's "Wallpaper" and "WallpaperStyle" and loads the picture quietly: an
    // unreadable one leaves the target without picture. Sets the installed flag.
    void ReadTarget(int target, CQnProgress* progress);
    // A picture the user loaded or dropped: replaces the current one, clears the flag, the
    // size edits take its size.
    void ReplacePicture(int target, std::unique_ptr<CPicture> picture);
    // "&Delete": applying afterwards removes the wallpaper.
    void RemovePicture(int target);
    void SetMode(int target, WallpaperMode mode);
    void SetSize(int target, PictureSize size); // clamped to the spin range

    // "&Apply": installs the picture (or none) and, once the settings are written, reads the
    // target again.
    WallpaperOutcome Apply(int target, uint32_t background, WallpaperSystem& system, CQnProgress* progress);

private:
    std::array<WallpaperTargetState, kWallpaperTargetCount> m_states;
};

// What the form shows of a target.
struct WallpaperTargetView {
    bool hasPicture = false; // View, Print, Edit, Delete and the preview
    bool canApply = false;   // only while the flag is clear
    bool colourEnabled = false; // best fit only
    std::string status;      // "(none)" or "name (WxH)"
    std::string pictureWidth, pictureHeight, targetWidth, targetHeight; // "---" without picture
    std::string reportTitle; // empty without picture
};
WallpaperTargetView DescribeWallpaperTarget(const WallpaperTargetState& state);

// A loaded text with its "%s" / "%d" conversions filled in order from `args`.
std::string FillConversions(const std::string& pattern, const std::vector<std::string>& args);
