// Drives the window colours module of the real toolbox: the list with its swatches, the
// preview of a typed colour (300 previews as 255 and applies as 44), the preview undone when
// the selection moves or the module closes, Reset back to the colours found at the start,
// Default, a theme file (its values, a CLSID section, CR LF line ends) and the default theme.
// The session's colours are read by a new process each time (syscolour_probe), and every
// scenario compares registry snapshots taken before and after it. Screenshots in English and
// French are kept in the build folder.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "systools/colours/default_theme.h"
#include "systools/colours/system_colour_table.h"
#include "systools/colours/theme_file.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kColoursModule = 4;
constexpr int kBackgroundRow = 8;  // "Background", system colour 1
constexpr int kActiveTitleRow = 6; // "ActiveTitle", system colour 2
const char kSettingsKey[] = "Software\\Ostrel\\Quenta";
// Where Wine keeps the colours SetSysColors gives the running session (never written by us).
const char kWineSessionColours[] = "HKCU\\Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors";
const char kTestClsid[] = "CLSID\\{5E1C0A2B-7D4F-4C61-9E3A-0B1C2D3E4F50}";
const fs::path kThemeFolder = "C:\\quenta_e2e_colours";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "colours"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }

using Colours = std::map<int, COLORREF>;

// The session's colours 0 to 30 as a new process reads them.
Colours ProbeColours()
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    Colours colours;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return colours;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION info{};
    std::string command = "\"" + std::string(SYSCOLOUR_PROBE) + "\"";
    const bool started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    CloseHandle(write);
    std::string output;
    char buffer[512];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    CloseHandle(read);
    if (!started)
        return colours;
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    std::istringstream lines(output);
    int index = 0;
    std::string hex;
    while (lines >> index >> hex)
        colours[index] = static_cast<COLORREF>(std::stoul(hex, nullptr, 16));
    return colours;
}

// The registry where any scenario of this module could write: the user's whole key and the
// class ids.
// Wine keeps the running session's parameters under a key of its own, where it adds keys as it
// reads parameters; of those only the colours belong to this module.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot snapshot = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "", "HKCU");
    const std::string session = "HKCU\\Software\\Wine\\Temporary System Parameters";
    std::erase_if(snapshot, [&](const auto& entry) {
        return entry.first.rfind(session, 0) == 0 && entry.first != kWineSessionColours;
    });
    for (auto& entry : e2e::SnapshotRegistry(HKEY_CLASSES_ROOT, "CLSID", "HKCR\\CLSID"))
        snapshot.insert(std::move(entry));
    return snapshot;
}

