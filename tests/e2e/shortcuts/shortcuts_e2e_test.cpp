// Drives the applications shortcuts of the real toolbox over a Quick Launch folder of the test
// prefix (the test points the user's "Quick Launch" value at a folder of its own): a link whose
// target is gone is listed, renaming Editor to Text Editor leaves exactly Text Editor.lnk with
// the same target, and three dropped files become three links named after them. The registry
// is compared before and after each change; screenshots (English and French) are kept in the
// build folder. The French suite runs on its own with a French user language, which Wine takes
// from the locale it starts with (QUENTA_WINE_LOCALE, set by CTest for the French run).
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

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
constexpr int kShortcutsModule = 17;
const char kMapGroups[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const fs::path kRoot = "C:\\quenta_e2e_shortcuts";
fs::path Links() { return kRoot / "Quick Launch"; }
fs::path Targets() { return kRoot / "Program Files"; }
fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "shortcuts"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string LongPath(const std::string& path)
{
    char buffer[MAX_PATH + 1];
    DWORD n = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    return Lower(n > 0 && n < sizeof buffer ? std::string(buffer, n) : path);
}

// Links are written and read here through the shell link object directly, apart from the
// program's own shortcut operations.
bool WriteLink(const fs::path& link, const fs::path& target)
{
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return false;
    shellLink->SetPath(target.string().c_str());
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                 SUCCEEDED(file->Save(link.wstring().c_str(), TRUE));
    if (file)
        file->Release();
    shellLink->Release();
    return saved;
}

std::string LinkTarget(const fs::path& link)
{
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return "?";
    std::string target = "?";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.wstring().c_str(), STGM_READ))) {
        char path[MAX_PATH] = "";
        if (SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
            target = path;
    }
    if (file)
        file->Release();
    shellLink->Release();
    return target;
}

std::set<std::string> LinkFiles()
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Links()))
        names.insert(entry.path().filename().string());
    return names;
}

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

void RemoveTestFolder()
{
    std::error_code ignored;
    fs::remove_all(kRoot, ignored);
}

void SetUserValue(const char* key, const char* name, const std::string& text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void DeleteUserValue(const char* key, const char* name)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
        RegDeleteValueA(opened, name);
        RegCloseKey(opened);
    }
}

// The folder value of a place as the module reads it; empty when there is none.
std::string PlaceValue(HKEY root, const std::string& key, const char* value)
{
    char text[1024] = "";
    DWORD size = sizeof text - 1;
    return RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS ? text : "";
}

// The parts of the registry a change of links could touch: the user's keys, the machine's
// shell and product keys and the default user's keys. A change of link files must leave all of it alone.
// Wine keeps the session's mouse and screen state under a key of its own, which any click may
// write: that key is Wine's, not the program's, and is left out.
e2e::RegistrySnapshot SnapshotRegistry()
{
    e2e::RegistrySnapshot snapshot = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "", "HKCU");
    for (const char* key : {"Software\\Microsoft\\Windows\\CurrentVersion", "Software\\Ostrel"})
        snapshot.merge(e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, key, std::string("HKLM\\") + key));
    snapshot.merge(e2e::SnapshotRegistry(HKEY_USERS, ".default", "HKU\\.default"));
    const std::string winesOwn = "HKCU\\Software\\Wine\\Temporary System Parameters";
    std::erase_if(snapshot, [&](const auto& entry) { return entry.first.rfind(winesOwn, 0) == 0; });
    return snapshot;
}

