// The theme file reader: sections and values, the two roots, "DefaultValue", line ends, the
// path expansions, and hostile files (overlong lines, missing "]", zero bytes, empty files),
// checked by what reaches a recording registry.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "systools/colours/theme_file.h"

namespace {
// Every written value as "ROOT\key\path" -> name -> (type, text).
using Written = std::map<std::string, std::map<std::string, std::pair<uint32_t, std::string>>>;

class RecordingKey : public CRegistryKey {
public:
    RecordingKey(Written& written, std::string path, int* opened = nullptr)
        : m_written(written), m_path(std::move(path)), m_opened(opened) {}
    std::unique_ptr<CRegistryKey> OpenSubKey(const std::string& name, bool create) override
    {
        if (!create || name.empty() || name.find('\\') != std::string::npos)
            return nullptr;
        return std::make_unique<RecordingKey>(m_written, m_path + "\\" + name);
    }
    bool QueryValue(const std::string&, uint32_t&, std::vector<uint8_t>&) override { return false; }
    bool SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data) override
    {
        if (data.empty() || data.back() != 0)
            return false;
        m_written[m_path][name] = {type, std::string(data.begin(), data.end() - 1)};
        return true;
    }
    bool DeleteValue(const std::string&) override { return false; }
    bool DeleteSubKey(const std::string&) override { return false; }
    bool EnumValue(uint32_t, std::string&, uint32_t&, std::vector<uint8_t>&) override { return false; }
    bool EnumSubKey(uint32_t, std::string&) override { return false; }

private:
    Written& m_written;
    std::string m_path;
    int* m_opened;
};

ThemeFolders Folders()
{
    ThemeFolders folders;
    folders.windowsFolder = "C:\\WINDOWS\\";
    folders.themeFolder = "D:\\Themes\\";
    folders.folderExists = [](const std::string& folder) { return folder != "D:\\Themes\\Missing"; };
    return folders;
}

Written Apply(const std::string& text, ThemeReading* reading = nullptr)
{
    Written written;
    const ThemeReading read = ReadThemeValues(text, Folders());
    const ThemeWriteResult result = WriteThemeValues(read.values, [&](RegRoot root) -> std::unique_ptr<CRegistryKey> {
        return std::make_unique<RecordingKey>(written, root == RegRoot::ClassesRoot ? "HKCR" : "HKCU");
    });
    EXPECT_EQ(result.failed, 0u);
    EXPECT_EQ(result.written, read.values.size());
    if (reading)
        *reading = read;
    return written;
}

std::string Text(const Written& written, const std::string& key, const std::string& name)
{
    const auto k = written.find(key);
    if (k == written.end())
        return "<no key>";
    const auto v = k->second.find(name);
    if (v == k->second.end())
        return "<no value>";
    EXPECT_EQ(v->second.first, kRegString);
    return v->second.second;
}
} // namespace

TEST(ThemeFile, WritesEachValueAsTextUnderItsSection)
{
    const Written written = Apply("[Control Panel\\Desktop]\nWallpaperStyle=2\nTileWallpaper=0\n"
                                  "[Control Panel\\Colors]\nActiveTitle=0 0 128\n");
    EXPECT_EQ(Text(written, "HKCU\\Control Panel\\Desktop", "WallpaperStyle"), "2");
    EXPECT_EQ(Text(written, "HKCU\\Control Panel\\Desktop", "TileWallpaper"), "0");
    EXPECT_EQ(Text(written, "HKCU\\Control Panel\\Colors", "ActiveTitle"), "0 0 128");
    EXPECT_EQ(written.size(), 2u) << "only the keys the file names";
}

TEST(ThemeFile, ClsidSectionsGoToTheClassesRootAndDefaultValueIsTheKeysDefault)
{
    const Written written = Apply("[CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon]\n"
                                  "DefaultValue=x.dll,3\nfull=y.dll,4\n[clsid\\{1}]\ndefaultvalue=lower\n"
                                  "[Software\\CLSID]\nDefaultValue=user\n");
    EXPECT_EQ(Text(written, "HKCR\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", ""), "x.dll,3");
    EXPECT_EQ(Text(written, "HKCR\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon", "full"), "y.dll,4");
    EXPECT_EQ(Text(written, "HKCR\\clsid\\{1}", ""), "lower");
    EXPECT_EQ(Text(written, "HKCU\\Software\\CLSID", ""), "user");
}

TEST(ThemeFile, LineEndsAreRemovedWhateverTheirKind)
{
    const Written written = Apply("[A]\r\nCrLf=1\r\nLf=2\nLast=3");
    EXPECT_EQ(Text(written, "HKCU\\A", "CrLf"), "1");
    EXPECT_EQ(Text(written, "HKCU\\A", "Lf"), "2");
    EXPECT_EQ(Text(written, "HKCU\\A", "Last"), "3");
    for (const auto& [key, values] : written)
        for (const auto& [name, value] : values)
            EXPECT_EQ(value.second.find('\r'), std::string::npos) << key << " " << name;
}

TEST(ThemeFile, NameIsBeforeTheFirstEqualsAndTheKeyBeforeTheFirstBracket)
{
    const Written written = Apply("[Control Panel\\Desktop] comment ]\nPattern=a=b\n=no name\nno equals\n");
    EXPECT_EQ(Text(written, "HKCU\\Control Panel\\Desktop", "Pattern"), "a=b");
    EXPECT_EQ(written.at("HKCU\\Control Panel\\Desktop").size(), 1u);
}

