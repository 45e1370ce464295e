// Drives the tool launcher of the real toolbox in the test prefix: install records of our own
// under "Software\Ostrel\Software\" (a program recorded twice, the product's own record, a
// record whose program is missing), the prefix's Windows folder for the built-in and system
// tools. Checks each list, that a double click starts the program in its folder, that the
// tip over a row names its path, and that nothing in the registry changed; screenshots in
// English and French are kept in the build folder.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kToolsModule = 5;
constexpr int kAllTab = 0, kMakerTab = 1, kCustomTab = 2, kSystemTab = 3;
const char kMakerKey[] = "Software\\Ostrel\\Software";
const char kSettingsKey[] = "Software\\Ostrel\\Quenta";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "tools"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
const fs::path kDriveFolder = "C:\\quenta_e2e_tools";
fs::path MarkerFolder() { return kDriveFolder / "Marker Tool"; }
fs::path MarkerProgram() { return MarkerFolder() / "marker.exe"; }
fs::path MarkerFile() { return MarkerFolder() / "started.txt"; }

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

void SetText(const char* key, const char* name, const std::string& text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// What the registry holds that the launcher could change: the maker's records, the product's
// settings, the classes and the machine's software keys.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot all = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software\\Ostrel", "HKCU\\Software\\Ostrel");
    for (const auto& part : e2e::SnapshotRegistry(HKEY_CLASSES_ROOT, "", "HKCR"))
        all.insert(part);
    for (const auto& part : e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                                                  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"))
        all.insert(part);
    return all;
}

class ToolsSuiteBase : public QuentaSuite {
protected:
    // Our records and program; `language` 1 English, 2 French.
    static void Prepare(int language)
    {
        fs::create_directories(WorkFolder());
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
        fs::create_directories(MarkerFolder());
        fs::copy_file(fs::path(QUENTA_BINARY_DIR) / "bin" / "tools_e2e_marker.exe", MarkerProgram(),
                      fs::copy_options::overwrite_existing, ignored);
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        SetText(kMakerKey, "Marker Tool", MarkerProgram().string());
        SetText(kMakerKey, "Marker Again", MarkerProgram().string()); // the same program twice
        SetText(kMakerKey, "Quenta", e2e::QuentaExe());                // the product's own record
        SetText(kMakerKey, "Vanished", (kDriveFolder / "vanished.exe").string());
        SetText(kSettingsKey, "Language", std::to_string(language));
        QuentaSuite::SetUpTestSuite();
    }
    static void Finish()
    {
        QuentaSuite::TearDownTestSuite();
        RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Language");
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
    }

    void OpenTools()
    {
        m_list = OpenModuleForm(kToolsModule, IDC_TOOLS_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the launcher's list did not appear";
        m_tabs = FindDescendantById(CurrentView(), IDC_TOOLS_TABS);
        ASSERT_NE(m_tabs, nullptr);
        e2e::Settle(Frame());
    }

    void ShowTab(int tab)
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000)) << "tab " << tab;
        e2e::Settle(Frame());
    }

    std::vector<std::string> Column(int column) { return e2e::ListColumnTexts(Quenta().Process(), m_list, column); }

    int RowNamed(const std::string& name)
    {
        const std::vector<std::string> names = Column(0);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    HWND m_list = nullptr;
    HWND m_tabs = nullptr;
};

class ToolsE2eTest : public ToolsSuiteBase {
protected:
    static void SetUpTestSuite() { Prepare(1); }
    static void TearDownTestSuite() { Finish(); }
};

class ToolsFrenchE2eTest : public ToolsSuiteBase {
protected:
    static void SetUpTestSuite() { Prepare(2); }
    static void TearDownTestSuite() { Finish(); }
};
} // namespace

