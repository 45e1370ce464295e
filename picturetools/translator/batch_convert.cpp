#include "picturetools/translator/batch_convert.h"

#include "picture/codec_registry.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picture/picture.h"
#include "picturetools/translator/file_ops.h"
#include "app/paths.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Why a source did not load: missing, unknown, or known but unreadable.
ConvertResult ExplainLoadFailure(const std::string& source)
{
    ConvertResult r;
    r.source = source;
    CGraphicsStream stream;
    if (!stream.OpenFile(source, true)) {
        r.status = ConvertStatus::CannotOpen;
        r.reason = "cannot open the file";
        return r;
    }
    CGraphicsCodec* codec = RecognisePicture(stream, source, nullptr, nullptr);
    if (!codec)
        codec = CodecBySignature(stream); // a signature its codec refuses: damaged or unsupported
    if (codec) {
        r.status = ConvertStatus::LoadFailed;
        r.reason = "damaged or unsupported " + codec->ShortName() + " file";
    } else {
        r.status = ConvertStatus::NotRecognised;
        r.reason = "not a recognised picture file";
    }
    return r;
}

// A free name beside the destination, whose companion files (the codec's) are free too.
std::string TemporaryNameFor(const std::string& destination, const CGraphicsCodec& codec)
{
    const std::string folder = PathFolderPart(destination);
    for (unsigned n = 0;; ++n) {
        std::string name = folder + "~qn" + std::to_string(n) + "_" + PathNamePart(destination) + ".tmp";
        bool free = !PathExists(name);
        for (const std::string& companion : codec.CompanionFiles(name))
            free = free && !PathExists(companion);
        if (free)
            return name;
    }
}

} // namespace

bool BatchSummary::AnyFailed() const
{
    for (const ConvertResult& r : results)
        if (r.status != ConvertStatus::Written && r.status != ConvertStatus::SkippedExisting)
            return true;
    return false;
}

bool CBatchObserver::BeginItem(size_t, size_t, const std::string&) { return true; }
OverwriteAnswer CBatchObserver::AskOverwrite(const std::string&) { return OverwriteAnswer::No; }
bool CBatchObserver::BeginSave(const std::string&) { return true; }
void CBatchObserver::ItemDone(const ConvertResult&) {}
CQnProgress* CBatchObserver::FileProgress() { return nullptr; }

const char* StatusText(ConvertStatus status)
{
    switch (status) {
    case ConvertStatus::Written: return "written";
    case ConvertStatus::SkippedExisting: return "skipped";
    case ConvertStatus::CannotOpen: return "cannot open";
    case ConvertStatus::NotRecognised: return "not recognised";
    case ConvertStatus::LoadFailed: return "damaged";
    case ConvertStatus::WriteFailed: return "cannot write";
    }
    return "";
}

std::string DestinationPath(const std::string& folder, const std::string& source, const CGraphicsCodec& codec)
{
    std::string name = PathNamePart(source);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    std::string path = folder;
    if (!path.empty() && !IsSeparator(path.back()))
        path += kPathSeparator;
    return path + name + "." + codec.ShortName();
}

bool CreateFolderLevels(const std::string& folder, std::string* failedLevel)
{
    // Levels that cannot be created: the root, a drive ("C:") and the server and share of a
    // network path ("\\server\share").
    size_t skipUntil = 0;
    if (folder.size() > 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        size_t seps = 0;
        for (skipUntil = 2; skipUntil < folder.size() && seps < 2; ++skipUntil)
            if (IsSeparator(folder[skipUntil]))
                ++seps;
    }
    for (size_t i = 1; i <= folder.size(); ++i) {
        if (i < folder.size() && !IsSeparator(folder[i]))
            continue;
        const std::string level = folder.substr(0, i);
        if (i < skipUntil || IsSeparator(level.back()) || level.back() == ':')
            continue;
        if (!IsFolder(level) && !CreateFolder(level)) {
            if (failedLevel)
                *failedLevel = level;
            return false;
        }
    }
    return true;
}

bool WritePictureReplacing(CGraphicsCodec& codec, const std::string& destination, CPicture& picture, int bits,
                           bool option, CQnProgress* progress)
{
    const std::string temporary = TemporaryNameFor(destination, codec);
    // Companion files (the CUT palette) are written beside the temporary file under its name
    // and travel with it to the destination's name.
    const std::vector<std::string> writtenCompanions = codec.CompanionFiles(temporary);
    const std::vector<std::string> companions = codec.CompanionFiles(destination);
    auto discard = [&] {
        RemoveFile(temporary);
        for (const std::string& companion : writtenCompanions)
            RemoveFile(companion);
        return false;
    };
    if (!codec.WriteFile(temporary, &picture, bits, option, progress))
        return discard();
    // The companions go first, so that the new picture never stands beside an old palette.
    for (size_t i = 0; i < writtenCompanions.size() && i < companions.size(); ++i)
        if (!MoveFileOver(writtenCompanions[i], companions[i]))
            return discard();
    if (!MoveFileOver(temporary, destination))
        return discard();
    return true;
}

BatchSummary RunBatchConvert(const std::vector<std::string>& sources, const ConvertSettings& settings,
                             CBatchObserver& observer)
{
    BatchSummary summary;
    const std::string folder = settings.outputFile.empty() ? settings.outputFolder : PathFolderPart(settings.outputFile);
    std::string failedLevel;
    const bool folderReady = folder.empty() || CreateFolderLevels(folder, &failedLevel);
    bool overwriteAll = false;

    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string& source = sources[i];
        if (!observer.BeginItem(i, sources.size(), source)) {
            summary.cancelled = true;
            break;
        }
        ConvertResult result;
        result.source = source;
        auto finish = [&](ConvertResult r) {
            observer.ItemDone(r);
            summary.results.push_back(std::move(r));
        };

        CPicture picture;
        if (!LoadPicture(source, &picture, observer.FileProgress())) {
            finish(ExplainLoadFailure(source));
            continue;
        }
        result.destination = settings.outputFile.empty() ? DestinationPath(folder, source, *settings.codec)
                                                         : settings.outputFile;
        if (!folderReady) {
            result.status = ConvertStatus::WriteFailed;
            result.reason = "cannot create the folder " + failedLevel;
            finish(result);
            continue;
        }
        if (PathExists(result.destination) && !overwriteAll) {
            const OverwriteAnswer answer = observer.AskOverwrite(result.destination);
            if (answer == OverwriteAnswer::No) {
                result.status = ConvertStatus::SkippedExisting;
                result.reason = "the destination already exists";
                finish(result);
                continue;
            }
            overwriteAll = answer == OverwriteAnswer::YesToAll;
        }
        if (!observer.BeginSave(result.destination)) {
            summary.cancelled = true;
            break;
        }
        if (settings.quality >= 0)
            settings.codec->SetQuality(settings.quality);
        if (!WritePictureReplacing(*settings.codec, result.destination, picture, settings.bits,
                                   settings.writeOption, observer.FileProgress())) {
            result.status = ConvertStatus::WriteFailed;
            result.reason = "cannot write the file";
        }
        finish(result);
    }
    return summary;
}
