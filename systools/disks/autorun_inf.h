#pragma once
// The "autorun.inf" file that gives a drive its icon: the value written for an icon, the file's
// text, and the reading of an existing file so that its other entries survive a new icon.
// An existing file is untrusted text: any bytes are read without fault, and what cannot be
// understood as a line of text is kept as it stands or left out, never interpreted.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An existing file longer than this is not read as an autorun.inf (it is replaced whole).
inline constexpr size_t kMaxAutorunFileSize = 64 * 1024;

// The ICON value for an icon location on drive root `root` ("T:\"): relative to the root when
// the icon file lies on the same drive (same first letter, any case), "Icons\disk.ico,0";
// otherwise the full location.
std::string AutorunIconValue(const std::string& root, const std::string& iconLocation);

// One line of an existing file, as it was (without its line end), with what it means.
struct AutorunLine {
    enum class Kind { Other, Section, Icon };
    Kind kind = Kind::Other;
    std::string text;    // the line's bytes
    std::string section; // the section it belongs to, as written ("" before the first)
};

struct AutorunFile {
    std::vector<AutorunLine> lines;
    // The ICON value of the first [autorun] section's first ICON line, trimmed.
    std::optional<std::string> icon;
};

// Reads the bytes of an existing file. Lines end at CR LF, LF or a lone CR. A section header
// is a line whose first non-blank character is '[' and that holds a ']': its name is what
// lies between them, trimmed (a '[' without ']' is an ordinary line). An ICON line is
// "ICON" (any case, blanks around) followed by '=' inside a section named "autorun" (any case).
// Returns nothing for a file that is not text: larger than kMaxAutorunFileSize or holding a
// NUL byte.
std::optional<AutorunFile> ParseAutorunFile(std::string_view bytes);

// The new file's text, every line ending in CR LF: "[autorun]" and "ICON=<value>" first (after
// any lines of the old file that stood before its first section), then the old file's other
// lines of its [autorun] sections, then its other sections, each as it was. Old ICON lines and
// old [autorun] headers are left out. Without an old file: exactly "[autorun]\r\nICON=<value>\r\n".
std::string ComposeAutorunFile(const AutorunFile* existing, const std::string& iconValue);
