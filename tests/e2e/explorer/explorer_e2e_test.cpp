// Drives the explorer of the real toolbox over a folder of 30 files and pictures on drive C:
// of the test prefix: the four tabs (screenshots kept in the build folder), sorting the report
// by each column both ways, renaming onto an existing name, deleting to the trash, moving onto
// an existing name, and saving the lists as text, CSV and HTML.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/command.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/remote_controls_win.h"
#include "tests/e2e/support/test_printer_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kExplorerModule = 13;
constexpr int kFileCount = 30;
constexpr int kPictureCount = 10;
const char kSettingsKey[] = "Software\\Ostrel\\Quenta\\Explorer";
const char kTestPrinter[] = "Quenta Explorer Test PostScript";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "explorer"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
// Wine's folder browser cannot select folders below the host's /tmp on drive Z:.
const fs::path kDriveFolder = "C:\\quenta_e2e_explorer";
fs::path Files() { return kDriveFolder / "files"; }
fs::path Target() { return kDriveFolder / "target"; }
// The prefix's recycle bin (tools/wine-env.sh puts XDG_DATA_HOME into the build folder).
fs::path Trash() { return fs::path(QUENTA_BINARY_DIR) / "winehome" / ".local" / "share" / "Trash"; }

// The trash's entries (its "files" or "info" part) whose names start with `name`.
std::vector<fs::path> TrashEntries(const char* part, const std::string& name)
{
    std::vector<fs::path> found;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(Trash() / part, ignored))
        if (entry.path().filename().string().rfind(name, 0) == 0)
            found.push_back(entry.path());
    return found;
}

