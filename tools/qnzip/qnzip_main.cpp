// qnzip: the archive reader from the command line.
//   qnzip list ARCHIVE                          one line per entry: size, packed, ratio, path
//   qnzip test ARCHIVE [--password P]           reads every entry, checking sizes and CRC
//   qnzip extract ARCHIVE FOLDER [--password P] writes every entry below FOLDER
// Exit code 0 on success, 1 when the archive or any entry fails, 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "setup/resource_archive.h"

namespace {
int Usage()
{
    std::fprintf(stderr,
                 "usage: qnzip list ARCHIVE\n"
                 "       qnzip test ARCHIVE [--password P]\n"
                 "       qnzip extract ARCHIVE FOLDER [--password P]\n");
    return 2;
}

const char* StatusWord(int status) { return status == kArchiveOk ? "ok" : "FAILED"; }

int List(ResourceArchive& archive)
{
    for (const ArchiveEntry& entry : archive.Entries())
        std::printf("%12s %12s %5s  %s%s\n", entry.sizeText.c_str(), entry.packedText.c_str(),
                    entry.ratioText.c_str(), entry.path.c_str(), entry.encrypted ? "  (encrypted)" : "");
    std::printf("%llu files, %s bytes, %s packed\n", static_cast<unsigned long long>(archive.Totals().files),
                archive.Summary().totalSize.c_str(), archive.Summary().packedSize.c_str());
    return 0;
}

int Test(ResourceArchive& archive)
{
    int failures = 0;
    for (size_t i = 0; i < archive.Entries().size(); ++i) {
        const ArchiveEntry& entry = archive.Entries()[i];
        if (!entry.isFile)
            continue;
        const bool ok = archive.ReadEntry(static_cast<int>(i)).has_value();
        failures += !ok;
        std::printf("%s: %s%s%s\n", entry.path.c_str(), ok ? "ok" : "FAILED",
                    ok ? "" : " - ", ok ? "" : archive.LastError().c_str());
    }
    return failures ? 1 : 0;
}

int Extract(ResourceArchive& archive, const std::string& folder)
{
    int failures = 0;
    for (size_t i = 0; i < archive.Entries().size(); ++i) {
        const ArchiveEntry& entry = archive.Entries()[i];
        if (!entry.isFile)
            continue;
        const int status = archive.ExtractEntry(static_cast<int>(i), folder, true);
        failures += status != kArchiveOk;
        std::printf("%s: %s%s%s\n", entry.path.c_str(), StatusWord(status), status == kArchiveOk ? "" : " - ",
                    status == kArchiveOk ? "" : archive.LastError().c_str());
    }
    return failures ? 1 : 0;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string password;
    for (size_t i = 0; i < args.size();) {
        if (args[i] == "--password") {
            if (i + 1 >= args.size())
                return Usage();
            password = args[i + 1];
            args.erase(args.begin() + i, args.begin() + i + 2);
        } else {
            ++i;
        }
    }
    if (args.size() < 2)
        return Usage();
    const std::string& command = args[0];
    const bool wantsFolder = command == "extract";
    if ((command != "list" && command != "test" && !wantsFolder) || args.size() != (wantsFolder ? 3u : 2u))
        return Usage();

    ResourceArchive archive;
    archive.SetPassword(password);
    const int status = archive.Open(args[1], true);
    if (status != kArchiveOk) {
        std::fprintf(stderr, "qnzip: %s\n", archive.LastError().empty() ? args[1].c_str() : archive.LastError().c_str());
        return 1;
    }
    if (command == "list")
        return List(archive);
    if (command == "test")
        return Test(archive);
    return Extract(archive, args[2]);
}
