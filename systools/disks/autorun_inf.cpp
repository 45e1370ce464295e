#include "systools/disks/autorun_inf.h"

#include <algorithm>

namespace {
constexpr char kAutorunSection[] = "autorun";
constexpr char kIconKey[] = "icon";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The section name of a header line, or nothing for another line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trimmed(text.substr(1, close - 1));
}

// The value of an ICON line, or nothing for another line.
std::optional<std::string_view> IconValue(std::string_view line)
{
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || !EqualNoCase(Trimmed(line.substr(0, equals)), kIconKey))
        return std::nullopt;
    return Trimmed(line.substr(equals + 1));
}
} // namespace

std::string AutorunIconValue(const std::string& root, const std::string& iconLocation)
{
    const bool sameDrive = root.size() >= 2 && root[1] == ':' && iconLocation.size() >= 3 && iconLocation[1] == ':' &&
                           (iconLocation[2] == '\\' || iconLocation[2] == '/') &&
                           UpperLetter(root[0]) == UpperLetter(iconLocation[0]);
    return sameDrive ? iconLocation.substr(3) : iconLocation;
}

std::optional<AutorunFile> ParseAutorunFile(std::string_view bytes)
{
    if (bytes.size() > kMaxAutorunFileSize || bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    AutorunFile file;
    std::string section;
    bool inAutorun = false;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        start = end;
        if (start < bytes.size() && bytes[start] == '\r')
            ++start;
        if (start < bytes.size() && bytes[start] == '\n' && (start == end || bytes[start - 1] == '\r'))
            ++start;

        AutorunLine entry;
        entry.text = std::string(line);
        if (const auto name = SectionName(line)) {
            section = std::string(*name);
            inAutorun = EqualNoCase(*name, kAutorunSection);
            entry.kind = AutorunLine::Kind::Section;
        } else if (const auto value = inAutorun ? IconValue(line) : std::nullopt) {
            entry.kind = AutorunLine::Kind::Icon;
            if (!file.icon)
                file.icon = std::string(*value);
        }
        entry.section = section;
        file.lines.push_back(std::move(entry));
    }
    return file;
}

std::string ComposeAutorunFile(const AutorunFile* existing, const std::string& iconValue)
{
    std::string prologue, autorunLines, otherSections;
    if (existing) {
        bool beforeFirstSection = true;
        bool inAutorun = false;
        for (const AutorunLine& line : existing->lines) {
            if (line.kind == AutorunLine::Kind::Section) {
                beforeFirstSection = false;
                inAutorun = EqualNoCase(line.section, kAutorunSection);
                if (!inAutorun)
                    otherSections += line.text + "\r\n";
                continue;
            }
            if (line.kind == AutorunLine::Kind::Icon)
                continue;
            std::string& target = beforeFirstSection ? prologue : inAutorun ? autorunLines : otherSections;
            target += line.text + "\r\n";
        }
    }
    return prologue + "[autorun]\r\nICON=" + iconValue + "\r\n" + autorunLines + otherSections;
}
