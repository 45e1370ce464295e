#include "filetools/finder/search_drives.h"

bool IsSearchedDrive(DriveKind kind)
{
    return kind == DriveKind::Fixed || kind == DriveKind::RamDisk || kind == DriveKind::NoRoot;
}

std::vector<char> SearchedDriveLetters(const std::vector<LogicalDrive>& drives)
{
    std::vector<char> letters;
    for (const LogicalDrive& drive : drives)
        if (IsSearchedDrive(drive.kind))
            letters.push_back(drive.letter);
    return letters;
}

std::string DriveRoot(char letter) { return std::string(1, letter) + ":\\"; }

std::string AllDisksEntryText(const std::string& allDisks, const std::vector<char>& letters)
{
    std::string text = allDisks + " ( ";
    for (size_t i = 0; i < letters.size(); ++i) {
        text += letters[i];
        if (i + 1 < letters.size())
            text += ',';
    }
    return text + " )";
}

char DriveLetterOf(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char c = path[0];
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

bool IsOnDrive(const std::string& path, char letter) { return letter != 0 && DriveLetterOf(path) == letter; }
