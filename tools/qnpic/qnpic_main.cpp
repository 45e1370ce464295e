// qnpic: the picture library from the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/qnpic/qnpic_commands.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

const char kHelp[] =
    "qnpic - read, probe and convert pictures with Quenta's picture library\n"
    "\n"
    "Usage:\n"
    "  qnpic formats\n"
    "      One line per format, in recognition order: short name, description, whether it\n"
    "      is read, the depths it writes (\"no\" for read-only formats), whether it has a\n"
    "      write option.\n"
    "  qnpic info FILE...\n"
    "      One line per file: path, recognised format, width x height, bits per pixel and\n"
    "      the format's own description of the file.\n"
    "  qnpic convert --to SHORT [--depth 0|1|2|4|8|24|32] [--option on|off]\n"
    "                [--quality 1..100] [--overwrite no|yes] [--jobs N] -o OUT IN...\n"
    "      Loads each IN (format found by extension, then by content) and writes it in\n"
    "      format SHORT (see qnpic formats), reduced to --depth bits (0, the default,\n"
    "      keeps each picture's depth). --option sets the format's write option (default\n"
    "      on); --quality sets the JPEG quality.\n"
    "      OUT is a folder, created level by level, receiving NAME.SHORT for each IN; with\n"
    "      a single IN, an OUT that is not an existing folder, does not end in a separator\n"
    "      and has an extension is the destination file itself.\n"
    "      An existing destination is skipped (with a message) unless --overwrite yes.\n"
    "      Each picture is written to a temporary file beside the destination, which\n"
    "      replaces the destination only when the write succeeded.\n"
    "      --jobs N converts in N worker processes (default: one per processor; Windows\n"
    "      builds use one); the messages still come in the order of the INs, and INs that\n"
    "      share a file name run one after another in the same worker.\n"
    "  qnpic --help\n"
    "\n"
    "Exit status: 0 success, 1 when a file could not be opened, recognised, read or\n"
    "written, 2 for a usage error.\n";

} // namespace

int main(int argc, char** argv)
{
#if defined(__GLIBC__)
    // Every picture's large buffers go back to the system when freed. Left to itself, glibc
    // raises this threshold after the first picture and keeps later pictures' buffers in a
    // heap that only grows, so a batch held about 2 MB more than a single picture needs.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fputs(kHelp, stderr);
        return kExitUsage;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return kExitOk;
        }
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return kExitOk;
    }
    if (command == "formats" && args.empty())
        return RunFormats();
    if (command == "info")
        return RunInfo(args);
    if (command == "convert")
        return RunConvert(args);
    std::fprintf(stderr, "qnpic: unknown command or arguments \"%s\"; see qnpic --help\n", command.c_str());
    return kExitUsage;
}
