// Times a batch through the pictures translator's run as its "&Start" does it: the working
// window (bars, lines and the message pumping of every progress check), the translator's
// observer and the shared batch conversion, one picture at a time on this thread.
// Usage (under Wine): translator_batch.exe --to PNG|BMP [--depth N] -o OUT IN...
// Prints "translator: N files in S s" on success; exit status 1 when a file failed.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture/codec_registry.h"
#include "picture/graphics_codec.h"
#include "picturetools/translator/batch_convert.h"
#include "picturetools/translator/throttled_display.h"
#include "picturetools/translator/translator_observer.h"
#include "shell/working_window_win.h"

int main(int argc, char** argv)
{
    ConvertSettings settings;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--to" && i + 1 < argc)
            settings.codec = FindCodec(argv[++i]);
        else if (arg == "--depth" && i + 1 < argc)
            settings.bits = std::atoi(argv[++i]);
        else if (arg == "-o" && i + 1 < argc)
            settings.outputFolder = argv[++i];
        else
            inputs.push_back(arg);
    }
    if (!settings.codec || settings.outputFolder.empty() || inputs.empty()) {
        std::fprintf(stderr, "usage: translator_batch --to SHORT [--depth N] -o OUT IN...\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
    InitCommonControlsEx(&controls);

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CWorkingWindow window;
    if (!window.Open(nullptr)) {
        std::fprintf(stderr, "translator_batch: the working window did not open\n");
        return 1;
    }
    window.SetFilesRange(static_cast<int>(inputs.size()));
    CThrottledDisplay display(window); // as the translator's "&Start" does
    CTranslatorObserver observer(display);
    const BatchSummary summary = RunBatchConvert(inputs, settings, observer);
    window.Close();
    QueryPerformanceCounter(&end);

    size_t written = 0;
    for (const ConvertResult& r : summary.results)
        written += r.status == ConvertStatus::Written;
    std::printf("translator: %zu files in %.3f s\n", written,
                double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return summary.AnyFailed() || written != inputs.size() ? 1 : 0;
}