class ShortcutsE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        fs::create_directories(WorkFolder());
        RemoveTestFolder();
        fs::create_directories(Links());
        fs::create_directories(Targets());
        char system[MAX_PATH] = "";
        GetSystemDirectoryA(system, MAX_PATH);
        ASSERT_TRUE(CopyFileA((fs::path(system) / "notepad.exe").string().c_str(),
                              (Targets() / "editor.exe").string().c_str(), FALSE)); // a program with its icon
        WriteFile(Targets() / "gone.exe", "MZ gone");
        for (const char* name : {"alpha.txt", "Beta Notes.ini", "gamma.v2.dat"})
            WriteFile(Targets() / name, name);
        ASSERT_TRUE(WriteLink(Links() / "Editor.lnk", Targets() / "editor.exe"));
        ASSERT_TRUE(WriteLink(Links() / "Gone.lnk", Targets() / "gone.exe"));
        fs::remove(Targets() / "gone.exe");
        SetUserValue(kMapGroups, "Quick Launch", Links().string());
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        DeleteUserValue(kMapGroups, "Quick Launch");
        RemoveTestFolder();
        CoUninitialize();
    }
    static bool French() { return s_french; }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        OpenShortcuts();
    }

    // Shows the module afresh on its Quick Launch tab.
    void OpenShortcuts()
    {
        m_list = OpenModuleForm(kShortcutsModule, IDC_SHORTCUTS_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the shortcuts form has no list";
        m_form = GetParent(m_list);
        m_tabs = FindDescendantById(m_form, IDC_SHORTCUTS_TABS);
        ASSERT_NE(m_tabs, nullptr);
        ShowQuickLaunch();
    }

    std::vector<std::string> TabTexts() const
    {
        struct Block {
            TCITEMA item;
            char text[128];
        };
        RemoteBuffer remote(Quenta().Process(), sizeof(Block));
        std::vector<std::string> texts;
        const int count = static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int tab = 0; remote && tab < count; ++tab) {
            Block block{};
            block.item.mask = TCIF_TEXT;
            block.item.pszText = reinterpret_cast<char*>(remote.Address() + offsetof(Block, text));
            block.item.cchTextMax = sizeof block.text;
            remote.Write(&block, sizeof block);
            SendMessageA(m_tabs, TCM_GETITEMA, tab, remote.Address());
            remote.Read(&block, sizeof block);
            block.text[sizeof block.text - 1] = '\0';
            texts.push_back(block.text);
        }
        return texts;
    }

    // Tab of the Quick Launch place: the second of those with a folder (the desktop's comes first).
    void ShowQuickLaunch()
    {
        const std::vector<std::string> tabs = TabTexts();
        const char* name = French() ? "Lancement rapide" : "Quick Launch";
        const auto found = std::find(tabs.begin(), tabs.end(), name);
        ASSERT_NE(found, tabs.end()) << "no Quick Launch tab";
        const int tab = static_cast<int>(found - tabs.begin());
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000));
        // Listed once every link of the folder has its row.
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) == LPARAM(LinkFiles().size()); },
                            10000));
        Settle();
    }

    void Settle() const { e2e::Settle(Frame()); }
    std::vector<std::string> Column(int column) const { return e2e::ListColumnTexts(Quenta().Process(), m_list, column); }
    int RowNamed(const std::string& name) const
    {
        const std::vector<std::string> names = Column(0);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    void Select(int row) const
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, row, remote.Address());
        Settle();
    }

    static inline bool s_french = false;
    HWND m_list = nullptr, m_form = nullptr, m_tabs = nullptr;
};

class ShortcutsFrenchE2eTest : public ShortcutsE2eTest {
protected:
    static void SetUpTestSuite()
    {
        s_french = true;
        ShortcutsE2eTest::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        ShortcutsE2eTest::TearDownTestSuite();
        s_french = false;
    }
};
} // namespace