// The files the explorer lists: the test's 30, and the thumbnail cache file (hidden) once the
// pictures tab has been shown.
int ListedFiles()
{
    return kFileCount + (fs::exists(Files() / "zephra.zeb") ? 1 : 0);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

void SetModified(const fs::path& path, int minutesAgo)
{
    HANDLE file = CreateFileA(path.string().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
    const FILETIME stamp{time.LowPart, time.HighPart};
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

// Removes the test's folder, read-only files too; nothing happens when it is not there.
void RemoveTestFolder()
{
    std::error_code ignored;
    if (!fs::exists(kDriveFolder, ignored))
        return;
    for (const auto& entry : fs::recursive_directory_iterator(kDriveFolder, ignored))
        SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(kDriveFolder, ignored);
}

// 20 text files of different sizes, types and ages, 10 pictures; a few read-only or hidden.
void WriteFiles()
{
    RemoveTestFolder();
    fs::create_directories(Files() / "sub");
    fs::create_directories(Target());
    const char* const extensions[] = {".txt", ".log", ".ini", ".dat"};
    for (int i = 0; i < kFileCount - kPictureCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%02d%s", i % 2 ? "Note" : "note", i, extensions[i % 4]);
        std::ofstream(Files() / name, std::ios::binary) << std::string(static_cast<size_t>((i * 7919) % 5000), 'x');
        SetModified(Files() / name, (i * 37) % 300 + 1);
    }
    for (int i = 0; i < kPictureCount; ++i) {
        CPicture picture;
        ASSERT_TRUE(picture.Create(16 + 8 * i, 12 + 4 * i));
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                uint8_t* pixel = picture.Row(y) + 3 * x;
                pixel[0] = uint8_t(x * 255 / picture.Width());
                pixel[1] = uint8_t(y * 255 / picture.Height());
                pixel[2] = uint8_t(40 * i);
            }
        const std::string path = (Files() / ("picture" + std::to_string(i) + ".bmp")).string();
        ASSERT_EQ(BmpCodec().WriteFile(path, &picture, 24, false, nullptr), 1) << path;
        SetModified(path, 400 + i);
    }
    SetFileAttributesA((Files() / "note00.txt").string().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    SetFileAttributesA((Files() / "Note01.log").string().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

class ExplorerE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(WorkFolder());
        WriteFiles();
        const std::string folder = Files().string() + "\\";
        RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "CurrentPath", REG_SZ, folder.c_str(),
                        static_cast<DWORD>(folder.size() + 1));
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        RemoveTestFolder();
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_icons = OpenModuleForm(kExplorerModule, IDC_EXPLORER_ICONS, WC_LISTVIEWA);
        ASSERT_NE(m_icons, nullptr) << "the explorer's form has no icon list";
        m_form = GetParent(m_icons);
        m_tabs = FindDescendantById(m_form, IDC_EXPLORER_TABS);
        m_report = FindDescendantById(m_form, IDC_EXPLORER_REPORT);
        m_summary = FindDescendantById(m_form, IDC_EXPLORER_SUMMARY);
        ASSERT_TRUE(m_tabs && m_report && m_summary);
        ASSERT_EQ(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0), 4);
    }

    void Settle(HWND window = nullptr) const { e2e::Settle(window ? window : Frame()); }

    static int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    std::vector<std::string> Column(HWND list, int column) const
    {
        return e2e::ListColumnTexts(Quenta().Process(), list, column);
    }

    bool RemoteRect(HWND control, UINT message, WPARAM wParam, RECT& rect) const
    {
        return e2e::RemoteRect(Quenta().Process(), control, message, wParam, rect);
    }

    void ShowTab(int tab)
    {
        RECT rect{};
        ASSERT_TRUE(RemoteRect(m_tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(m_tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == tab; }, 5000)) << "tab " << tab;
        Settle();
    }

    void ClickHeader(int column)
    {
        HWND header = reinterpret_cast<HWND>(SendMessageA(m_report, LVM_GETHEADER, 0, 0));
        RECT rect{};
        ASSERT_TRUE(RemoteRect(header, HDM_GETITEMRECT, column, rect));
        // A column beyond the list's right edge is scrolled into view first, as a user would.
        RECT client{};
        GetClientRect(m_report, &client);
        SendMessageA(m_report, LVM_SCROLL, static_cast<WPARAM>(-10000), 0);
        if (rect.right > client.right)
            SendMessageA(m_report, LVM_SCROLL, rect.right - client.right, 0);
        Settle();
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        MapWindowPoints(header, m_report, &centre, 1); // where that point stands in the list now
        ASSERT_GE(centre.x, 0);
        ASSERT_LT(centre.x, client.right) << "column " << column << " cannot be reached";
        e2e::ClickAt(header, rect); // header coordinates move with the header itself
        Settle();
    }

    void Select(HWND list, const std::vector<int>& rows) const
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
        for (int row : rows) {
            state.state = LVIS_SELECTED;
            remote.Write(&state, sizeof state);
            SendMessageA(list, LVM_SETITEMSTATE, row, remote.Address());
        }
        Settle();
    }

    int RowNamed(HWND list, const std::string& name) const
    {
        const std::vector<std::string> names = Column(list, 0);
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }

    void Command(UINT id) const { PostMessageA(m_form, WM_COMMAND, id, 0); }

    HWND WaitForDialog(const std::function<bool(HWND)>& matches, int timeoutMs = 10000) const
    {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindWindowOfProcess(Quenta().Id(), matches)) != nullptr; }, timeoutMs);
        return dialog;
    }

    HWND m_icons = nullptr, m_form = nullptr, m_tabs = nullptr, m_report = nullptr, m_summary = nullptr;
};

bool IsRenameDialog(HWND window) { return ClassOf(window) == "#32770" && GetDlgItem(window, IDC_RENAME_NAME); }
} // namespace

