// Drives the scanner acquisition of the real toolbox with Wine's own TWAIN manager and the test
// scanner, put for the run among the prefix's data sources (C:\\windows\\twain_64). A three-page
// scan adds three tabs holding the pages' pixels; closing the scanner's window closes the
// source but keeps the manager for the next acquisition; with the manager disabled, "Acquire"
// says error 0. Screenshots in English and French are kept in the build folder.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/acquire/test_scanner_pages.h"
#include "tests/e2e/support/quenta_e2e_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kAcquireModule = 16;
constexpr int kMessageText = 1000;
const char kMessageTitle[] = "Quenta - Message";
const char kScannerTitle[] = "Test Scanner";

fs::path WorkFolder() { return fs::path(ACQUIRE_WORK_DIR); }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }

// Wine's manager loads two data sources by name from the Windows folder's "twain_64":
// "sane.ds", whose place the test scanner takes for the run, and "gphoto2.ds", disabled for
// the run so that the test scanner is the default source.
std::string SourceFolder()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\twain_64";
}
std::string InstalledScanner() { return SourceFolder() + "\\sane.ds"; }
std::string KeptSource() { return SourceFolder() + "\\sane.ds.quenta-kept"; }
const char kSettingsKey[] = "Software\\Ostrel\\Quenta\\Acquire";
const char kOverridesKey[] = "Software\\Wine\\AppDefaults\\quenta.exe";

// Load-order overrides of quenta.exe for the run: the test scanner native, each named
// library disabled.
void DisableLibraries(std::initializer_list<const char*> names)
{
    HKEY key = nullptr;
    const std::string path = std::string(kOverridesKey) + "\\DllOverrides";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != 0)
        return;
    RegSetValueExA(key, "sane.ds", 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
    for (const char* name : names)
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegCloseKey(key);
}

// What quenta.exe (and the scanner in it) start with: three pages a scan.
void PrepareEnvironment()
{
    SetEnvironmentVariableA("QUENTA_TEST_SCANNER_PAGES", "3");
    if (const char* debug = std::getenv("ACQUIRE_WINEDEBUG"))
        SetEnvironmentVariableA("WINEDEBUG", debug);
}

bool ModuleLoaded(DWORD process, const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Module32First(snapshot, &entry); more && !found; more = Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, name) == 0;
    CloseHandle(snapshot);
    return found;
}

// The 24-bit pixels of a packed bitmap equal page `page` of the scanner.
::testing::AssertionResult IsPage(const std::vector<uint8_t>& dib, int page)
{
    if (dib.size() < sizeof(BITMAPINFOHEADER))
        return ::testing::AssertionFailure() << "no bitmap";
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    const int width = test_scanner::PageWidth(page), height = test_scanner::PageHeight(page);
    if (header.biWidth != width || std::abs(header.biHeight) != height || header.biBitCount != 24)
        return ::testing::AssertionFailure() << header.biWidth << " x " << header.biHeight << " at "
                                             << header.biBitCount << " bits, page " << page << " is " << width
                                             << " x " << height;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t bits = header.biSize + header.biClrUsed * 4;
    if (dib.size() < bits + stride * height)
        return ::testing::AssertionFailure() << "the bitmap is cut short";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int row = header.biHeight > 0 ? height - 1 - y : y;
            const uint8_t* got = &dib[bits + row * stride + x * 3];
            uint8_t want[3];
            test_scanner::PagePixel(page, x, y, want);
            if (std::memcmp(got, want, 3) != 0)
                return ::testing::AssertionFailure() << "page " << page << " differs at (" << x << ", " << y << ")";
        }
    return ::testing::AssertionSuccess();
}

// A folder of the build as the program sees it, on drive Z:.
std::string WindowsPath(const fs::path& path)
{
    std::string text = "Z:" + path.string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    return text;
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (std::FILE* in = std::fopen(path.c_str(), "rb")) {
        uint8_t block[65536];
        for (size_t got; (got = std::fread(block, 1, sizeof block, in)) > 0;)
            bytes.insert(bytes.end(), block, block + got);
        std::fclose(in);
    }
    return bytes;
}

std::vector<uint8_t> ClipboardDib()
{
    std::vector<uint8_t> dib;
    if (!OpenClipboard(nullptr))
        return dib;
    if (HANDLE data = GetClipboardData(CF_DIB))
        if (const auto* bytes = static_cast<const uint8_t*>(GlobalLock(data))) {
            dib.assign(bytes, bytes + GlobalSize(data));
            GlobalUnlock(data);
        }
    CloseClipboard();
    return dib;
}