// The values that differ under one key: name -> text after (empty when removed).
std::map<std::string, std::string> ChangedValues(const e2e::RegistrySnapshot& before,
                                                 const e2e::RegistrySnapshot& after, const std::string& key)
{
    std::map<std::string, std::string> changed;
    const auto was = before.find(key), now = after.find(key);
    const e2e::RegistryValues none;
    const e2e::RegistryValues& old = was == before.end() ? none : was->second;
    const e2e::RegistryValues& neu = now == after.end() ? none : now->second;
    for (const auto& [name, value] : neu)
        if (!old.count(name) || old.at(name) != value)
            changed[name] = value;
    for (const auto& [name, value] : old)
        if (!neu.count(name))
            changed[name] = "";
    return changed;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void WriteFileBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Puts back, when it goes, every value a theme names as it was before, and removes the keys the
// theme created: the build's Wine prefix serves other tests, which expect its own look.
class ThemeValuesBackup {
public:
    explicit ThemeValuesBackup(const std::vector<ThemeValue>& values)
    {
        std::set<std::pair<HKEY, std::string>> seen;
        for (const ThemeValue& value : values) {
            HKEY root = value.root == RegRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
            std::string path;
            for (const std::string& part : value.keyPath) {
                path += (path.empty() ? "" : "\\") + part;
                HKEY key = nullptr;
                if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
                    RegCloseKey(key);
                    continue;
                }
                if (seen.insert({root, path}).second)
                    m_newKeys.push_back({root, path});
                break;
            }
            Saved saved{root, path, value.name, 0, {}, false};
            DWORD size = 0;
            if (RegGetValueA(root, path.c_str(), value.name.c_str(), RRF_RT_ANY, &saved.type, nullptr, &size) ==
                ERROR_SUCCESS) {
                saved.data.resize(size);
                saved.existed = RegGetValueA(root, path.c_str(), value.name.c_str(), RRF_RT_ANY, &saved.type,
                                             saved.data.data(), &size) == ERROR_SUCCESS;
                saved.data.resize(size);
            }
            m_saved.push_back(std::move(saved));
        }
    }
    ~ThemeValuesBackup()
    {
        for (auto saved = m_saved.rbegin(); saved != m_saved.rend(); ++saved) {
            if (saved->existed)
                RegSetKeyValueA(saved->root, saved->path.c_str(), saved->name.c_str(), saved->type,
                                saved->data.data(), static_cast<DWORD>(saved->data.size()));
            else
                RegDeleteKeyValueA(saved->root, saved->path.c_str(), saved->name.c_str());
        }
        for (const auto& [root, path] : m_newKeys)
            RegDeleteTreeA(root, path.c_str());
    }
    ThemeValuesBackup(const ThemeValuesBackup&) = delete;
    ThemeValuesBackup& operator=(const ThemeValuesBackup&) = delete;

private:
    struct Saved {
        HKEY root;
        std::string path, name;
        DWORD type = 0;
        std::vector<BYTE> data;
        bool existed = false;
    };
    std::vector<Saved> m_saved;
    std::vector<std::pair<HKEY, std::string>> m_newKeys;
};

class ColoursE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(WorkFolder());
        fs::create_directories(kThemeFolder);
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        std::error_code ignored;
        fs::remove_all(kThemeFolder, ignored);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kTestClsid);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuentaE2e");
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_start = ProbeColours();
        ASSERT_EQ(m_start.size(), 31u) << "the colour probe did not run: " << SYSCOLOUR_PROBE;
        m_list = OpenModuleForm(kColoursModule, IDC_WINCOLORS_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the colours form has no list";
        m_form = GetParent(m_list);
        ASSERT_TRUE(WaitFor([&] { return Rows() == kSystemColourRows; }, 5000)) << Rows();
        Settle();
    }

    void TearDown() override
    {
        // Every test leaves the session's colours as it found them.
        if (m_form && IsWindow(m_form) && IsWindowEnabled(Item(IDC_WINCOLORS_RESET))) {
            SendMessageA(Item(IDC_WINCOLORS_RESET), BM_CLICK, 0, 0);
            Settle();
        }
    }

    void Settle() const { e2e::Settle(Frame()); }
    HWND Item(int id) const { return GetDlgItem(m_form, id); }
    int Rows() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::string> Column(int column) const
    {
        return e2e::ListColumnTexts(Quenta().Process(), m_list, column);
    }

    void SelectRow(int row) const
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, row, remote.Address());
        Settle();
        ASSERT_EQ(TextOf(Item(IDC_WINCOLORS_NAME)), SystemColourTable()[row].keyName);
    }

    void Type(int id, const std::string& text) const
    {
        SendMessageA(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        Settle();
    }

    void Click(int id) const
    {
        SendMessageA(Item(id), BM_CLICK, 0, 0);
        Settle();
    }

    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetWysiwyg(bool on) const
    {
        if (Checked(IDC_WINCOLORS_WYSIWYG) != on)
            Click(IDC_WINCOLORS_WYSIWYG);
        ASSERT_EQ(Checked(IDC_WINCOLORS_WYSIWYG), on);
    }

    // Applies the theme file at `path` through the theme group, as the user would.
    void ApplyTheme(const std::string& path) const
    {
        Type(IDC_WINCOLORS_THEME_FILE, path);
        ASSERT_TRUE(IsWindowEnabled(Item(IDC_WINCOLORS_THEME_APPLY)));
        Click(IDC_WINCOLORS_THEME_APPLY);
        EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_THEME_APPLY)));
    }

    HWND WaitForDialog(const std::function<bool(HWND)>& matches, int timeoutMs = 10000) const
    {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindWindowOfProcess(Quenta().Id(), matches)) != nullptr; }, timeoutMs);
        return dialog;
    }

    // The program's question or message box (its text box holds the message).
    HWND WaitForMessageBox() const
    {
        return WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && IsWindowVisible(w) && GetWindow(w, GW_CHILD); });
    }

    Colours m_start;
    HWND m_list = nullptr, m_form = nullptr;
};
} // namespace

