// Drives the uninstaller of the real toolbox over entries the test puts into the prefix's
// uninstall key: an entry with only a command, adding "My Tool" through the name-and-command
// dialog, editing its name, deleting three rows of a list sorted the other way round, and a
// stand-in uninstaller that removes its own entry while the toolbox waits for it. A registry
// snapshot of HKLM\...\CurrentVersion and the maker's keys before and after each change must differ in exactly the keys
// the change names. Screenshots are kept in the build folder.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kUninstallModule = 9;
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kLabel = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const fs::path kDriveFolder = "C:\\qn_uninstall_e2e";
const char kOnlyCommand[] = "C:\\qn_uninstall_e2e\\nothing.exe /u";
const char kRunnerKey[] = "QnE2E Runner";
// An entry whose command names its program without a folder: it runs as it stands.
const char kBareKey[] = "QnE2E Bare";
const char kBareProgram[] = "qn_fake_uninstaller_bare.exe";
// Key name and display name of the entries the deletion test chooses from.
const std::pair<const char*, const char*> kDeletable[] = {
    {"QnE2E Del 1", "Zulu"},  {"QnE2E Del 2", "alpha"},  {"QnE2E Del 3", "Mike"},
    {"QnE2E Del 4", "bravo"}, {"QnE2E Del 5", "Yankee"}, {"QnE2E Del 6", "Charlie"},
};

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "uninstall"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
std::string RunLog() { return (kDriveFolder / "run.log").string(); }
std::string BareLog() { return (kDriveFolder / "bare.log").string(); }
std::string BareProgramCopy()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + kBareProgram;
}

std::string WindowsPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

std::string EntryKey(const std::string& name) { return std::string(kUninstall) + "\\" + name; }
std::string SnapshotPath(const std::string& name)
{
    return kLabel + "\\Uninstall\\" + name;
}

void WriteEntry(const std::string& key, const char* name, const std::string& command)
{
    if (name)
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, EntryKey(key).c_str(), "DisplayName", REG_SZ, name,
                        static_cast<DWORD>(std::strlen(name) + 1));
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, EntryKey(key).c_str(), "UninstallString", REG_SZ, command.c_str(),
                    static_cast<DWORD>(command.size() + 1));
}

// Removes every key this test makes; nothing else.
void RemoveTestEntries()
{
    std::vector<std::string> names = {"QnE2E Only Command", kRunnerKey, kBareKey, "My Tool", "My Tool (2)"};
    for (const auto& [key, name] : kDeletable)
        names.push_back(key);
    for (const std::string& name : names)
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, EntryKey(name).c_str()), RegDeleteKeyA(HKEY_LOCAL_MACHINE, EntryKey(name).c_str());
}

// The system's CurrentVersion key (uninstall entries and the keys beside them) and the maker's
// per-user keys: a change must touch nothing else there.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot snapshot =
        e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", kLabel);
    snapshot.merge(e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software\\Ostrel", "HKCU\\Software\\Ostrel"));
    return snapshot;
}

bool IsEntryDialog(HWND window) { return GetDlgItem(window, IDC_SHORTCUT_ENTRY_NAME) != nullptr; }

class UninstallE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(WorkFolder());
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
        fs::create_directories(kDriveFolder);
        RemoveTestEntries();
        WriteEntry("QnE2E Only Command", nullptr, kOnlyCommand);
        for (const auto& [key, name] : kDeletable)
            WriteEntry(key, name, std::string("C:\\qn_uninstall_e2e\\") + name + ".exe /u");
        WriteEntry(kRunnerKey, kRunnerKey,
                   WindowsPath(QN_FAKE_UNINSTALLER) + " \"" + kRunnerKey + "\" " + RunLog());
        CopyFileA(WindowsPath(QN_FAKE_UNINSTALLER).c_str(), BareProgramCopy().c_str(), FALSE);
        WriteEntry(kBareKey, kBareKey, std::string(kBareProgram) + " \"" + kBareKey + "\" " + BareLog());
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        RemoveTestEntries();
        DeleteFileA(BareProgramCopy().c_str());
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_list = OpenModuleForm(kUninstallModule, IDC_UNINSTALL_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the uninstaller's form has no entry list";
        m_form = GetParent(m_list);
    }

    std::vector<std::string> Column(int column) const
    {
        return e2e::ListColumnTexts(Quenta().Process(), m_list, column);
    }
    int RowNamed(const std::string& name) const
    {
        const std::vector<std::string> names = Column(0);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int row = -1; (row = static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
            rows.push_back(row);
        return rows;
    }
    void Select(const std::vector<int>& rows) const
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
        for (int row : rows) {
            ASSERT_GE(row, 0);
            state.state = LVIS_SELECTED;
            remote.Write(&state, sizeof state);
            SendMessageA(m_list, LVM_SETITEMSTATE, row, remote.Address());
        }
        e2e::Settle(Frame());
    }
    void ClickHeader(int column) const
    {
        HWND header = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), header, HDM_GETITEMRECT, column, rect));
        e2e::ClickAt(header, rect);
        e2e::Settle(Frame());
    }
    void Click(int id) const { PostMessageA(GetDlgItem(m_form, id), BM_CLICK, 0, 0); }
    HWND WaitForWindow(const std::function<bool(HWND)>& matches, int timeoutMs = 10000) const
    {
        HWND window = nullptr;
        WaitFor([&] { return (window = FindWindowOfProcess(Quenta().Id(), matches)) != nullptr; }, timeoutMs);
        return window;
    }
    // Fills the open name-and-command dialog and presses its OK.
    void AnswerEntryDialog(HWND dialog, const std::string& name, const std::string& command,
                           const std::string& shot = {}) const
    {
        SendMessageA(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageA(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_COMMAND), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(command.c_str()));
        e2e::Settle(dialog);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_OK)));
        if (!shot.empty()) {
            EXPECT_TRUE(SaveScreenBmp(Shot(shot)));
        }
        PostMessageA(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_OK), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10000));
        e2e::Settle(Frame());
    }

    HWND m_list = nullptr, m_form = nullptr;
};

