#include "filetools/properties/placeholder_file_win.h"

#include <windows.h>

#include <utility>

PlaceholderFile::PlaceholderFile(std::string path) : path_(std::move(path))
{
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
    created_ = true;
}

PlaceholderFile::~PlaceholderFile()
{
    if (created_)
        DeleteFileA(path_.c_str());
}
