// The default theme: its 105 lines, the file text with CR LF, and what reading it gives
// (sections, colours, expanded paths, the two metrics records).
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "systools/colours/default_theme.h"
#include "systools/colours/theme_file.h"

namespace {
ThemeReading ReadDefault()
{
    ThemeFolders folders;
    folders.windowsFolder = "C:\\windows\\";
    folders.themeFolder = "C:\\temp\\";
    return ReadThemeValues(DefaultThemeFileText(), folders);
}

const ThemeValue* Find(const ThemeReading& reading, const std::string& key, const std::string& name)
{
    for (const ThemeValue& value : reading.values) {
        std::string path;
        for (const std::string& part : value.keyPath)
            path += (path.empty() ? "" : "\\") + part;
        if (path == key && value.name == name)
            return &value;
    }
    return nullptr;
}

std::vector<uint8_t> Bytes(const std::string& list)
{
    std::vector<uint8_t> bytes;
    std::istringstream in(list);
    for (int byte; in >> byte;) {
        EXPECT_GE(byte, 0);
        EXPECT_LE(byte, 255);
        bytes.push_back(static_cast<uint8_t>(byte));
    }
    return bytes;
}

int32_t Int(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes.at(at + i);
    return static_cast<int32_t>(value);
}

std::string Face(const std::vector<uint8_t>& bytes, size_t logFont)
{
    return std::string(reinterpret_cast<const char*>(bytes.data() + logFont + 28));
}
} // namespace

TEST(DefaultTheme, Has105LinesWrittenWithCrLf)
{
    const std::string text = DefaultThemeFileText();
    size_t lines = 0, at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        ASSERT_GT(end, at);
        EXPECT_EQ(text[end - 1], '\r') << "line " << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 105u);
    EXPECT_EQ(at, text.size()) << "the last line ends too";
    EXPECT_STREQ(DefaultTheme()[0], "[CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\DefaultIcon]");
    EXPECT_STREQ(DefaultTheme()[104], "ThemeColorBPP=4");
}

TEST(DefaultTheme, ReadsIntoItsKeysWithEveryLineUsed)
{
    const ThemeReading reading = ReadDefault();
    EXPECT_EQ(reading.skippedLines, 0u);
    const ThemeValue* recycle = Find(reading, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "full");
    ASSERT_TRUE(recycle);
    EXPECT_EQ(recycle->root, RegRoot::ClassesRoot);
    EXPECT_EQ(recycle->text, "C:\\windows\\SYSTEM\\shell32.dll,32");
    const ThemeValue* start = Find(reading, "AppEvents\\Schemes\\Apps\\.Default\\SystemStart\\.Current", "");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->text, "C:\\windows\\media\\The Microsoft Sound.wav");
    const ThemeValue* cursors = Find(reading, "Control Panel\\Cursors", "");
    ASSERT_TRUE(cursors);
    EXPECT_EQ(cursors->text, "Windows par d\xE9" "faut");
    EXPECT_EQ(Find(reading, "Control Panel\\Desktop", "WallpaperStyle")->text, "0");
    EXPECT_EQ(Find(reading, "Control Panel\\Colors", "ActiveTitle")->text, "0 0 128");
    EXPECT_FALSE(Find(reading, "Control Panel\\Desktop\\WindowMetrics", "")) << "an empty section writes nothing";
    EXPECT_EQ(ThemeSessionColours(reading.values).size(), 25u) << "every colour line names a system colour";
}

TEST(DefaultTheme, MetricsAreTheSystemsRecordsWithMsSansSerif)
{
    const ThemeReading reading = ReadDefault();
    const std::vector<uint8_t> icon = Bytes(Find(reading, "Metrics", "IconMetrics")->text);
    ASSERT_EQ(icon.size(), 76u);
    EXPECT_EQ(Int(icon, 0), 76);
    EXPECT_EQ(Face(icon, 16), "MS Sans Serif");
    EXPECT_EQ(Int(icon, 16), -11);

    const std::vector<uint8_t> frame = Bytes(Find(reading, "Metrics", "NonclientMetrics")->text);
    ASSERT_EQ(frame.size(), 340u);
    EXPECT_EQ(Int(frame, 0), 340);
    for (size_t logFont : {24u, 92u, 160u, 220u, 280u})
        EXPECT_EQ(Face(frame, logFont), "MS Sans Serif") << logFont;
    EXPECT_EQ(Int(frame, 24 + 16), 700) << "captions are bold";
    EXPECT_EQ(Int(frame, 160 + 16), 400);
}