TEST_F(ShortcutsE2eTest, EachPlaceWithAFolderHasATabAndAGoneTargetIsListed)
{
    // The places the module reads, as the registry of this prefix holds them.
    const std::string users = ".default\\";
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Desktop", PlaceValue(HKEY_CURRENT_USER, kShellFolders, "Desktop")},
        {"Quick Launch", Links().string()},
        {"Startup", PlaceValue(HKEY_CURRENT_USER, kShellFolders, "Startup")},
        {"Desktop (All Users)", PlaceValue(HKEY_USERS, users + kShellFolders, "Desktop")},
        {"Quick Launch (All Users)", PlaceValue(HKEY_USERS, users + kMapGroups, "Quick Launch")},
        {"Startup (All Users)", PlaceValue(HKEY_USERS, users + kShellFolders, "Startup")},
    };
    std::vector<std::string> withFolder;
    for (const auto& [name, folder] : expected)
        if (!folder.empty())
            withFolder.push_back(name);
    EXPECT_EQ(TabTexts(), withFolder);

    ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Editor", "Gone"}));
    const std::vector<std::string> targets = Column(1);
    EXPECT_EQ(LongPath(targets[0]), Lower((Targets() / "editor.exe").string()));
    EXPECT_EQ(Lower(targets[1]), Lower((Targets() / "gone.exe").string())) << "the link keeps its target's path";
    // Row 0 is selected: its name and command are in the edits.
    EXPECT_EQ(TextOf(FindDescendantById(m_form, IDC_SHORTCUTS_NAME)), "Editor");
    EXPECT_FALSE(IsWindowEnabled(FindDescendantById(m_form, IDC_SHORTCUTS_APPLY)));
    EXPECT_TRUE(SaveScreenBmp(Shot("shortcuts_en")));
}

TEST_F(ShortcutsFrenchE2eTest, TheFormSpeaksFrench)
{
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_FRENCH) << "run with QUENTA_WINE_LOCALE=fr_FR.UTF-8";
    EXPECT_EQ(TextOf(FindDescendantById(m_form, IDC_SHORTCUTS_APPLY)), "A&ppliquer");
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5000));
    HWND name = FindDescendantById(m_form, IDC_SHORTCUTS_NAME);
    EXPECT_TRUE(WaitFor([&] { return TextOf(name) == "Editor"; }, 5000)) << "row 0 is not shown: " << TextOf(name);
    EXPECT_TRUE(IsWindowEnabled(name));
    Settle();
    EXPECT_TRUE(SaveScreenBmp(Shot("shortcuts_fr")));
}

TEST_F(ShortcutsE2eTest, RenamingEditorLeavesExactlyTextEditorWithTheSameTarget)
{
    const std::string target = LinkTarget(Links() / "Editor.lnk");
    const e2e::RegistrySnapshot before = SnapshotRegistry();
    const int row = RowNamed("Editor");
    ASSERT_GE(row, 0);
    Select(row);
    HWND name = FindDescendantById(m_form, IDC_SHORTCUTS_NAME);
    HWND apply = FindDescendantById(m_form, IDC_SHORTCUTS_APPLY);
    ASSERT_EQ(TextOf(name), "Editor");
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Text Editor"));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(apply) != FALSE; }, 5000)) << "typing did not enable Apply";
    SendMessageA(apply, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return RowNamed("Text Editor") >= 0; }, 5000)) << "not renamed";
    Settle();
    EXPECT_EQ(LinkFiles(), (std::set<std::string>{"Gone.lnk", "Text Editor.lnk"}));
    EXPECT_EQ(Lower(LinkTarget(Links() / "Text Editor.lnk")), Lower(target));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Gone", "Text Editor"}));
    EXPECT_EQ(TextOf(name), "Text Editor") << "the renamed link stays selected";
    EXPECT_FALSE(IsWindowEnabled(apply));
    const e2e::RegistrySnapshot after = SnapshotRegistry();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(ShortcutsE2eTest, ThreeDroppedFilesBecomeThreeLinksNamedAfterThem)
{
    const std::set<std::string> before = LinkFiles();
    const e2e::RegistrySnapshot registryBefore = SnapshotRegistry();
    // The drop block is written into the toolbox's own memory: a handle of this process would
    // mean nothing there. DragQueryFile takes a plain pointer as its handle.
    const std::vector<std::string> files = {(Targets() / "alpha.txt").string(), (Targets() / "Beta Notes.ini").string(),
                                            (Targets() / "gamma.v2.dat").string()};
    std::string block(sizeof(DROPFILES), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(block.data());
    header->pFiles = sizeof(DROPFILES);
    for (const std::string& file : files)
        block += file + '\0';
    block += '\0';
    RemoteBuffer remote(Quenta().Process(), block.size());
    ASSERT_TRUE(remote && remote.Write(block.data(), block.size()));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_form, WM_DROPFILES, static_cast<WPARAM>(remote.Address()), 0, SMTO_BLOCK, 20000, &result);
    Settle();
    std::set<std::string> expected = before;
    expected.insert({"alpha.lnk", "Beta Notes.lnk", "gamma.v2.lnk"});
    EXPECT_EQ(LinkFiles(), expected);
    EXPECT_EQ(LongPath(LinkTarget(Links() / "Beta Notes.lnk")), Lower(files[1])) << "written in short form";
    for (const char* row : {"alpha", "Beta Notes", "gamma.v2"})
        EXPECT_GE(RowNamed(row), 0) << row;
    const e2e::RegistrySnapshot registryAfter = SnapshotRegistry();
    EXPECT_TRUE(e2e::ChangedKeys(registryBefore, registryAfter).empty())
        << e2e::DescribeChanges(registryBefore, registryAfter);
}