TEST_F(ToolsE2eTest, ListsEachProgramOnceAndNeverTheProductOrMissingOnes)
{
    ASSERT_FALSE(fs::exists(fs::path(WindowsFolder()) / "winfile.exe")) << "the prefix has the built-in tool we expect missing";
    const e2e::RegistrySnapshot before = Snapshot();
    OpenTools();
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0), kCustomTab) << "Custom Tools is shown first";
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_custom_en")));

    // Custom Tools: the built-in tools the prefix has (Notepad, Regedit, Explorer), not the others.
    const std::vector<std::string> custom = Column(0);
    EXPECT_NE(std::find(custom.begin(), custom.end(), "Notepad"), custom.end());
    EXPECT_NE(std::find(custom.begin(), custom.end(), "Regedit"), custom.end());
    EXPECT_EQ(std::find(custom.begin(), custom.end(), "Files Manager"), custom.end());
    EXPECT_EQ(std::find(custom.begin(), custom.end(), "Paint Brush"), custom.end());
    EXPECT_TRUE(std::is_sorted(custom.begin(), custom.end(),
                               [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); }));

    ShowTab(kMakerTab);
    std::vector<std::string> maker = Column(0);
    std::sort(maker.begin(), maker.end());
    EXPECT_EQ(maker, (std::vector<std::string>{"Marker Again", "Marker Tool"}));

    ShowTab(kSystemTab);
    const std::vector<std::string> system = Column(0);
    EXPECT_NE(std::find(system.begin(), system.end(), "notepad"), system.end());

    ShowTab(kAllTab);
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_all_en")));
    const std::vector<std::string> paths = Column(1);
    std::set<std::string> once;
    for (const std::string& path : paths) {
        EXPECT_TRUE(once.insert(Lower(path)).second) << path << " is listed twice under All Tools";
        EXPECT_NE(Lower(path), Lower(e2e::QuentaExe())) << "the product's own record is listed";
    }
    EXPECT_EQ(once.count(Lower(WindowsFolder() + "\\notepad.exe")), 1u) << "notepad is both built in and in the folder";
    EXPECT_EQ(once.count(Lower(MarkerProgram().string())), 1u);
    EXPECT_EQ(once.count(Lower((kDriveFolder / "vanished.exe").string())), 0u);
    for (const std::string& name : Column(0))
        EXPECT_NE(Lower(name), "quenta");

    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(ToolsE2eTest, DoubleClickStartsTheProgramInItsFolder)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    std::error_code ignored;
    fs::remove(MarkerFile(), ignored);
    const e2e::RegistrySnapshot before = Snapshot();
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    e2e::ClickAt(m_list, rect, true);
    ASSERT_TRUE(WaitFor([] { return fs::exists(MarkerFile()) && fs::file_size(MarkerFile()) > 0; }, 15000))
        << "the program did not start";
    std::ifstream marker(MarkerFile());
    std::string folder((std::istreambuf_iterator<char>(marker)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Lower(fs::path(folder).lexically_normal().string() + "\\"),
              Lower(MarkerFolder().string() + "\\")) << "started in " << folder;
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(ToolsE2eTest, TipOverARowNamesItsPath)
{
    OpenTools();
    ShowTab(kMakerTab);
    const int row = RowNamed("Marker Tool");
    ASSERT_GE(row, 0);
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    POINT at{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(m_list, &at);
    SetForegroundWindow(Frame());
    SetCursorPos(at.x, at.y);
    HWND tip = nullptr;
    EXPECT_TRUE(WaitFor(
        [&] {
            tip = FindWindowOfProcess(Quenta().Id(), [](HWND window) {
                return lstrcmpiA(ClassOf(window).c_str(), TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window) &&
                       !CaptionOf(window).empty();
            });
            return tip != nullptr;
        },
        5000));
    if (tip)
        EXPECT_EQ(CaptionOf(tip), MarkerProgram().string());
    SetCursorPos(0, 0);
}

TEST_F(ToolsFrenchE2eTest, ShowsTheTabsInFrench)
{
    OpenTools();
    char text[64] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    RemoteBuffer remote(Quenta().Process(), sizeof item + sizeof text);
    item.pszText = reinterpret_cast<char*>(remote.Address() + sizeof item);
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(remote.Write(&item, sizeof item));
    ASSERT_TRUE(SendMessageA(m_tabs, TCM_GETITEMA, kAllTab, remote.Address()));
    remote.Read(&item, sizeof item);
    ReadProcessMemory(Quenta().Process(), reinterpret_cast<void*>(remote.Address() + sizeof item), text, sizeof text,
                      nullptr);
    text[sizeof text - 1] = '\0';
    EXPECT_STREQ(text, "Tous les outils");
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_custom_fr")));
    ShowTab(kMakerTab);
    EXPECT_TRUE(SaveScreenBmp(Shot("tools_maker_fr")));
}
