#include "picturetools/wallpaper/wallpaper_model.h"

#include "app/paths.h"
#include "base/text.h"
#include "picture/codec_registry.h"
#include "picture/picture.h"
#include "res/resource.h"

namespace {
int Index(int target) { return target == static_cast<int>(WallpaperTargetId::DefaultUser) ? 1 : 0; }
} // namespace

WallpaperModel::WallpaperModel() = default;
WallpaperModel::~WallpaperModel() = default;

WallpaperTargetState& WallpaperModel::State(int target) { return m_states[Index(target)]; }
const WallpaperTargetState& WallpaperModel::State(int target) const { return m_states[Index(target)]; }

void WallpaperModel::ReadTarget(int target, CQnProgress* progress)
{
    WallpaperTargetState& state = State(target);
    const InstalledWallpaper installed = ReadInstalledWallpaper(WallpaperTargetAt(Index(target)));
    state.mode = ModeOfStoredStyle(installed.style);
    state.picture.reset();
    if (!installed.path.empty()) {
        auto picture = std::make_unique<CPicture>();
        if (LoadPicture(installed.path, picture.get(), progress) && !picture->IsEmpty())
            state.picture = std::move(picture);
    }
    state.installed = true;
    if (state.picture)
        state.size = {state.picture->Width(), state.picture->Height()};
}

void WallpaperModel::ReplacePicture(int target, std::unique_ptr<CPicture> picture)
{
    WallpaperTargetState& state = State(target);
    if (!picture || picture->IsEmpty())
        return;
    state.picture = std::move(picture);
    state.installed = false;
    state.size = {state.picture->Width(), state.picture->Height()};
}

void WallpaperModel::RemovePicture(int target)
{
    WallpaperTargetState& state = State(target);
    state.picture.reset();
    state.installed = false;
}

void WallpaperModel::SetMode(int target, WallpaperMode mode) { State(target).mode = mode; }

void WallpaperModel::SetSize(int target, PictureSize size)
{
    State(target).size = {ClampWallpaperDimension(size.width), ClampWallpaperDimension(size.height)};
}

WallpaperOutcome WallpaperModel::Apply(int target, uint32_t background, WallpaperSystem& system, CQnProgress* progress)
{
    WallpaperTargetState& state = State(target);
    WallpaperRequest request;
    request.mode = state.mode;
    request.sizeEdits = state.size;
    request.background = background;
    const WallpaperOutcome outcome =
        InstallWallpaper(WallpaperTargetAt(Index(target)), state.picture.get(), request, system, progress);
    if (outcome.result == WallpaperResult::Installed || outcome.result == WallpaperResult::NotifyRefused)
        ReadTarget(target, progress);
    return outcome;
}

WallpaperTargetView DescribeWallpaperTarget(const WallpaperTargetState& state)
{
    WallpaperTargetView view;
    view.hasPicture = state.picture != nullptr;
    view.canApply = !state.installed;
    view.colourEnabled = state.mode == WallpaperMode::BestFit;
    if (!view.hasPicture) {
        view.status = LoadText(IDS_WALLPAPER_NONE);
        view.pictureWidth = view.pictureHeight = view.targetWidth = view.targetHeight = LoadText(IDS_WALLPAPER_NO_SIZE);
        return view;
    }
    const CPicture& picture = *state.picture;
    view.pictureWidth = std::to_string(picture.Width());
    view.pictureHeight = std::to_string(picture.Height());
    view.targetWidth = std::to_string(state.size.width);
    view.targetHeight = std::to_string(state.size.height);
    view.status = FillConversions(LoadText(IDS_WALLPAPER_STATUS),
                                  {PathNamePart(picture.Description()), view.pictureWidth, view.pictureHeight});
    view.reportTitle = FormatText(IDS_WALLPAPER_REPORT_TITLE, picture.Description());
    return view;
}

std::string FillConversions(const std::string& pattern, const std::vector<std::string>& args)
{
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char k = pattern[i + 1];
            if (k == '%' || k == 's' || k == 'd') {
                if (k == '%')
                    out += '%';
                else if (next < args.size())
                    out += args[next++];
                else
                    ++next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}