class AcquireWithScanner : public ::testing::Test {
protected:
    // Puts the test scanner among the prefix's data sources.
    void SetUp() override
    {
        CreateDirectoryA(SourceFolder().c_str(), nullptr);
        if (GetFileAttributesA(KeptSource().c_str()) == INVALID_FILE_ATTRIBUTES)
            MoveFileA(InstalledScanner().c_str(), KeptSource().c_str());
        ASSERT_TRUE(CopyFileA(TEST_SCANNER_DS, InstalledScanner().c_str(), FALSE)) << InstalledScanner();
    }
    // Leaves the prefix as it was.
    void TearDown() override
    {
        m_quenta.Close();
        RegDeleteTreeA(HKEY_CURRENT_USER, kOverridesKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        DeleteFileA(InstalledScanner().c_str());
        MoveFileA(KeptSource().c_str(), InstalledScanner().c_str());
    }

    void Start(std::initializer_list<const char*> disabled)
    {
        const std::string exe = e2e::QuentaExe();
        DisableLibraries(disabled);
        PrepareEnvironment();
        ASSERT_TRUE(m_quenta.Start(exe, "/DEBUG")) << "the main window of " << exe << " did not appear";
        SendMessageA(m_quenta.Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + kAcquireModule, 0);
        e2e::Settle(m_quenta.Frame());
        ASSERT_TRUE(WaitFor([&] { return View() && Control(IDC_ACQUIRE_TABS); }, 5000)) << "no acquire form";
    }

    HWND View() const { return GetDlgItem(m_quenta.Frame(), e2e::kModuleView); }
    HWND Control(int id) const { return View() ? FindDescendantById(View(), id) : nullptr; }
    int Tabs() const { return static_cast<int>(SendMessageA(Control(IDC_ACQUIRE_TABS), TCM_GETITEMCOUNT, 0, 0)); }
    void Click(int id)
    {
        PostMessageA(Control(id), BM_CLICK, 0, 0);
        e2e::Settle(m_quenta.Frame());
    }
    HWND WindowTitled(const char* title) const
    {
        return FindWindowOfProcess(m_quenta.Id(), [title](HWND w) { return CaptionOf(w) == title; });
    }
    // Presses "Acquire..." and the scanner's "Scan", and waits for `tabs` tabs.
    ::testing::AssertionResult Scan(int tabs)
    {
        Click(IDC_ACQUIRE_ACQUIRE);
        HWND scanner = nullptr;
        if (!WaitFor([&] { return (scanner = WindowTitled(kScannerTitle)) != nullptr; }, 10000)) {
            HWND box = WindowTitled(kMessageTitle);
            return ::testing::AssertionFailure() << "the scanner's window did not show"
                                                 << (box ? ": " + TextOf(GetDlgItem(box, kMessageText)) : "");
        }
        // The scanner's "Scan" button, as a click tells it.
        PostMessageA(scanner, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(scanner, 1)));
        if (!WaitFor([&] { return Tabs() == tabs; }, 10000))
            return ::testing::AssertionFailure() << Tabs() << " tabs, not " << tabs;
        e2e::Settle(m_quenta.Frame());
        return ::testing::AssertionSuccess();
    }

    QuentaUnderTest m_quenta;
};