TEST_F(UninstallE2eTest, AnEntryWithOnlyACommandIsListedWithAnEmptyName)
{
    const std::vector<std::string> names = Column(0), commands = Column(1);
    const auto found = std::find(commands.begin(), commands.end(), kOnlyCommand);
    ASSERT_NE(found, commands.end());
    EXPECT_EQ(names[static_cast<size_t>(found - commands.begin())], "");
    EXPECT_NE(RowNamed("Zulu"), -1);
    // Nothing is selected yet: the entry buttons wait for a selection, Add does not.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_form, IDC_UNINSTALL_EDIT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_form, IDC_UNINSTALL_RUN)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(m_form, IDC_UNINSTALL_ADD)));
    Select({RowNamed("Mike")});
    EXPECT_EQ(TextOf(GetDlgItem(m_form, IDC_UNINSTALL_NAME)), "Mike");
    EXPECT_EQ(TextOf(GetDlgItem(m_form, IDC_UNINSTALL_COMMAND)), "C:\\qn_uninstall_e2e\\Mike.exe /u");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(m_form, IDC_UNINSTALL_DELETE)));
    EXPECT_TRUE(SaveScreenBmp(Shot("uninstall_en")));
}

TEST_F(UninstallE2eTest, AddingMyToolMakesItsKeyAndEditingChangesDisplayNameOnly)
{
    const e2e::RegistrySnapshot before = Snapshot();
    Click(IDC_UNINSTALL_ADD);
    // The dialog opens the file dialog at once; the test closes it and types instead.
    HWND browse = WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && CaptionOf(w) == "Select"; });
    ASSERT_NE(browse, nullptr) << "the file dialog did not open at once";
    PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(browse); }, 10000));
    HWND dialog = WaitForWindow(IsEntryDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CaptionOf(dialog), "Quenta - Create shortcut");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_OK))) << "OK without a name and a command";
    AnswerEntryDialog(dialog, "My Tool", "C:\\qn_uninstall_e2e\\mytool.exe /remove", "uninstall_entry_dialog_en");

    const e2e::RegistrySnapshot added = Snapshot();
    EXPECT_EQ(e2e::ChangedKeys(before, added), std::set<std::string>{SnapshotPath("My Tool")})
        << e2e::DescribeChanges(before, added);
    const e2e::RegistryValues& values = added.at(SnapshotPath("My Tool"));
    EXPECT_EQ(values.at("DisplayName"), "1:My Tool");
    EXPECT_EQ(values.at("UninstallString"), "1:C:\\qn_uninstall_e2e\\mytool.exe /remove");
    const int row = RowNamed("My Tool");
    ASSERT_NE(row, -1);
    EXPECT_EQ(SelectedRows(), std::vector<int>{row}) << "the new entry is selected";

    Click(IDC_UNINSTALL_EDIT);
    dialog = WaitForWindow(IsEntryDialog);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_NAME)), "My Tool");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SHORTCUT_ENTRY_COMMAND)), "C:\\qn_uninstall_e2e\\mytool.exe /remove");
    AnswerEntryDialog(dialog, "My Tool Renamed", "C:\\qn_uninstall_e2e\\mytool.exe /remove");

    const e2e::RegistrySnapshot edited = Snapshot();
    ASSERT_EQ(e2e::ChangedKeys(added, edited), std::set<std::string>{SnapshotPath("My Tool")})
        << e2e::DescribeChanges(added, edited);
    e2e::RegistryValues expected = values;
    expected["DisplayName"] = "1:My Tool Renamed";
    EXPECT_EQ(edited.at(SnapshotPath("My Tool")), expected);
    const int renamed = RowNamed("My Tool Renamed");
    ASSERT_NE(renamed, -1);
    EXPECT_EQ(RowNamed("My Tool"), -1);
    EXPECT_EQ(SelectedRows(), std::vector<int>{renamed}) << "the edited entry stays selected after the refill";
}