TEST_F(ShortcutsE2eTest, DeletingAsksAndRemovesExactlyTheSelectedLinksOfAListSortedBackwards)
{
    for (const char* name : {"One", "Two", "Three", "Four"})
        ASSERT_TRUE(WriteLink(Links() / (std::string(name) + ".lnk"), Targets() / "alpha.txt"));
    OpenShortcuts(); // lists the new links
    const e2e::RegistrySnapshot registryBefore = SnapshotRegistry();
    const std::set<std::string> before = LinkFiles();
    // Name column sorted descending: the rows no longer follow the order they were read in.
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), header, HDM_GETITEMRECT, 0, rect));
    // Posted clicks are handled after any sent query, so each click's order is waited for.
    const auto byName = [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); };
    std::vector<std::string> names;
    e2e::ClickAt(header, rect);
    ASSERT_TRUE(WaitFor([&] {
        names = Column(0);
        return std::is_sorted(names.begin(), names.end(), byName);
    }, 5000)) << "not sorted";
    Sleep(GetDoubleClickTime() + 100);
    e2e::ClickAt(header, rect);
    ASSERT_TRUE(WaitFor([&] {
        names = Column(0);
        return std::is_sorted(names.rbegin(), names.rend(), byName);
    }, 5000)) << "not sorted backwards";
    Settle();
    // Two rows apart from each other.
    const int two = RowNamed("Two"), four = RowNamed("Four");
    ASSERT_GE(two, 0);
    ASSERT_GE(four, 0);
    LVITEMA state{};
    RemoteBuffer remote(Quenta().Process(), sizeof state);
    ASSERT_TRUE(remote);
    state.stateMask = LVIS_SELECTED;
    remote.Write(&state, sizeof state);
    SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
    state.state = LVIS_SELECTED;
    remote.Write(&state, sizeof state);
    SendMessageA(m_list, LVM_SETITEMSTATE, two, remote.Address());
    SendMessageA(m_list, LVM_SETITEMSTATE, four, remote.Address());
    Settle();

    PostMessageA(m_form, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUTS_DELETE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindDescendantById(m_form, IDC_SHORTCUTS_DELETE)));
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        question = FindWindowOfProcess(Quenta().Id(), [](HWND w) { return GetDlgItem(w, IDYES) && GetDlgItem(w, IDNO); });
        return question != nullptr;
    }, 10000)) << "no question";
    const HWND text = FindDescendant(question, [](HWND w) {
        return TextOf(w).find("Do you really want to remove current selected files?") != std::string::npos;
    });
    EXPECT_NE(text, nullptr) << "the question for several files";
    EXPECT_EQ(LinkFiles(), before) << "nothing goes before the answer";
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return LinkFiles().size() == before.size() - 2; }, 10000));
    Settle();
    std::set<std::string> expected = before;
    expected.erase("Two.lnk");
    expected.erase("Four.lnk");
    EXPECT_EQ(LinkFiles(), expected);
    EXPECT_EQ(RowNamed("Two"), -1);
    EXPECT_EQ(RowNamed("Four"), -1);
    const e2e::RegistrySnapshot registryAfter = SnapshotRegistry();
    EXPECT_TRUE(e2e::ChangedKeys(registryBefore, registryAfter).empty())
        << e2e::DescribeChanges(registryBefore, registryAfter);
}