TEST_F(AcquireWithScanner, ThreePagesBecomeThreeTabsAndClosingTheScannerKeepsTheManager)
{
    Start({"gphoto2.ds"});
    ASSERT_FALSE(IsWindowEnabled(Control(IDC_ACQUIRE_SAVE))) << "nothing acquired yet";
    EXPECT_EQ(CaptionOf(Control(IDC_ACQUIRE_WIDTH)), "---");
    ASSERT_TRUE(Scan(3));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_ACQUIRE_SAVE)));
    EXPECT_EQ(CaptionOf(Control(IDC_ACQUIRE_WIDTH)), std::to_string(test_scanner::PageWidth(2)));
    EXPECT_EQ(CaptionOf(Control(IDC_ACQUIRE_HEIGHT)), std::to_string(test_scanner::PageHeight(2)));
    EXPECT_TRUE(SaveScreenBmp(Shot("acquire_en")));

    // Closing the scanner's own window closes the source; the manager stays loaded and open.
    HWND scanner = WindowTitled(kScannerTitle);
    ASSERT_TRUE(scanner);
    PostMessageA(scanner, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(scanner); }, 10000)) << "the source was not closed";
    EXPECT_TRUE(ModuleLoaded(m_quenta.Id(), "twain_32.dll"));

    // The next acquisition goes on from there: three more pages, numbered on.
    ASSERT_TRUE(Scan(6));

    // "Save..." writes the current page as a 24-bit bitmap and keeps its folder.
    const std::string folder = WindowsPath(WorkFolder() / "saved");
    const std::string file = folder + "\\page.bmp";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA(file.c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "SaveBMPDirectory"); // seen again only once written
    Click(IDC_ACQUIRE_SAVE);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = WindowTitled("Save")) != nullptr; }, 10000));
    HWND name = FindDescendantById(dialog, cmb13);
    if (!name)
        name = FindDescendantById(dialog, edt1);
    ASSERT_TRUE(name);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << file;
    // The folder is stored once the picture is written; the file shows before that.
    char stored[MAX_PATH] = "";
    EXPECT_TRUE(WaitFor([&] {
        DWORD size = sizeof stored;
        stored[0] = '\0';
        RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "SaveBMPDirectory", RRF_RT_REG_SZ, nullptr, stored, &size);
        return lstrcmpiA(stored, folder.c_str()) == 0;
    }, 10000)) << stored;
    e2e::Settle(m_quenta.Frame());
    const std::vector<uint8_t> bytes = FileBytes(file);
    ASSERT_GT(bytes.size(), sizeof(BITMAPFILEHEADER));
    EXPECT_TRUE(IsPage(std::vector<uint8_t>(bytes.begin() + sizeof(BITMAPFILEHEADER), bytes.end()), 2));

    // Each tab holds its page: the current one (the last) is copied, then removed.
    for (int page : {2, 1, 0, 2, 1, 0}) {
        OpenClipboard(nullptr);
        EmptyClipboard();
        CloseClipboard();
        const int before = Tabs();
        Click(IDC_ACQUIRE_COPY);
        // The toolbox answers in its own time: wait for the copy, then for the tab to go.
        WaitFor([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, 5000);
        EXPECT_TRUE(IsPage(ClipboardDib(), page)) << "tab " << Tabs();
        Click(IDC_ACQUIRE_DELETE);
        EXPECT_TRUE(WaitFor([&] { return Tabs() == before - 1; }, 5000)) << "tab " << Tabs();
    }
    EXPECT_EQ(Tabs(), 0);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_ACQUIRE_SAVE)));
}

TEST_F(AcquireWithScanner, SelectSourceShowsTheManagersChoiceAndUnloadsItAfter)
{
    Start({"gphoto2.ds"});
    Click(IDC_ACQUIRE_SELECT);
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (chooser = WindowTitled("Select Source")) != nullptr; }, 10000));
    HWND list = FindDescendantByClass(chooser, "ListBox");
    ASSERT_TRUE(list);
    wchar_t name[64] = L"";
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(name)); // carried across processes
    EXPECT_STREQ(name, L"Quenta Test Flatbed");
    e2e::Settle(chooser);
    EXPECT_TRUE(SaveScreenBmp(Shot("acquire_select_source")));
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(chooser); }, 5000));
    e2e::Settle(m_quenta.Frame());
    EXPECT_FALSE(ModuleLoaded(m_quenta.Id(), "twain_32.dll")) << "back to state 1: the manager unloaded";
}

// Run with Wine in French (CTest's acquire_e2e_french_test).
TEST_F(AcquireWithScanner, TheFormInFrench)
{
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_FRENCH) << "Wine does not run in French";
    Start({"gphoto2.ds"});
    ASSERT_TRUE(Scan(3));
    EXPECT_EQ(CaptionOf(Control(IDC_ACQUIRE_ACQUIRE)), "&Acqu\xE9rir...");
    EXPECT_TRUE(SaveScreenBmp(Shot("acquire_fr")));
}

TEST_F(AcquireWithScanner, WithoutAManagerAcquireSaysErrorZero)
{
    Start({"gphoto2.ds", "twain_32"});
    Click(IDC_ACQUIRE_ACQUIRE);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = WindowTitled(kMessageTitle)) != nullptr; }, 10000));
    const std::string text = TextOf(GetDlgItem(box, kMessageText));
    EXPECT_NE(text.find("A TWAIN error occurred."), std::string::npos) << text;
    EXPECT_NE(text.find("Error #0 : Unable to load or open Source Manager."), std::string::npos) << text;
    EXPECT_TRUE(SaveScreenBmp(Shot("acquire_no_manager")));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(ModuleLoaded(m_quenta.Id(), "twain_32.dll"));
}
} // namespace