TEST_F(ExplorerE2eTest, EveryTabShowsTheFolder)
{
    ShowTab(0);
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) == kFileCount; }, 10000)) << Rows(m_icons);
    const std::vector<std::string> names = Column(m_icons, 0);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); }));
    EXPECT_EQ(std::count(names.begin(), names.end(), "sub"), 0) << "folders are not files";
    EXPECT_TRUE(IsWindowVisible(m_icons));
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_files")));

    ShowTab(1);
    // The thumbnail engine's worker fills the tab: one caption per picture, size and depth first.
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) == kPictureCount; }, 20000)) << Rows(m_icons);
    Settle();
    std::vector<std::string> captions = Column(m_icons, 0);
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions.front(), "16 x 12 x 24 Bits\r\npicture0.bmp");
    EXPECT_EQ(captions.back(), "88 x 48 x 24 Bits\r\npicture9.bmp");
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_pictures")));

    ShowTab(2);
    EXPECT_TRUE(IsWindowVisible(m_report));
    EXPECT_FALSE(IsWindowVisible(m_icons));
    ASSERT_EQ(Rows(m_report), ListedFiles());
    std::vector<std::string> reportNames = Column(m_report, 0);
    std::erase(reportNames, "zephra.zeb"); // the pictures tab wrote its cache file since
    EXPECT_EQ(reportNames, names) << "sorted by path, as the files tab";
    const std::vector<std::string> attributes = Column(m_report, 4);
    EXPECT_EQ(attributes[RowNamed(m_report, "note00.txt")], "RA");
    EXPECT_EQ(attributes[RowNamed(m_report, "Note01.log")], "HA");
    EXPECT_EQ(Column(m_report, 1)[RowNamed(m_report, "note00.txt")], "1 Kb");
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_report")));

    ShowTab(3);
    EXPECT_TRUE(IsWindowVisible(m_summary));
    const std::vector<std::string> labels = Column(m_summary, 0), values = Column(m_summary, 1);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(values[0], "files");
    EXPECT_EQ(Lower(values[1]), Lower(kDriveFolder.string() + "\\"));
    EXPECT_EQ(labels[5], "# of Files");
    EXPECT_EQ(values[5], std::to_string(ListedFiles()));
    EXPECT_EQ(values[6], "1");
    EXPECT_NE(values[2].find(" bytes)"), std::string::npos) << values[2];
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_info")));
}

TEST_F(ExplorerE2eTest, ReportSortsByEachColumnBothWays)
{
    ShowTab(2);
    ASSERT_EQ(Rows(m_report), ListedFiles());
    std::map<std::string, uintmax_t> sizes;
    std::map<std::string, fs::file_time_type> times;
    for (const auto& entry : fs::directory_iterator(Files()))
        if (entry.is_regular_file()) {
            sizes[entry.path().filename().string()] = entry.file_size();
            times[entry.path().filename().string()] = entry.last_write_time();
        }
    auto textOrder = [](const std::vector<std::string>& texts, bool ascending) {
        for (size_t i = 1; i < texts.size(); ++i) {
            const int order = lstrcmpiA(texts[i - 1].c_str(), texts[i].c_str());
            if (ascending ? order > 0 : order < 0)
                return false;
        }
        return true;
    };
    for (int column = 0; column < 5; ++column) {
        for (bool ascending : {true, false}) {
            ClickHeader(column);
            // The click is posted, so the list may still show the earlier order for a moment.
            const bool ordered = WaitFor([&] {
                const std::vector<std::string> names = Column(m_report, 0);
                if (names.size() != static_cast<size_t>(ListedFiles()))
                    return false;
                if (column != 1 && column != 3)
                    return textOrder(Column(m_report, column), ascending);
                for (size_t i = 1; i < names.size(); ++i) {
                    const bool before = column == 1 ? sizes[names[i - 1]] <= sizes[names[i]]
                                                    : times[names[i - 1]] <= times[names[i]];
                    const bool after = column == 1 ? sizes[names[i - 1]] >= sizes[names[i]]
                                                   : times[names[i - 1]] >= times[names[i]];
                    if (!(ascending ? before : after))
                        return false;
                }
                return true;
            }, 5000);
            Sleep(GetDoubleClickTime() + 100); // the next click on the same header is not a double click
            std::string shown;
            for (const std::string& text : Column(m_report, column))
                shown += text + "|";
            EXPECT_TRUE(ordered) << "column " << column << (ascending ? " ascending: " : " descending: ") << shown;
        }
    }
}