TEST(ThemeFile, PathsAreExpandedOnlyWhereAValueBeginsWithThem)
{
    ThemeReading reading;
    const Written written = Apply("[Sounds]\n"
                                  "Ding=%WinDir%media\\Ding.wav\n"
                                  "Lower=%windir%Explorer.exe,0\n"
                                  "Picture=%ThemeDir%Sub\\sky.bmp\n"
                                  "Moved=%ThemeDir%Missing\\sea.bmp\n"
                                  "Colour=0 0 128\n"
                                  "Inside=see %WinDir%\n"
                                  "Unknown=%Temp%x\n",
                                  &reading);
    const std::string key = "HKCU\\Sounds";
    EXPECT_EQ(Text(written, key, "Ding"), "C:\\WINDOWS\\media\\Ding.wav");
    EXPECT_EQ(Text(written, key, "Lower"), "C:\\WINDOWS\\Explorer.exe,0");
    EXPECT_EQ(Text(written, key, "Picture"), "D:\\Themes\\Sub\\sky.bmp");
    EXPECT_EQ(Text(written, key, "Moved"), "D:\\Themes\\sea.bmp") << "looked up beside the theme";
    EXPECT_EQ(Text(written, key, "Colour"), "0 0 128");
    EXPECT_EQ(Text(written, key, "Inside"), "see %WinDir%");
    EXPECT_EQ(Text(written, key, "Unknown"), "%Temp%x");
}

TEST(ThemeFile, ValuesBeforeTheFirstSectionAreIgnored)
{
    ThemeReading reading;
    const Written written = Apply("Wallpaper=c:\\evil.bmp\n\n[Control Panel\\Desktop]\nWallpaper=\n", &reading);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(Text(written, "HKCU\\Control Panel\\Desktop", "Wallpaper"), "");
    EXPECT_EQ(reading.skippedLines, 1u);
}

TEST(ThemeFile, MalformedHeadersLeaveTheirValuesUnwritten)
{
    // Each bad header stops the values below it from going into the key before it.
    const Written written = Apply("[Good]\nA=1\n"
                                  "[Control Panel\\Desktop\nB=2\n"  // no "]"
                                  "[]\nC=3\n"                        // no name
                                  "[X\\\\Y]\nD=4\n"                  // an empty part
                                  "[Tab\there]\nE=5\n"               // a control character
                                  "[\\Lead]\nF=6\n"                  // an empty first part
                                  "[" + std::string(256, 'k') + "]\nG=7\n"
                                  "[Trail\\]\nH=8\n");
    EXPECT_EQ(Text(written, "HKCU\\Good", "A"), "1");
    EXPECT_EQ(Text(written, "HKCU\\Trail", "H"), "8") << "the trailing separator is the key's own end";
    EXPECT_EQ(written.size(), 2u);
}

TEST(ThemeFile, OverlongLinesAreSkippedWholeNeverCutIntoLines)
{
    const std::string longest(kMaxThemeLine - 2, 'v');
    const std::string tooLong = "B=" + std::string(kMaxThemeLine, 'w') + "\nInjected=1";
    const Written written = Apply("[K]\nA=" + longest + "\r\n" + tooLong + "\n");
    EXPECT_EQ(Text(written, "HKCU\\K", "A"), longest) << "a line of 4095 characters is read";
    EXPECT_EQ(Text(written, "HKCU\\K", "B"), "<no value>");
    EXPECT_EQ(Text(written, "HKCU\\K", "Injected"), "1") << "the next line is a line of its own";
    EXPECT_EQ(written.at("HKCU\\K").size(), 2u);

    // An overlong header hides nothing into the key before it.
    const Written header = Apply("[K]\nA=1\n[" + std::string(kMaxThemeLine, 'h') + "]\nB=2\n");
    EXPECT_EQ(Text(header, "HKCU\\K", "B"), "<no value>");
}

TEST(ThemeFile, ZeroBytesEmptyFilesAndBinaryNoiseWriteNothingUnnamed)
{
    EXPECT_TRUE(Apply("").empty());
    EXPECT_TRUE(Apply("\n\r\n\r\n").empty());
    EXPECT_TRUE(Apply(std::string("\0\0\0", 3)).empty());
    const Written zero = Apply(std::string("[K]\nA=x\0y\nB=z\n[L\0M]\nC=1\n", 24));
    EXPECT_EQ(Text(zero, "HKCU\\K", "A"), "<no value>") << "a text value cannot hold a zero";
    EXPECT_EQ(Text(zero, "HKCU\\K", "B"), "z");
    EXPECT_EQ(zero.size(), 1u);
    const Written noise = Apply("\xFF\xFE[\x01\x02]\n\x80\x81=\x90\n[K]\n\xE9t\xE9=\xE9\n");
    EXPECT_EQ(Text(noise, "HKCU\\K", "\xE9t\xE9"), "\xE9");
    EXPECT_EQ(noise.size(), 1u);
}

TEST(ThemeFile, ColoursOfTheColorsSectionAreTheSessionsColours)
{
    ThemeReading reading;
    Apply("[Control Panel\\Colors]\nActiveTitle=1 2 3\nInfoWindow=255 255 225\nWallpaper=1 2 3\n"
          "Menu=bad\n[Other]\nMenu=9 9 9\n",
          &reading);
    const auto colours = ThemeSessionColours(reading.values);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0], std::make_pair(2, MakeColour(1, 2, 3)));
    EXPECT_EQ(colours[1], std::make_pair(24, MakeColour(255, 255, 225)));
}

TEST(ThemeFile, AKeyThatCannotBeOpenedCountsAsAFailure)
{
    const ThemeReading reading = ReadThemeValues("[A]\nX=1\n", Folders());
    const ThemeWriteResult result = WriteThemeValues(reading.values, [](RegRoot) { return nullptr; });
    EXPECT_EQ(result.written, 0u);
    EXPECT_EQ(result.failed, 1u);
}
