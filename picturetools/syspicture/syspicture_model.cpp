#include "picturetools/syspicture/syspicture_model.h"

#include <cstring>

#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "picturetools/syspicture/target_file.h"

SysPictureFiles StandardSysPictureFiles(const std::string& windowsFolder)
{
    std::string folder = windowsFolder;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return {{"c:\\logo.sys", folder + "logow.sys", folder + "logos.sys"}};
}

SysPictureModel::SysPictureModel(SysPictureFiles files) : m_files(std::move(files)) {}

SysPictureModel::~SysPictureModel() = default;

size_t SysPictureModel::Index(int target) { return target >= 0 && target < kSysTargetCount ? target : 0; }

void SysPictureModel::ReadTarget(int target, const std::string& title, CQnProgress* progress)
{
    SysTargetState& state = m_targets[Index(target)];
    auto picture = std::make_unique<CPicture>();
    if (BmpCodec().ReadFile(PathOf(target), picture.get(), progress) == 1 && !picture->IsEmpty()) {
        picture->SetDescription(title);
        picture->SetName("System Picture");
        state.picture = std::move(picture);
        state.installed = true;
    } else {
        state.picture.reset();
        state.installed = false;
    }
}

void SysPictureModel::ReplacePicture(int target, std::unique_ptr<CPicture> picture)
{
    SysTargetState& state = m_targets[Index(target)];
    state.picture = std::move(picture);
    state.installed = false;
}

void SysPictureModel::RemovePicture(int target) { ReplacePicture(target, nullptr); }

ApplyOutcome SysPictureModel::Apply(int target, LogoRequest request, const std::string& title, CQnProgress* progress)
{
    const std::string& path = PathOf(target);
    request.withBar = request.withBar && Index(target) == static_cast<size_t>(SysTarget::Startup);
    const CPicture* current = m_targets[Index(target)].picture.get();
    if (!current) {
        if (Index(target) != static_cast<size_t>(SysTarget::Startup))
            return {RemoveTargetFile(path) ? ApplyResult::Removed : ApplyResult::NotRemoved, path};
        const auto* text = reinterpret_cast<const uint8_t*>(kNoPictureText);
        return {ReplaceFileContents(path, {text, std::strlen(kNoPictureText)}) ? ApplyResult::TextWritten
                                                                               : ApplyResult::NotWritten,
                path};
    }
    CPicture working;
    if (!working.CopyFrom(*current))
        return {ApplyResult::NotWritten, path};
    const std::vector<uint8_t> bytes = ComposeLogoFile(working, request, progress);
    if (bytes.empty())
        return {ApplyResult::Cancelled, path};
    if (!ReplaceFileContents(path, bytes))
        return {ApplyResult::NotWritten, path};
    ReadTarget(target, title, progress);
    return {ApplyResult::PictureWritten, path};
}