TEST_F(ExplorerE2eTest, RenamingOntoAnExistingNameOpensTheDialogAgain)
{
    ShowTab(2);
    const int row = RowNamed(m_report, "note02.ini");
    ASSERT_GE(row, 0);
    Select(m_report, {row});
    Command(ID_FILE_ACTION_RENAME);
    HWND dialog = WaitForDialog(IsRenameDialog);
    ASSERT_NE(dialog, nullptr) << "no rename dialog";
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_RENAME_NAME)), "note02.ini");
    Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_rename")));
    SendMessageA(GetDlgItem(dialog, IDC_RENAME_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("note04.txt"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND again = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        again = FindWindowOfProcess(Quenta().Id(), [&](HWND w) { return w != dialog && IsRenameDialog(w); });
        return again != nullptr && !IsWindow(dialog);
    })) << "the dialog did not open again";
    EXPECT_EQ(TextOf(GetDlgItem(again, IDC_RENAME_NAME)), "note04.txt") << "it shows the name entered";
    EXPECT_TRUE(fs::exists(Files() / "note02.ini"));
    EXPECT_EQ(fs::file_size(Files() / "note04.txt"), static_cast<uintmax_t>((4 * 7919) % 5000)) << "left alone";

    SendMessageA(GetDlgItem(again, IDC_RENAME_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed.ini"));
    PostMessageA(again, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(Files() / "renamed.ini"); })) << "not renamed";
    Settle();
    EXPECT_FALSE(fs::exists(Files() / "note02.ini"));
    EXPECT_EQ(Column(m_report, 0)[row], "renamed.ini");
    EXPECT_EQ(Rows(m_report), ListedFiles());
}

TEST_F(ExplorerE2eTest, DeleteSendsTheFileToTheTrash)
{
    ShowTab(0);
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) >= ListedFiles() - 1; }, 10000));
    const int before = Rows(m_icons);
    const int row = RowNamed(m_icons, "note06.ini");
    ASSERT_GE(row, 0);
    for (const char* part : {"files", "info"}) // the trash names a file anew when its name is taken there
        for (const fs::path& old : TrashEntries(part, "note06.ini"))
            fs::remove(old);
    Select(m_icons, {row});
    Command(ID_FILE_ACTION_DELETE);
    // The shell asks first; the test answers Yes.
    HWND question = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDYES); });
    ASSERT_NE(question, nullptr) << "the shell did not ask";
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return !fs::exists(Files() / "note06.ini"); })) << "not deleted";
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) == before - 1; }, 5000)) << "its row stayed";
    EXPECT_EQ(TrashEntries("files", "note06.ini").size(), 1u) << "not in " << Trash();
    const std::vector<fs::path> info = TrashEntries("info", "note06.ini");
    ASSERT_EQ(info.size(), 1u);
    std::ifstream record(info.front());
    const std::string text((std::istreambuf_iterator<char>(record)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("quenta_e2e_explorer/files/note06.ini"), std::string::npos) << text;
    EXPECT_EQ(RowNamed(m_icons, "note06.ini"), -1);
}

TEST_F(ExplorerE2eTest, MovingOntoExistingNamesKeepsBothFiles)
{
    std::ofstream(Target() / "note08.txt", std::ios::binary) << "already there";
    ShowTab(2);
    const int first = RowNamed(m_report, "note08.txt"), second = RowNamed(m_report, "Note09.log");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    const int before = Rows(m_report);
    Select(m_report, {first, second});
    Command(ID_FILE_ACTION_MOVE);
    HWND browser = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && FindDescendantByClass(w, WC_TREEVIEWA); });
    ASSERT_NE(browser, nullptr) << "no folder browser";
    ASSERT_TRUE(e2e::SelectInFolderBrowser(Quenta().Process(), browser, Target().string(), [](HWND tree) {
        return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
    }));
    Settle(browser);
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !fs::exists(Files() / "note08.txt") && !fs::exists(Files() / "Note09.log"); }))
        << "not moved";
    // The file that was there keeps its content; the moved one got a free name.
    std::ifstream kept(Target() / "note08.txt");
    std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "already there");
    EXPECT_TRUE(fs::exists(Target() / "note08 (2).txt"));
    EXPECT_EQ(fs::file_size(Target() / "note08 (2).txt"), static_cast<uintmax_t>((8 * 7919) % 5000));
    EXPECT_TRUE(fs::exists(Target() / "Note09.log"));
    ASSERT_TRUE(WaitFor([&] { return Rows(m_report) == before - 2; }, 5000)) << "the moved rows stayed";
}