TEST_F(ColoursE2eTest, ListsTheTableWithTheSessionsColours)
{
    const std::vector<std::string> names = Column(0), descriptions = Column(1);
    ASSERT_EQ(names.size(), 26u);
    for (int row = 0; row < kSystemColourRows; ++row)
        EXPECT_EQ(names[row], SystemColourTable()[row].keyName) << row;
    EXPECT_EQ(descriptions[8], "Desktop.");
    EXPECT_EQ(descriptions[9], "Highlight color for buttons (same as COLOR_3DHILIGHT).");
    // Row 0 is selected and its parts shown.
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_NAME)), "ButtonDkShadow");
    const COLORREF shadow = m_start.at(COLOR_3DDKSHADOW);
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_RED)), std::to_string(GetRValue(shadow)));
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_GREEN)), std::to_string(GetGValue(shadow)));
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_BLUE)), std::to_string(GetBValue(shadow)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_APPLY)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_RESET))) << "nothing changed yet";
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_THEME_APPLY)));
    SelectRow(kBackgroundRow);
    EXPECT_TRUE(SaveScreenBmp(Shot("colours_en")));
}

TEST_F(ColoursE2eTest, RedOf300PreviewsAs255AndAppliesAs44)
{
    const e2e::RegistrySnapshot before = Snapshot();
    SelectRow(kBackgroundRow);
    SetWysiwyg(true);
    const COLORREF start = m_start.at(COLOR_BACKGROUND);
    Type(IDC_WINCOLORS_RED, "300");
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_WINCOLORS_APPLY)));
    EXPECT_EQ(ColourText(ProbeColours().at(COLOR_BACKGROUND)),
              ColourText(RGB(255, GetGValue(start), GetBValue(start)))) << "the preview clamps to 255";
    EXPECT_TRUE(SaveScreenBmp(Shot("colours_preview")));

    Click(IDC_WINCOLORS_APPLY);
    const Colours applied = ProbeColours();
    EXPECT_EQ(ColourText(applied.at(COLOR_BACKGROUND)), ColourText(RGB(44, GetGValue(start), GetBValue(start))));
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_RED)), "44") << "the list was refreshed from the system";
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_APPLY)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_WINCOLORS_RESET)));
    for (const auto& [index, colour] : m_start) {
        if (index == COLOR_BACKGROUND)
            continue;
        EXPECT_EQ(ColourText(applied.at(index)), ColourText(colour)) << "colour " << index;
    }

    // The registry differs in the session's colour only (Wine keeps it under its own key).
    const e2e::RegistrySnapshot after = Snapshot();
    const std::set<std::string> changed = e2e::ChangedKeys(before, after);
    for (const std::string& key : changed)
        EXPECT_EQ(key, kWineSessionColours) << e2e::DescribeChanges(before, after);
    const auto values = ChangedValues(before, after, kWineSessionColours);
    for (const auto& [name, value] : values)
        EXPECT_EQ(name, "Background") << value;
}