TEST_F(UninstallE2eTest, DeletingThreeRowsOfASortedListDeletesExactlyTheirKeys)
{
    // Clicks are posted: each click's order is waited for before the next.
    ClickHeader(0);
    ASSERT_TRUE(WaitFor([&] { return RowNamed("alpha") < RowNamed("Mike"); }, 5000));
    Sleep(GetDoubleClickTime() + 100);
    ClickHeader(0); // by name, descending: unlike the order of the keys
    ASSERT_TRUE(WaitFor([&] { return RowNamed("Mike") < RowNamed("alpha"); }, 5000));
    const std::vector<std::string> names = Column(0);
    ASSERT_LT(RowNamed("Zulu"), RowNamed("Mike"));
    ASSERT_LT(RowNamed("Mike"), RowNamed("alpha"));
    const e2e::RegistrySnapshot before = Snapshot();
    Select({RowNamed("alpha"), RowNamed("Mike"), RowNamed("Yankee")});
    ASSERT_EQ(SelectedRows().size(), 3u);

    Click(IDC_UNINSTALL_DELETE);
    HWND question = WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDYES); });
    ASSERT_NE(question, nullptr) << "deleting did not ask first";
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(question); }, 10000));
    e2e::Settle(Frame());

    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_EQ(e2e::ChangedKeys(before, after),
              (std::set<std::string>{SnapshotPath("QnE2E Del 2"), SnapshotPath("QnE2E Del 3"),
                                     SnapshotPath("QnE2E Del 5")}))
        << e2e::DescribeChanges(before, after);
    for (const char* gone : {"alpha", "Mike", "Yankee"})
        EXPECT_EQ(RowNamed(gone), -1) << gone;
    for (const char* kept : {"Zulu", "bravo", "Charlie"})
        EXPECT_NE(RowNamed(kept), -1) << kept;
    EXPECT_TRUE(SelectedRows().empty());
    // The refill keeps the order the user chose.
    EXPECT_LT(RowNamed("Zulu"), RowNamed("Charlie"));
    EXPECT_LT(RowNamed("Charlie"), RowNamed("bravo"));
}

TEST_F(UninstallE2eTest, TheUninstallRunWaitsForTheProgramAndRefills)
{
    const int row = RowNamed(kRunnerKey);
    ASSERT_NE(row, -1);
    const e2e::RegistrySnapshot before = Snapshot();
    Select({row});
    Click(IDC_UNINSTALL_RUN);

    ASSERT_TRUE(WaitFor([] { return fs::exists(RunLog()); }, 20000)) << "the uninstaller did not start";
    // While the uninstaller lingers, the toolbox waits for it and has not refilled yet.
    DWORD_PTR count = 0;
    EXPECT_FALSE(fs::exists(RunLog() + ".done"));
    EXPECT_EQ(SendMessageTimeoutA(m_list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 300, &count), 0)
        << "the toolbox answered while the uninstaller was still running";
    ASSERT_TRUE(WaitFor([] { return fs::exists(RunLog() + ".done"); }, 20000));
    ASSERT_TRUE(WaitFor([&] { return RowNamed(kRunnerKey) == -1; }, 10000)) << "the list was not filled again";

    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_EQ(e2e::ChangedKeys(before, after), std::set<std::string>{SnapshotPath(kRunnerKey)})
        << e2e::DescribeChanges(before, after);

    // The uninstaller got its own arguments exactly once, and not its own path as one of them.
    std::ifstream log(RunLog());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u) << "command line: " << (lines.empty() ? "" : lines[0]);
    EXPECT_EQ(lines[1], kRunnerKey);
    EXPECT_EQ(lines[2], RunLog());
}

// The program of "qn_fake_uninstaller_bare.exe ..." is no path the toolbox can find; the
// command then runs as it stands and the system finds the program in the Windows folder.
TEST_F(UninstallE2eTest, ACommandWithoutAProgramPathRunsAsItStands)
{
    const int row = RowNamed(kBareKey);
    ASSERT_NE(row, -1);
    Select({row});
    Click(IDC_UNINSTALL_RUN);
    ASSERT_TRUE(WaitFor([] { return fs::exists(BareLog() + ".done"); }, 20000)) << "the command did not run";
    ASSERT_TRUE(WaitFor([&] { return RowNamed(kBareKey) == -1; }, 10000)) << "the list was not filled again";
    std::ifstream log(BareLog());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u) << "command line: " << (lines.empty() ? "" : lines[0]);
    EXPECT_EQ(lines[1], kBareKey);
    EXPECT_EQ(lines[2], BareLog());
}
} // namespace
