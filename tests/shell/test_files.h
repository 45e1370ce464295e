#pragma once
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

inline std::string ScratchPath(const std::string& name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/shell/" + name;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline bool FileExists(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}