TEST_F(ExplorerE2eTest, ListsSaveAsTextCsvAndHtml)
{
    ShowTab(2);
    const int rows = Rows(m_report);
    ASSERT_GT(rows, 0);
    const std::string firstName = Column(m_report, 0).front();
    for (const char* extension : {"txt", "csv", "htm"}) {
        const fs::path saved = kDriveFolder / (std::string("report.") + extension);
        fs::remove(saved);
        PostMessageA(Frame(), WM_COMMAND, ID_FILE_SAVE_LIST, 0);
        HWND dialog = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && CaptionOf(w) == "Save"; });
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
        ASSERT_NE(name, nullptr);
        SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.string().c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && fs::exists(saved) && fs::file_size(saved) > 0; }))
            << saved;
        Settle();
        std::ifstream in(saved, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find(firstName), std::string::npos) << extension;
        if (std::string(extension) != "csv") { // CSV rows carry no header line
            EXPECT_NE(Lower(text).find("modified"), std::string::npos) << extension << ": the column headers";
        }
        if (std::string(extension) == "htm") {
            EXPECT_NE(Lower(text).find("<table"), std::string::npos);
        } else if (std::string(extension) == "csv") {
            EXPECT_GE(std::count(text.begin(), text.end(), '\n'), rows);
        }
        fs::copy_file(saved, WorkFolder() / saved.filename(), fs::copy_options::overwrite_existing);
    }
}

TEST_F(ExplorerE2eTest, PropertiesClearTheArchiveAttributeAndKeepTheSystemOne)
{
    const fs::path file = Files() / "note10.ini";
    ASSERT_TRUE(SetFileAttributesA(file.string().c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(GetFileAttributesA(file.string().c_str()) & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE))
        << "the prefix's drive keeps no system attribute";
    ShowTab(2);
    const int row = RowNamed(m_report, "note10.ini");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Column(m_report, 4)[row], "AS");
    Select(m_report, {row});
    Command(ID_FILE_ACTION_PROPERTIES);
    HWND dialog = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDC_PROPERTIES_ARCHIVE); });
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_PROPERTIES_ARCHIVE), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_PROPERTIES_SYSTEM), BM_GETCHECK, 0, 0), BST_CHECKED);
    Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_properties")));
    // Unticking as a click does: the box changes, then the dialog hears of it; then Apply.
    HWND archive = GetDlgItem(dialog, IDC_PROPERTIES_ARCHIVE), apply = GetDlgItem(dialog, IDC_PROPERTIES_APPLY);
    SendMessageA(archive, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROPERTIES_ARCHIVE, BN_CLICKED), reinterpret_cast<LPARAM>(archive));
    // Read-only too, which every file system keeps: the row must show what the dialog did.
    HWND readOnly = GetDlgItem(dialog, IDC_PROPERTIES_READ_ONLY);
    SendMessageA(readOnly, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROPERTIES_READ_ONLY, BN_CLICKED), reinterpret_cast<LPARAM>(readOnly));
    EXPECT_TRUE(IsWindowEnabled(apply));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROPERTIES_APPLY, BN_CLICKED), reinterpret_cast<LPARAM>(apply));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(apply); }, 5000));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "the dialog stayed open";
    Settle();
    const DWORD attributes = GetFileAttributesA(file.string().c_str());
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(attributes & kept, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    // Wine derives the archive attribute itself (every regular file reports it); elsewhere it is gone.
    const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    if (!underWine) {
        EXPECT_EQ(attributes & FILE_ATTRIBUTE_ARCHIVE, 0u);
    }
    EXPECT_EQ(Column(m_report, 4)[row], (attributes & FILE_ATTRIBUTE_ARCHIVE) ? "RAS" : "RS")
        << "the row shows the file's attributes as they are now";
}