TEST_F(ColoursE2eTest, PreviewIsUndoneWhenTheSelectionMovesOrTheModuleCloses)
{
    SetWysiwyg(true);
    SelectRow(kActiveTitleRow);
    const COLORREF start = m_start.at(COLOR_ACTIVECAPTION);
    const int green = GetGValue(start) == 200 ? 100 : 200;
    Type(IDC_WINCOLORS_GREEN, std::to_string(green));
    EXPECT_EQ(GetGValue(ProbeColours().at(COLOR_ACTIVECAPTION)), green) << "previewed at once";
    SelectRow(kBackgroundRow);
    EXPECT_EQ(ColourText(ProbeColours().at(COLOR_ACTIVECAPTION)), ColourText(start)) << "undone on selection change";

    // Without WYSIWYG nothing is previewed.
    SetWysiwyg(false);
    Type(IDC_WINCOLORS_BLUE, "7");
    EXPECT_EQ(ColourText(ProbeColours().at(COLOR_BACKGROUND)), ColourText(m_start.at(COLOR_BACKGROUND)));
    // Turning it on previews the pending edit; turning it off takes the preview back.
    SetWysiwyg(true);
    EXPECT_EQ(GetBValue(ProbeColours().at(COLOR_BACKGROUND)), 7);
    SetWysiwyg(false);
    EXPECT_EQ(ColourText(ProbeColours().at(COLOR_BACKGROUND)), ColourText(m_start.at(COLOR_BACKGROUND)));

    // A preview never outlives the module.
    SetWysiwyg(true);
    Type(IDC_WINCOLORS_RED, "1");
    Type(IDC_WINCOLORS_GREEN, "2");
    ASSERT_EQ(ColourText(ProbeColours().at(COLOR_BACKGROUND)), ColourText(RGB(1, 2, 7)));
    SwitchTo(e2e::kBlankModule);
    m_form = nullptr;
    EXPECT_EQ(ColourText(ProbeColours().at(COLOR_BACKGROUND)), ColourText(m_start.at(COLOR_BACKGROUND)));
}

TEST_F(ColoursE2eTest, DefaultThenResetRestoresTheStartColoursExactly)
{
    Click(IDC_WINCOLORS_DEFAULT);
    const Colours defaults = ProbeColours();
    for (const SystemColourRow& row : SystemColourTable())
        EXPECT_EQ(ColourText(defaults.at(row.index)), ColourText(row.defaultColour)) << row.keyName;
    SelectRow(kBackgroundRow);
    Type(IDC_WINCOLORS_BLUE, "99");
    Click(IDC_WINCOLORS_APPLY);
    ASSERT_EQ(GetBValue(ProbeColours().at(COLOR_BACKGROUND)), 99);
    ASSERT_TRUE(IsWindowEnabled(Item(IDC_WINCOLORS_RESET)));
    Click(IDC_WINCOLORS_RESET);
    const Colours reset = ProbeColours();
    for (const auto& [index, colour] : m_start)
        EXPECT_EQ(ColourText(reset.at(index)), ColourText(colour)) << "colour " << index;
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_RESET)));
}

