#include <filesystem>
#include <system_error>

#include "picturetools/syspicture/target_file.h"

bool PutFileInPlace(const std::string& from, const std::string& to)
{
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

bool DeleteFileForce(const std::string& path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
    return !error && !std::filesystem::exists(path, error);
}
