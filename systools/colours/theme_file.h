#pragma once
// Desktop theme files ("*.Theme", "*.thm"): sections name registry keys, "name=value" lines
// below them are written there as text values. A key that begins with "CLSID" lives under
// HKEY_CLASSES_ROOT, every other one under HKEY_CURRENT_USER; the name "DefaultValue" stands
// for the key's default value.
//
// Theme files are untrusted text. The reader keeps to what the file plainly names:
// - a line longer than kMaxThemeLine characters is skipped whole (never cut into pieces that
//   would read as lines of their own), and so is a line holding a zero byte;
// - a section header without "]", with an empty or overlong key name part, with control
//   characters or too deep, and a skipped line that begins with "[", leave no current key:
//   the values below them are skipped until the next good header;
// - value lines before the first section, and lines with an empty name, are skipped;
// - "%WinDir%" and "%ThemeDir%" are expanded only where a value begins with them (a path,
//   such as "%WinDir%media\Ding.wav"); other values, such as "0 0 128", stay as written.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry_key.h"
#include "systools/colours/system_colour_table.h"

constexpr size_t kMaxThemeLine = 4095;
constexpr size_t kMaxThemeKeyPart = 255; // the registry's limit for one key name
constexpr size_t kMaxThemeKeyDepth = 64;

struct ThemeFolders {
    std::string windowsFolder; // with its trailing "\"
    std::string themeFolder;   // the theme file's folder, with its trailing "\"
    // Whether a folder exists; without it every folder counts as existing.
    std::function<bool(const std::string& folder)> folderExists;
};

struct ThemeValue {
    RegRoot root = RegRoot::CurrentUser;
    std::vector<std::string> keyPath; // the key's names from the root
    std::string name;                 // "" for the key's default value
    std::string text;
};

struct ThemeReading {
    std::vector<ThemeValue> values; // in file order
    size_t skippedLines = 0;        // lines that were neither blank nor used
};

// The values a theme file's bytes name, with the paths expanded.
ThemeReading ReadThemeValues(std::string_view bytes, const ThemeFolders& folders);

// A value with "%WinDir%" or "%ThemeDir%" at its start expanded; others as they are.
std::string ExpandThemePath(const std::string& value, const ThemeFolders& folders);

// The system colours the values set under "[Control Panel\Colors]" (HKEY_CURRENT_USER), as
// (system colour index, colour), for the names and "R G B" texts that stand for one.
std::vector<std::pair<int, ColourRef>> ThemeSessionColours(const std::vector<ThemeValue>& values);

struct ThemeWriteResult {
    size_t written = 0;
    size_t failed = 0;
};

using RegistryRootOpener = std::function<std::unique_ptr<CRegistryKey>(RegRoot)>;

// Writes every value as a text value, creating its key as needed.
ThemeWriteResult WriteThemeValues(const std::vector<ThemeValue>& values, const RegistryRootOpener& openRoot);
