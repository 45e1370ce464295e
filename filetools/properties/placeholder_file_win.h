#pragma once
// A one-byte file made so that the shell can describe a type (it describes only files that
// exist), removed with the object. A file of that name that is already there is asked as it is
// and left alone.
#include <string>

class PlaceholderFile {
public:
    explicit PlaceholderFile(std::string path);
    ~PlaceholderFile();
    PlaceholderFile(const PlaceholderFile&) = delete;
    PlaceholderFile& operator=(const PlaceholderFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};