TEST_F(ColoursE2eTest, ThemeFileWritesOnlyTheKeysItNames)
{
    const fs::path theme = kThemeFolder / "test.theme";
    WriteFileBytes(theme, std::string("Orphan=before any section\r\n"
                                      "[Control Panel\\Desktop]\r\n"
                                      "WallpaperStyle=2\r\n"
                                      "[") + kTestClsid + "\\DefaultIcon]\r\n"
                                      "DefaultValue=x.dll,3\r\n"
                                      "[Software\\QuentaE2e\\Sounds]\r\n"
                                      "Ding=%WinDir%media\\Ding.wav\r\n"
                                      "Here=%ThemeDir%sky.bmp\r\n"
                                      "Colour=0 0 128\r\n"
                                      "[Software\\QuentaE2e\\Broken\r\n"
                                      "Lost=1\r\n");
    // A start where every value the theme names is missing or different.
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kTestClsid);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuentaE2e");
    std::ifstream written(theme, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    const ThemeValuesBackup backup(ReadThemeValues(bytes, ThemeFolders{}).values);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle", REG_SZ, "0", 2);
    const e2e::RegistrySnapshot before = Snapshot();
    ApplyTheme(theme.string());
    const e2e::RegistrySnapshot after = Snapshot();

    const std::string clsid = std::string("HKCR\\") + kTestClsid;
    const std::set<std::string> expected = {"HKCU\\Control Panel\\Desktop", "HKCU\\Software\\QuentaE2e",
                                            "HKCU\\Software\\QuentaE2e\\Sounds", clsid, clsid + "\\DefaultIcon"};
    const std::set<std::string> changed = e2e::ChangedKeys(before, after);
    EXPECT_EQ(changed, expected) << e2e::DescribeChanges(before, after);
    const auto desktop = ChangedValues(before, after, "HKCU\\Control Panel\\Desktop");
    EXPECT_EQ(desktop.size(), 1u);
    EXPECT_TRUE(desktop.count("WallpaperStyle"));
    EXPECT_EQ(after.at("HKCU\\Control Panel\\Desktop").at("WallpaperStyle"), "1:2") << "the string 2, no CR";
    EXPECT_EQ(after.at(clsid + "\\DefaultIcon").at(""), "1:x.dll,3");
    const e2e::RegistryValues& sounds = after.at("HKCU\\Software\\QuentaE2e\\Sounds");
    EXPECT_EQ(sounds.size(), 3u);
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(Lower(sounds.at("Ding")), Lower("1:" + std::string(windows) + "\\media\\Ding.wav"));
    EXPECT_EQ(Lower(sounds.at("Here")), Lower("1:" + kThemeFolder.string() + "\\sky.bmp"));
    EXPECT_EQ(sounds.at("Colour"), "1:0 0 128");
    for (const std::string& key : changed)
        for (const auto& [name, value] : after.at(key))
            EXPECT_EQ(value.find('\r'), std::string::npos) << key << " " << name;
}

TEST_F(ColoursE2eTest, AMissingThemeFileIsReportedAndWritesNothing)
{
    const e2e::RegistrySnapshot before = Snapshot();
    const std::string missing = (kThemeFolder / "missing.theme").string();
    Type(IDC_WINCOLORS_THEME_FILE, missing);
    PostMessageA(Item(IDC_WINCOLORS_THEME_APPLY), BM_CLICK, 0, 0);
    HWND message = WaitForMessageBox();
    ASSERT_NE(message, nullptr) << "no message";
    std::string shown;
    for (HWND child = GetWindow(message, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        shown += TextOf(child) + "|";
    EXPECT_NE(shown.find("Cannot find file \"" + missing + "\"..."), std::string::npos) << shown;
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(message); }, 5000));
    Settle();
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_WINCOLORS_THEME_APPLY)));
    EXPECT_TRUE(e2e::ChangedKeys(before, Snapshot()).empty());
}