TEST_F(ShortcutsE2eTest, DoubleClickingALinkWhoseTargetIsGoneSaysSo)
{
    const int row = RowNamed("Gone");
    ASSERT_GE(row, 0) << ::testing::PrintToString(Column(0));
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    e2e::ClickAt(m_list, rect, true);
    HWND message = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        message = FindWindowOfProcess(Quenta().Id(), [](HWND w) {
            return GetDlgItem(w, IDOK) && FindDescendant(w, [](HWND c) {
                       return TextOf(c).find("Cannot find file") != std::string::npos &&
                              TextOf(c).find("gone.exe") != std::string::npos;
                   }) != nullptr;
        });
        return message != nullptr;
    }, 10000)) << "nothing told";
    PostMessageA(message, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(message); }, 5000));
}

TEST_F(ShortcutsE2eTest, AddMakesTheNamedLinkThroughTheNameAndCommandDialog)
{
    const e2e::RegistrySnapshot registryBefore = SnapshotRegistry();
    PostMessageA(m_form, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUTS_ADD, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindDescendantById(m_form, IDC_SHORTCUTS_ADD)));
    HWND entry = nullptr, browser = nullptr;
    // The dialog opens its file dialog at once; the test closes that and types instead.
    ASSERT_TRUE(WaitFor([&] {
        browser = FindWindowOfProcess(Quenta().Id(), [&](HWND w) {
            return ClassOf(w) == "#32770" && IsWindowVisible(w) && CaptionOf(w) == "Select";
        });
        return browser != nullptr;
    }, 10000)) << "no file dialog";
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] {
        entry = FindWindowOfProcess(Quenta().Id(), [](HWND w) {
            return IsWindowVisible(w) && GetDlgItem(w, IDC_SHORTCUT_ENTRY_NAME) != nullptr;
        });
        return entry && !IsWindow(browser);
    }, 10000)) << "no name-and-command dialog";
    const std::string program = (Targets() / "editor.exe").string();
    SendMessageA(GetDlgItem(entry, IDC_SHORTCUT_ENTRY_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Calc"));
    SendMessageA(GetDlgItem(entry, IDC_SHORTCUT_ENTRY_COMMAND), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(entry, IDC_SHORTCUT_ENTRY_OK)) != FALSE; }, 5000));
    PostMessageA(entry, WM_COMMAND, MAKEWPARAM(IDC_SHORTCUT_ENTRY_OK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Links() / "Calc.lnk"); }, 10000)) << "no link";
    ASSERT_TRUE(WaitFor([&] { return RowNamed("Calc") >= 0; }, 5000));
    Settle();
    EXPECT_EQ(LongPath(LinkTarget(Links() / "Calc.lnk")), Lower(program));
    // The list is refilled while the busy indicator pumps messages; the selection comes last.
    EXPECT_TRUE(WaitFor([&] { return TextOf(FindDescendantById(m_form, IDC_SHORTCUTS_NAME)) == "Calc"; }, 5000))
        << "the new link is selected";
    const e2e::RegistrySnapshot registryAfter = SnapshotRegistry();
    EXPECT_TRUE(e2e::ChangedKeys(registryBefore, registryAfter).empty())
        << e2e::DescribeChanges(registryBefore, registryAfter);
}
