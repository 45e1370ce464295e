#include "tools/qnpic/qnpic_commands.h"

#include <cstdio>
#include <typeinfo>

#include "picture/codec_registry.h"
#include "picture/graphics_codec.h"
#include "picture/graphics_stream.h"
#include "picturetools/translator/batch_convert.h"
#include "picturetools/translator/file_ops.h"
#include "tools/qnpic/qnpic_options.h"
#include "tools/qnpic/qnpic_workers.h"

namespace {

const int kDepths[] = {1, 2, 4, 8, 24, 32};

// Codecs still waiting for their reader are plain base instances: they recognise nothing.
bool CanRead(const CGraphicsCodec& codec) { return typeid(codec) != typeid(CGraphicsCodec) && codec.IsAvailable(); }

std::string WritableDepths(const CGraphicsCodec& codec)
{
    if (!codec.CanWriteDepth(0))
        return "no";
    std::string depths;
    for (int d : kDepths) {
        if (!codec.CanWriteDepth(d))
            continue;
        if (!depths.empty())
            depths += ',';
        depths += std::to_string(d);
    }
    return depths.empty() ? "own depth" : depths;
}

// Prints each file's fate as the run goes.
class ConsoleObserver : public CBatchObserver {
public:
    explicit ConsoleObserver(bool overwrite) : m_overwrite(overwrite) {}
    OverwriteAnswer AskOverwrite(const std::string&) override
    {
        return m_overwrite ? OverwriteAnswer::YesToAll : OverwriteAnswer::No;
    }
    void ItemDone(const ConvertResult& r) override
    {
        if (r.status == ConvertStatus::Written)
            std::printf("%s -> %s\n", r.source.c_str(), r.destination.c_str());
        else if (r.status == ConvertStatus::SkippedExisting)
            std::fprintf(stderr, "%s: skipped, %s exists (use --overwrite yes)\n", r.source.c_str(),
                         r.destination.c_str());
        else
            std::fprintf(stderr, "%s: %s%s%s\n", r.source.c_str(), r.reason.c_str(),
                         r.destination.empty() ? "" : " ", r.destination.c_str());
    }

private:
    bool m_overwrite;
};

bool EndsWithSeparator(const std::string& path) { return !path.empty() && (path.back() == '/' || path.back() == '\\'); }

bool HasExtension(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

} // namespace

int RunFormats()
{
    for (int i = 0; g_pictureCodecs[i]; ++i) {
        const CGraphicsCodec& c = *g_pictureCodecs[i];
        std::printf("%-4s %-44s read: %-3s write: %-14s option: %s\n", c.ShortName().c_str(), c.Description().c_str(),
                    CanRead(c) ? "yes" : "no", WritableDepths(c).c_str(), c.HasWriteOption() ? "yes" : "no");
    }
    return kExitOk;
}

int RunInfo(const std::vector<std::string>& files)
{
    if (files.empty()) {
        std::fprintf(stderr, "qnpic info: no file given\n");
        return kExitUsage;
    }
    int status = kExitOk;
    for (const std::string& path : files) {
        CGraphicsStream stream;
        if (!stream.OpenFile(path, true)) {
            std::fprintf(stderr, "%s: cannot open the file\n", path.c_str());
            status = kExitFileFailed;
            continue;
        }
        int width = 0, height = 0, bits = 0;
        std::string info;
        CGraphicsCodec* codec = RecognisePicture(stream, path, nullptr, nullptr, &width, &height, &bits, &info);
        if (!codec) {
            if (const CGraphicsCodec* bySignature = CodecBySignature(stream))
                std::fprintf(stderr, "%s: damaged or unsupported %s file\n", path.c_str(), bySignature->ShortName().c_str());
            else
                std::fprintf(stderr, "%s: not a recognised picture file\n", path.c_str());
            status = kExitFileFailed;
            continue;
        }
        std::printf("%s: %s %dx%d %d bits %s\n", path.c_str(), codec->ShortName().c_str(), width, height, bits,
                    info.c_str());
    }
    return status;
}

int RunConvert(const std::vector<std::string>& args)
{
    ConvertCommand command;
    std::string error;
    if (!ParseConvertCommand(args, command, error)) {
        std::fprintf(stderr, "qnpic convert: %s\n", error.c_str());
        return kExitUsage;
    }
    CGraphicsCodec* codec = FindCodec(command.to);
    if (!codec) {
        std::fprintf(stderr, "qnpic convert: unknown format %s (see qnpic formats)\n", command.to.c_str());
        return kExitUsage;
    }
    if (!codec->CanWriteDepth(0)) {
        std::fprintf(stderr, "qnpic convert: %s cannot be written (read-only format)\n", codec->ShortName().c_str());
        return kExitUsage;
    }
    if (!codec->CanWriteDepth(command.depth)) {
        std::fprintf(stderr, "qnpic convert: %s cannot write %d-bit pictures (it writes %s)\n",
                     codec->ShortName().c_str(), command.depth, WritableDepths(*codec).c_str());
        return kExitUsage;
    }

    ConvertSettings settings;
    settings.codec = codec;
    settings.bits = command.depth;
    settings.writeOption = command.option;
    settings.quality = command.quality;
    // One input and an OUT that is no folder but names a file: write exactly there.
    if (command.inputs.size() == 1 && !IsFolder(command.output) && !EndsWithSeparator(command.output) &&
        HasExtension(command.output))
        settings.outputFile = command.output;
    else
        settings.outputFolder = command.output;

    ConsoleObserver observer(command.overwrite);
    const int workers = command.jobs > 0 ? command.jobs : DefaultWorkerCount();
    const BatchSummary summary = RunBatchInWorkers(command.inputs, settings, observer, workers);
    return summary.AnyFailed() ? kExitFileFailed : kExitOk;
}
