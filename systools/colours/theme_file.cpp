#include "systools/colours/theme_file.h"

#include <cctype>
#include <optional>

namespace {
constexpr std::string_view kWinDir = "%WinDir%";
constexpr std::string_view kThemeDir = "%ThemeDir%";
constexpr std::string_view kDefaultValue = "DefaultValue";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool SameNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

struct Section {
    RegRoot root;
    std::vector<std::string> keyPath;
};

// The key a header line names, or nothing when the header is not one the reader trusts.
std::optional<Section> ParseHeader(std::string_view line)
{
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = line.substr(1, close - 1);
    Section section{StartsWithNoCase(key, "CLSID") ? RegRoot::ClassesRoot : RegRoot::CurrentUser, {}};
    // The key is the name with "\" appended: one trailing "\" of the name itself is that end.
    std::string_view rest = key;
    if (!rest.empty() && rest.back() == '\\')
        rest.remove_suffix(1);
    if (rest.empty())
        return std::nullopt;
    size_t start = 0;
    while (true) {
        const size_t slash = rest.find('\\', start);
        const std::string_view part = rest.substr(start, slash == std::string_view::npos ? rest.npos : slash - start);
        if (part.empty() || part.size() > kMaxThemeKeyPart || section.keyPath.size() >= kMaxThemeKeyDepth)
            return std::nullopt;
        for (char c : part)
            if (IsControl(c))
                return std::nullopt;
        section.keyPath.emplace_back(part);
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    return section;
}

bool IsBlankLine(std::string_view line)
{
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}
} // namespace

std::string ExpandThemePath(const std::string& value, const ThemeFolders& folders)
{
    if (StartsWithNoCase(value, kWinDir))
        return folders.windowsFolder + value.substr(kWinDir.size());
    if (!StartsWithNoCase(value, kThemeDir))
        return value;
    const std::string expanded = folders.themeFolder + value.substr(kThemeDir.size());
    const size_t slash = expanded.find_last_of('\\');
    if (slash == std::string::npos || !folders.folderExists || folders.folderExists(expanded.substr(0, slash)))
        return expanded;
    // The theme came without its folders: its files are looked up beside it.
    return folders.themeFolder + expanded.substr(slash + 1);
}

ThemeReading ReadThemeValues(std::string_view bytes, const ThemeFolders& folders)
{
    ThemeReading reading;
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        bytes.remove_prefix(kUtf8Mark.size());
    std::optional<Section> current;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsBlankLine(line))
            continue;
        const bool header = line.front() == '[';
        if (line.size() > kMaxThemeLine || line.find('\0') != std::string_view::npos) {
            ++reading.skippedLines;
            if (header)
                current.reset();
            continue;
        }
        if (header) {
            current = ParseHeader(line);
            if (!current)
                ++reading.skippedLines;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0 || !current) {
            ++reading.skippedLines;
            continue;
        }
        ThemeValue value;
        value.root = current->root;
        value.keyPath = current->keyPath;
        const std::string_view name = line.substr(0, equals);
        if (!SameNoCase(name, kDefaultValue))
            value.name = name;
        value.text = ExpandThemePath(std::string(line.substr(equals + 1)), folders);
        reading.values.push_back(std::move(value));
    }
    return reading;
}

std::vector<std::pair<int, ColourRef>> ThemeSessionColours(const std::vector<ThemeValue>& values)
{
    std::vector<std::pair<int, ColourRef>> colours;
    for (const ThemeValue& value : values) {
        if (value.root != RegRoot::CurrentUser || value.keyPath.size() != 2 ||
            !SameNoCase(value.keyPath[0], "Control Panel") || !SameNoCase(value.keyPath[1], "Colors"))
            continue;
        const std::optional<int> index = SystemColourIndexOfKey(value.name);
        const std::optional<ColourRef> colour = ParseThemeColour(value.text);
        if (index && colour)
            colours.emplace_back(*index, *colour);
    }
    return colours;
}

ThemeWriteResult WriteThemeValues(const std::vector<ThemeValue>& values, const RegistryRootOpener& openRoot)
{
    ThemeWriteResult result;
    for (const ThemeValue& value : values) {
        std::unique_ptr<CRegistryKey> key = openRoot(value.root);
        for (const std::string& part : value.keyPath) {
            if (!key)
                break;
            key = key->OpenSubKey(part, true);
        }
        std::vector<uint8_t> data(value.text.begin(), value.text.end());
        data.push_back(0);
        if (key && key->SetValue(value.name, kRegString, data))
            ++result.written;
        else
            ++result.failed;
    }
    return result;
}