TEST_F(ExplorerE2eTest, ReportPrintsToAPostScriptFile)
{
    e2e::RemoveTestPrinter(kTestPrinter);
    ASSERT_TRUE(e2e::AddTestPrinter(kTestPrinter, "quenta_explorer_test.ppd"));
    ShowTab(2);
    ASSERT_GT(Rows(m_report), 0);
    const fs::path printed = kDriveFolder / "report.ps";
    fs::remove(printed);
    PostMessageA(Frame(), WM_COMMAND, ID_FILE_PRINT, 0);
    // The print dialog: to a file, then the file's name.
    HWND dialog = WaitForDialog([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, chx1); });
    ASSERT_NE(dialog, nullptr) << "no print dialog";
    Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_print_dialog")));
    SendMessageA(GetDlgItem(dialog, chx1), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND nameDialog = WaitForDialog([dialog](HWND w) {
        return w != dialog && ClassOf(w) == "#32770" && (GetDlgItem(w, cmb13) || GetDlgItem(w, edt1));
    });
    ASSERT_NE(nameDialog, nullptr) << "no file name asked";
    HWND name = GetDlgItem(nameDialog, cmb13) ? GetDlgItem(nameDialog, cmb13) : GetDlgItem(nameDialog, edt1);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(printed.string().c_str()));
    PostMessageA(nameDialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(nameDialog) && fs::exists(printed) && fs::file_size(printed) > 1000; }))
        << "nothing printed to " << printed;
    Settle();
    std::ifstream in(printed, std::ios::binary);
    std::string start(4, '\0');
    in.read(start.data(), 4);
    EXPECT_EQ(start, "%!PS");
    fs::copy_file(printed, WorkFolder() / "report.ps", fs::copy_options::overwrite_existing);
    e2e::RemoveTestPrinter(kTestPrinter);
}

TEST_F(ExplorerE2eTest, TreeTakesAThirdAndTheListsTheRestAtEverySize)
{
    ShowTab(2);
    HWND tree = FindDescendantById(m_form, IDC_EXPLORER_TREE);
    ASSERT_NE(tree, nullptr);
    RECT frame{};
    GetWindowRect(Frame(), &frame);
    auto placed = [&](HWND control) {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, m_form, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    auto check = [&](const char* when) {
        RECT form{};
        GetClientRect(m_form, &form);
        const RECT treeRect = placed(tree), tabsRect = placed(m_tabs), listRect = placed(m_report);
        EXPECT_NEAR(treeRect.right, form.right / 3, 2) << when;
        EXPECT_GT(tabsRect.left, treeRect.right) << when;
        EXPECT_NEAR(tabsRect.right, form.right, 8) << when;
        EXPECT_NEAR(treeRect.bottom, form.bottom, 8) << when;
        EXPECT_NEAR(listRect.bottom, form.bottom, 12) << when;
        EXPECT_GT(listRect.right - listRect.left, (form.right * 2) / 3 - 30) << when;
    };
    check("at first");
    SetWindowPos(Frame(), nullptr, 0, 0, frame.right - frame.left + 200, frame.bottom - frame.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    check("grown");
    SetWindowPos(Frame(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    check("back");
}

TEST_F(ExplorerE2eTest, CopyPutsTheSelectedFilesOnTheClipboard)
{
    ShowTab(2);
    const int first = RowNamed(m_report, "note12.txt"), second = RowNamed(m_report, "picture3.bmp");
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    Select(m_report, {first, second});
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    Command(ID_FILE_ACTION_COPY);
    std::vector<std::string> paths;
    ASSERT_TRUE(WaitFor([&] {
        paths.clear();
        if (!IsClipboardFormatAvailable(CF_HDROP) || !OpenClipboard(nullptr))
            return false;
        if (HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
            const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                char path[MAX_PATH] = "";
                DragQueryFileA(drop, i, path, MAX_PATH);
                paths.push_back(path);
            }
        }
        CloseClipboard();
        return !paths.empty();
    })) << "no files on the clipboard";
    const std::string folder = Files().string() + "\\";
    EXPECT_EQ(paths, (std::vector<std::string>{folder + "note12.txt", folder + "picture3.bmp"}));
}

TEST_F(ExplorerE2eTest, DeleteDoesNothingOnThePicturesTab)
{
    ShowTab(1);
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) == kPictureCount; }, 20000));
    Select(m_icons, {0});
    Command(ID_FILE_ACTION_DELETE);
    Settle();
    EXPECT_FALSE(WaitFor([&] { return FindWindowOfProcess(Quenta().Id(), [](HWND w) {
                                   return ClassOf(w) == "#32770" && GetDlgItem(w, IDYES);
                               }) != nullptr; }, 1500)) << "the shell was asked to delete";
    EXPECT_EQ(Rows(m_icons), kPictureCount);
    EXPECT_TRUE(fs::exists(Files() / "picture0.bmp"));
}

