#include "picturetools/syspicture/target_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {
// Beside the target, on the same volume, so that taking its place is a rename.
std::string SiblingPath(const std::string& path) { return path + ".qn-new"; }
} // namespace

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> bytes)
{
    const std::string sibling = SiblingPath(path);
    bool written = false;
    {
        std::ofstream out(sibling, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
            written = !out.fail();
        }
    }
    if (written && PutFileInPlace(sibling, path))
        return true;
    std::remove(sibling.c_str());
    return false;
}

bool RemoveTargetFile(const std::string& path) { return DeleteFileForce(path); }

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
