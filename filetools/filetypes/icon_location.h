#pragma once
// Icon location texts: a file path, a comma and an icon index ("shell32.dll,3",
// "%SystemRoot%\system32\imageres.dll,-3").
#include <string>

struct IconLocation {
    std::string file;
    int index = 0; // negative values name a resource id and pass through to the extraction call
};

// Splits at the last comma that is not the first character; the index is read as with "%d"
// (leading blanks and a sign allowed, digits up to the first other character; no digits
// give 0); without such a comma the whole text is the file and the index is 0.
// "%SystemRoot%" (any case) in the file part becomes `windowsFolder`.
IconLocation ParseIconLocation(const std::string& text, const std::string& windowsFolder);

// "%s,%d" of a file and an index.
std::string FormatIconLocation(const std::string& file, int index);

// Every "%SystemRoot%", in any case, replaced by `windowsFolder`.
std::string ExpandSystemRoot(const std::string& text, const std::string& windowsFolder);