TEST_F(ExplorerE2eTest, ViewShowsTheSelectedPictureInTheViewer)
{
    ShowTab(1);
    ASSERT_TRUE(WaitFor([&] { return Rows(m_icons) == kPictureCount; }, 20000));
    Select(m_icons, {2});
    const std::vector<HWND> before = WindowsOfProcess(Quenta().Id());
    Command(ID_FILE_ACTION_VIEW);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND window : WindowsOfProcess(Quenta().Id()))
            if (std::find(before.begin(), before.end(), window) == before.end() && IsWindowVisible(window))
                viewer = window;
        return viewer != nullptr;
    })) << "no viewer window appeared";
    EXPECT_NE(CaptionOf(viewer), "Quenta - Message") << TextOf(GetDlgItem(viewer, 1000));
    EXPECT_EQ(CaptionOf(viewer), "Quenta - Picture Viewer");
    Settle(viewer);
    EXPECT_TRUE(SaveScreenBmp(Shot("explorer_viewer")));
}

TEST_F(ExplorerE2eTest, AFolderOfFoldersShowsNoIconsAndZeroObjects)
{
    const fs::path folders = kDriveFolder / "only_folders";
    fs::create_directories(folders / "one");
    fs::create_directories(folders / "two");
    struct Restore { // the other tests start in the folder of files
        ~Restore()
        {
            const std::string files = Files().string() + "\\";
            RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "CurrentPath", REG_SZ, files.c_str(),
                            static_cast<DWORD>(files.size() + 1));
        }
    } restore;
    const std::string path = folders.string() + "\\";
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "CurrentPath", REG_SZ, path.c_str(),
                    static_cast<DWORD>(path.size() + 1));
    m_icons = OpenModuleForm(kExplorerModule, IDC_EXPLORER_ICONS, WC_LISTVIEWA);
    ASSERT_NE(m_icons, nullptr);
    m_form = GetParent(m_icons);
    m_tabs = FindDescendantById(m_form, IDC_EXPLORER_TABS);
    ShowTab(0);
    EXPECT_EQ(Rows(m_icons), 0);
    // The main window's message pane (the status bar's first part).
    HWND status = FindDescendantByClass(Frame(), STATUSCLASSNAMEA);
    ASSERT_NE(status, nullptr);
    RemoteBuffer text(Quenta().Process(), 512);
    ASSERT_TRUE(text);
    std::string shown;
    EXPECT_TRUE(WaitFor([&] {
        char buffer[512] = "";
        SendMessageA(status, SB_GETTEXTA, 0, text.Address());
        text.Read(buffer, sizeof buffer);
        buffer[sizeof buffer - 1] = '\0';
        shown = buffer;
        return shown == "0 object";
    }, 5000)) << shown;
}