TEST_F(ColoursE2eTest, DefaultThemeAppliesAndTheColoursReadBackAsItsTable)
{
    const ThemeValuesBackup backup(ReadThemeValues(DefaultThemeFileText(), ThemeFolders{}).values);
    const e2e::RegistrySnapshot before = Snapshot();
    PostMessageA(Item(IDC_WINCOLORS_DEFAULT_THEME), BM_CLICK, 0, 0);
    HWND question = WaitForMessageBox();
    ASSERT_NE(question, nullptr) << "the module did not ask";
    e2e::Settle(question);
    std::string asked;
    for (HWND child = GetWindow(question, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        asked += TextOf(child) + "|";
    EXPECT_NE(asked.find("Do you really want to restore default Windows theme?"), std::string::npos) << asked;
    EXPECT_TRUE(SaveScreenBmp(Shot("colours_default_theme_question")));
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, 5000));
    Settle();

    // The file in the temporary folder: the 105 lines with CR LF.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::ifstream file(fs::path(temp) / kDefaultThemeFileName, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, DefaultThemeFileText());

    // The session's colours are the theme's.
    ThemeFolders folders;
    const ThemeReading reading = ReadThemeValues(DefaultThemeFileText(), folders);
    const auto themeColours = ThemeSessionColours(reading.values);
    ASSERT_EQ(themeColours.size(), 25u);
    const Colours colours = ProbeColours();
    for (const auto& [index, colour] : themeColours)
        EXPECT_EQ(ColourText(colours.at(index)), ColourText(colour)) << "colour " << index;
    // The list shows them too.
    SelectRow(3); // "ButtonLight": 192 192 192 in the theme, 223 223 223 built in
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_RED)), "192");

    // Every key that changed is one the theme names (or a key above it), or the session's
    // colours of Wine; the registry holds the theme's colour texts.
    const e2e::RegistrySnapshot after = Snapshot();
    std::set<std::string> named = {kWineSessionColours};
    for (const ThemeValue& value : reading.values) {
        std::string path = value.root == RegRoot::ClassesRoot ? "HKCR" : "HKCU";
        for (const std::string& part : value.keyPath)
            named.insert(Lower(path += "\\" + part));
    }
    for (const std::string& key : e2e::ChangedKeys(before, after))
        EXPECT_TRUE(named.count(Lower(key)) || key == kWineSessionColours) << key;
    const e2e::RegistryValues& stored = after.at("HKCU\\Control Panel\\Colors");
    EXPECT_EQ(stored.at("ButtonLight"), "1:192 192 192");
    EXPECT_EQ(stored.at("InfoWindow"), "1:255 255 225");
    EXPECT_EQ(after.at("HKCU\\Control Panel\\Desktop").at("WallpaperStyle"), "1:0");
    EXPECT_EQ(after.at("HKCU\\Control Panel\\Cursors").at(""), "1:Windows par d\xE9" "faut");
}

TEST_F(ColoursE2eTest, BrowseChoosesAThemeFileAndRemembersItsFolder)
{
    const fs::path theme = kThemeFolder / "chosen.thm";
    WriteFileBytes(theme, "[Software\\QuentaE2e\\Chosen]\r\nA=1\r\n");
    PostMessageA(Item(IDC_WINCOLORS_THEME_BROWSE), BM_CLICK, 0, 0);
    HWND dialog = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && CaptionOf(w) == "Load"; });
    ASSERT_NE(dialog, nullptr) << "no \"Load\" dialog";
    e2e::Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("colours_browse")));
    // The file name box of the open dialog (a combo box's edit, or an edit).
    HWND name = FindDescendantById(dialog, 0x47C);
    if (!name)
        name = FindDescendantById(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    const std::string path = theme.string();
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 5000));
    Settle();
    EXPECT_EQ(Lower(TextOf(Item(IDC_WINCOLORS_THEME_FILE))), Lower(path));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_WINCOLORS_THEME_APPLY)));
    char folder[MAX_PATH] = {};
    DWORD size = sizeof folder;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, (std::string(kSettingsKey) + "\\WinColors").c_str(), "ThemeDirectory",
                           RRF_RT_REG_SZ, nullptr, folder, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(Lower(folder), Lower(kThemeFolder.string() + "\\"));
}

// The module in French: its own CTest run (colours_e2e_french_test) starts the toolbox in a
// French locale.
class ColoursFrenchE2eTest : public ColoursE2eTest {};

TEST_F(ColoursFrenchE2eTest, ShowsItsTextsInFrench)
{
    EXPECT_EQ(Column(1)[8], "Bureau.");
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_RED_LABEL)), "Rouge :");
    EXPECT_EQ(TextOf(Item(IDC_WINCOLORS_THEME_GROUP)), "Th\xE8me du Bureau");
    SelectRow(kBackgroundRow);
    EXPECT_TRUE(SaveScreenBmp(Shot("colours_fr")));
}
