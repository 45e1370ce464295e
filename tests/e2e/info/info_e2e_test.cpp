// Drives the system, Windows and font information of the real toolbox: the processor rows on a
// Wine that reports Windows 7 and on one set to report Windows 98, the Windows key each reads,
// the "System DLL" tab examined once however often it is opened, the font list drawn in each
// family's own face (measured on the screen), the font viewer and its stored size, the print
// choice, and registry snapshots around each scenario that differ exactly in the named keys.
// Screenshots of every module are kept in the build folder (the French ones come from the views' own
// test, tests/systools/info/info_views_win_test.cpp).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/command.h"
#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kWindowsModule = 2;
constexpr int kSystemModule = 7;
constexpr int kFontsModule = 10;
constexpr int kFaceHeight = 18; // the font list's face height
const char kProductKey[] = "Software\\Ostrel\\Quenta";
const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char kNineKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "info"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }

// The registry a scenario could touch: the user's software settings and the two Windows keys.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot snapshot = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software", "HKCU\\Software");
    for (const char* key : {kNtKey, kNineKey})
        snapshot.merge(e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, key, std::string("HKLM\\") + key));
    // Wine keeps the session's volatile system parameters here while windows come and go.
    std::erase_if(snapshot, [](const auto& entry) {
        return entry.first.rfind("HKCU\\Software\\Wine\\Temporary System Parameters", 0) == 0;
    });
    return snapshot;
}

std::set<std::string> Keys(std::initializer_list<const char*> sections)
{
    std::set<std::string> keys;
    for (const char* section : sections)
        keys.insert(std::string("HKCU\\") + kProductKey + "\\" + section);
    return keys;
}

std::string ReadText(HKEY root, const char* key, const char* name, bool* found = nullptr)
{
    char text[1024] = "";
    DWORD size = sizeof text;
    const bool ok = RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS;
    if (found)
        *found = ok;
    return ok ? text : "";
}

std::string ProductSetting(const char* section, const char* name, bool* found = nullptr)
{
    return ReadText(HKEY_CURRENT_USER, (std::string(kProductKey) + "\\" + section).c_str(), name, found);
}

std::string RevisionText(const SYSTEM_INFO& system)
{
    char text[64];
    std::snprintf(text, sizeof text, "Model %d, Stepping %d", system.wProcessorRevision >> 8,
                  system.wProcessorRevision & 0xFF);
    return text;
}

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data)
{
    reinterpret_cast<std::vector<LOGFONTA>*>(data)->push_back(*font);
    return 1;
}

// The installed families as the test sees them (the first entry of each name).
std::vector<LOGFONTA> Families()
{
    std::vector<LOGFONTA> all;
    HDC screen = GetDC(nullptr);
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(screen, &query, CollectFamily, reinterpret_cast<LPARAM>(&all), 0);
    ReleaseDC(nullptr, screen);
    return all;
}

// The width a text takes in a face at the list's height.
int TextWidthIn(const LOGFONTA& family, const std::string& text)
{
    LOGFONTA description{};
    description.lfHeight = -kFaceHeight;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = family.lfCharSet;
    lstrcpynA(description.lfFaceName, family.lfFaceName, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&description);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return size.cx;
}

// Horizontal extent of the dark pixels (text ink) in a screen rectangle; 0 when there is none.
int InkWidth(const ScreenCapture& screen, const RECT& area)
{
    int left = area.right, right = area.left - 1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = screen.At(x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    return right >= left ? right - left + 1 : 0;
}

// The height of the first line of ink from the top of a window's client area.
int FirstInkLineHeight(HWND window)
{
    RECT area{};
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const ScreenCapture screen;
    int first = -1;
    for (int y = area.top; y < area.bottom; ++y) {
        RECT row{area.left, y, area.right, y + 1};
        const bool ink = InkWidth(screen, row) > 0;
        if (ink && first < 0)
            first = y;
        if (!ink && first >= 0)
            return y - first;
    }
    return first < 0 ? 0 : area.bottom - first;
}

class InfoSuite : public QuentaSuite {
protected:
    static std::vector<std::string> Column(HWND list, int column)
    {
        return e2e::ListColumnTexts(Quenta().Process(), list, column);
    }

    static HWND FormList(int module, int listId)
    {
        HWND list = OpenModuleForm(module, listId, WC_LISTVIEWA);
        if (list)
            WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0; }, 20000);
        return list;
    }

    static HWND WindowCaptioned(const std::string& caption, int timeoutMs = 10000)
    {
        HWND found = nullptr;
        WaitFor(
            [&] {
                found = FindWindowOfProcess(GetProcessId(Quenta().Process()),
                                            [&](HWND w) { return IsWindowVisible(w) && CaptionOf(w) == caption; });
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }

    static void ClickTab(HWND tabs, int tab)
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), tabs, TCM_GETITEMRECT, tab, rect));
        e2e::ClickAt(tabs, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 60000)) << "tab " << tab;
        e2e::Settle(Frame());
    }

    // The rows the system information shows, checked against what this process is told.
    static void CheckSystemRows(bool revisionRow)
    {
        HWND list = FormList(kSystemModule, IDC_SYSINFO_LIST);
        ASSERT_NE(list, nullptr) << "the system information has no list";
        const std::vector<std::string> names = Column(list, 0), values = Column(list, 1);
        ASSERT_EQ(names.size(), revisionRow ? 15u : 14u);
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        size_t row = 0;
        EXPECT_EQ(names[row++], "Processor Architecture");
        if (revisionRow) {
            EXPECT_EQ(names[row], "Processor revision");
            EXPECT_EQ(values[row++], RevisionText(system));
        }
        EXPECT_EQ(names[row], "# of processor(s)");
        EXPECT_EQ(values[row++], std::to_string(system.dwNumberOfProcessors));
        EXPECT_EQ(names[row], "Alloc. granularity");
        EXPECT_EQ(values[row++], std::to_string(system.dwAllocationGranularity));
        EXPECT_EQ(names[row], "Page size");
        EXPECT_EQ(values[row++], std::to_string(system.dwPageSize));
        EXPECT_EQ(names[row++], "Min. application address");
        EXPECT_EQ(names[row], "Max. application address");
        char address[64];
        std::snprintf(address, sizeof address, "0x%llX", static_cast<unsigned long long>(
                                                             reinterpret_cast<uintptr_t>(system.lpMaximumApplicationAddress)));
        EXPECT_EQ(values[row++].rfind(address, 0), 0u) << "the whole address, never cut to 32 bits";
        EXPECT_EQ(names[row], "");
        EXPECT_EQ(values[row++], "");
        EXPECT_EQ(names[row], "% of memory in use");
        EXPECT_NE(values[row++].find(" %"), std::string::npos);
        EXPECT_EQ(names[row], "Physical Memory");
        EXPECT_NE(values[row].find(" bytes)"), std::string::npos) << values[row];
        EXPECT_EQ(names.back(), "Free user memory");
    }

    // The information list's value of the row named `name`; nothing when there is no such row.
    static std::optional<std::string> InfoValue(HWND list, const std::string& name)
    {
        const std::vector<std::string> names = Column(list, 0), values = Column(list, 1);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name)
                return values[i];
        return std::nullopt;
    }
};

// ---- Wine as it comes: Windows 7 -------------------------------------------------------------

class InfoOnWindows7 : public InfoSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(WorkFolder());
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kProductKey) + "\\FontViewer").c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kProductKey) + "\\WinInfoPrint").c_str());
        QuentaSuite::SetUpTestSuite();
    }
};

TEST_F(InfoOnWindows7, SystemInformationNamesTheProcessorWithItsRevision)
{
    const e2e::RegistrySnapshot before = Snapshot();
    CheckSystemRows(true);
    EXPECT_TRUE(SaveScreenBmp(Shot("sysinfo_en")));
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(InfoOnWindows7, WindowsInformationReadsTheNtKey)
{
    const e2e::RegistrySnapshot before = Snapshot();
    HWND list = FormList(kWindowsModule, IDC_WININFO_LIST);
    ASSERT_NE(list, nullptr) << "the Windows information has no information list";
    EXPECT_EQ(InfoValue(list, "Product Name"), ReadText(HKEY_LOCAL_MACHINE, kNtKey, "ProductName"));
    EXPECT_EQ(InfoValue(list, "Version #"), ReadText(HKEY_LOCAL_MACHINE, kNtKey, "CurrentVersion"));
    EXPECT_EQ(InfoValue(list, "Build Version #"), ReadText(HKEY_LOCAL_MACHINE, kNtKey, "CurrentBuildNumber"));
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL), width = GetDeviceCaps(screen, HORZRES);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(InfoValue(list, "Screen BPP"), std::to_string(bits));
    EXPECT_EQ(InfoValue(list, "Workbench Width"), std::to_string(width));
    const std::optional<std::string> frequency = InfoValue(list, "Frequency");
    ASSERT_TRUE(frequency.has_value()) << "the NT family shows the display frequency";
    EXPECT_EQ(frequency->substr(frequency->size() - 3), " Hz");
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(InfoValue(list, "Windows Directory"), std::string(windows));
    HWND view = GetParent(list);
    EXPECT_EQ(TextOf(FindDescendantById(view, IDC_WININFO_OWNER)), ReadText(HKEY_LOCAL_MACHINE, kNtKey, "RegisteredOwner"));
    EXPECT_TRUE(SaveScreenBmp(Shot("wininfo_en")));
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
}

TEST_F(InfoOnWindows7, SystemDllTabIsExaminedOnceHoweverOftenItIsOpened)
{
    HWND list = FormList(kWindowsModule, IDC_WININFO_LIST);
    ASSERT_NE(list, nullptr);
    HWND view = GetParent(list);
    HWND tabs = FindDescendantById(view, IDC_WININFO_TABS);
    HWND files = FindDescendantById(view, IDC_WININFO_FILES);
    ASSERT_TRUE(tabs && files);
    ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);

    const auto start = std::chrono::steady_clock::now();
    ClickTab(tabs, 1);
    // The files appear at once when all of them have been examined.
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(files, LVM_GETITEMCOUNT, 0, 0) > 0; }, 60000));
    const double firstSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("System DLL tab examined in %.1f s\n", firstSeconds);
    const std::vector<std::string> first = Column(files, 0);
    ASSERT_GT(first.size(), 20u);
    EXPECT_NE(std::find(first.begin(), first.end(), "kernel32.dll"), first.end());
    const std::vector<std::string> versions = Column(files, 1);
    EXPECT_NE(std::count_if(versions.begin(), versions.end(), [](const std::string& v) { return !v.empty(); }), 0)
        << "version texts";

    // A DLL that appears after the first visit is not seen: the files are not examined again.
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    const fs::path probe = fs::path(windows) / "quenta_info_probe.dll";
    std::ofstream(probe, std::ios::binary) << "MZ";
    ClickTab(tabs, 0);
    ClickTab(tabs, 1);
    WaitFor([&] { return SendMessageA(files, LVM_GETITEMCOUNT, 0, 0) > 0; }, 5000);
    EXPECT_EQ(SendMessageA(files, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(first.size()));
    // Nor after the module was left and shown again.
    list = FormList(kWindowsModule, IDC_WININFO_LIST);
    ASSERT_NE(list, nullptr);
    view = GetParent(list);
    tabs = FindDescendantById(view, IDC_WININFO_TABS);
    files = FindDescendantById(view, IDC_WININFO_FILES);
    const auto again = std::chrono::steady_clock::now();
    ClickTab(tabs, 1);
    WaitFor([&] { return SendMessageA(files, LVM_GETITEMCOUNT, 0, 0) > 0; }, 5000);
    std::printf("System DLL tab shown again in %.1f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - again).count());
    EXPECT_EQ(Column(files, 0), first);
    EXPECT_TRUE(SaveScreenBmp(Shot("wininfo_system_dll_en")));
    std::error_code ignored;
    fs::remove(probe, ignored);
}

TEST_F(InfoOnWindows7, FontListDrawsEachFamilyInItsOwnFace)
{
    HWND list = FormList(kFontsModule, IDC_FONTS_LIST);
    ASSERT_NE(list, nullptr) << "the fonts module has no list";
    const std::vector<std::string> names = Column(list, 0);
    // Every family once, by name.
    std::vector<std::string> expected;
    for (const LOGFONTA& family : Families())
        if (family.lfFaceName[0] != '@')
            expected.push_back(family.lfFaceName);
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    expected.erase(std::unique(expected.begin(), expected.end(),
                               [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }),
                   expected.end());
    ASSERT_EQ(names.size(), expected.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(lstrcmpiA(names[i].c_str(), expected[i].c_str()), 0) << i;

    // On the screen, each visible row's text is as wide as its name in its own face.
    e2e::Settle(Frame());
    const ScreenCapture screen;
    EXPECT_TRUE(screen.SaveBmp(Shot("fonts_en")));
    // A row in Tahoma would not tell its face from the list's usual one: only rows whose face
    // gives a clearly different width are measured.
    LOGFONTA tahoma{};
    lstrcpyA(tahoma.lfFaceName, "Tahoma");
    tahoma.lfCharSet = DEFAULT_CHARSET;
    const int visible = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    const std::vector<LOGFONTA> families = Families();
    int measured = 0;
    for (int row = 0; row < std::min<int>(visible, static_cast<int>(names.size())); ++row) {
        auto family = std::find_if(families.begin(), families.end(),
                                   [&](const LOGFONTA& f) { return lstrcmpiA(f.lfFaceName, names[row].c_str()) == 0; });
        if (family == families.end() || family->lfCharSet == SYMBOL_CHARSET)
            continue; // a symbol face draws pictures, not letters of a width to compare
        const int inFace = TextWidthIn(*family, names[row]);
        const int inTahoma = TextWidthIn(tahoma, names[row]);
        if (std::abs(inFace - inTahoma) < 8)
            continue; // the row could not tell the two faces apart
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        InflateRect(&rect, -2, -2); // clear of a focus rectangle
        const int ink = InkWidth(screen, rect);
        EXPECT_LE(std::abs(ink - inFace), std::max(6, inFace / 10)) << names[row] << ": " << ink << " px of ink, " << inFace << " in its face, "
                                    << inTahoma << " in Tahoma";
        EXPECT_LT(std::abs(ink - inFace), std::abs(ink - inTahoma)) << names[row];
        ++measured;
    }
    EXPECT_GE(measured, 3) << "too few rows whose face differs from Tahoma";
}

TEST_F(InfoOnWindows7, FontViewerShowsEveryCharacterAndKeepsItsSize)
{
    HWND list = FormList(kFontsModule, IDC_FONTS_LIST);
    ASSERT_NE(list, nullptr);
    const std::vector<std::string> names = Column(list, 0);
    const auto tahoma = std::find(names.begin(), names.end(), "Tahoma");
    ASSERT_NE(tahoma, names.end());
    const int row = static_cast<int>(tahoma - names.begin());
    const e2e::RegistrySnapshot before = Snapshot();
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    e2e::Settle(Frame());
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
    e2e::ClickAt(list, rect, true);
    HWND viewer = WindowCaptioned("Quenta - Font Viewer");
    ASSERT_NE(viewer, nullptr) << "a double click on a row opens the font viewer";
    EXPECT_EQ(TextOf(GetDlgItem(viewer, IDC_FONT_VIEWER_NAME)), "Tahoma");
    HWND text = GetDlgItem(viewer, IDC_FONT_VIEWER_TEXT);
    HWND size = GetDlgItem(viewer, IDC_FONT_VIEWER_SIZE);
    const std::string characters = TextOf(text);
    ASSERT_EQ(characters.size(), 255u);
    for (size_t i = 0; i < characters.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(characters[i]), i + 1);
    EXPECT_EQ(TextOf(size), "16");
    const int line16 = FirstInkLineHeight(text);
    SetWindowTextA(size, "60");
    e2e::Settle(viewer);
    const int line60 = FirstInkLineHeight(text);
    EXPECT_GT(line60, 2 * line16) << "the characters are redrawn at the new height at once";
    SaveScreenBmp(Shot("font_viewer_en"));
    SetWindowTextA(size, "999");
    e2e::Settle(viewer);
    EXPECT_EQ(TextOf(size), "400");
    SetWindowTextA(size, "60");
    e2e::Settle(viewer);
    PostMessageA(viewer, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(viewer); }, 5000));
    EXPECT_EQ(ProductSetting("FontViewer", "Size"), "60");
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_EQ(e2e::ChangedKeys(before, after), Keys({"FontViewer"})) << e2e::DescribeChanges(before, after);
}

TEST_F(InfoOnWindows7, PrintChoiceIsPreselectedAndStoredOnlyOnOk)
{
    HWND list = FormList(kWindowsModule, IDC_WININFO_LIST);
    ASSERT_NE(list, nullptr);
    const e2e::RegistrySnapshot before = Snapshot();
    PostMessageA(Frame(), WM_COMMAND, ID_FILE_PRINT, 0);
    HWND choice = WindowCaptioned("Ostrel Quenta");
    ASSERT_NE(choice, nullptr) << "Print asks what to print first";
    EXPECT_EQ(SendMessageA(GetDlgItem(choice, IDC_WININFO_PRINT_INFORMATION), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(GetDlgItem(choice, IDC_WININFO_PRINT_FILES), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(SaveScreenBmp(Shot("print_choice_en")));
    PostMessageA(choice, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(choice); }, 5000));
    e2e::Settle(Frame());
    bool stored = true;
    ProductSetting("WinInfoPrint", "WindowsInformation", &stored);
    EXPECT_FALSE(stored) << "Cancel stores nothing";
    EXPECT_EQ(WindowsOfProcess(GetProcessId(Quenta().Process())).size(), 1u) << "Cancel prints nothing";

    PostMessageA(Frame(), WM_COMMAND, ID_FILE_PRINT, 0);
    choice = WindowCaptioned("Ostrel Quenta");
    ASSERT_NE(choice, nullptr);
    SendMessageA(GetDlgItem(choice, IDC_WININFO_PRINT_FILES), BM_CLICK, 0, 0);
    PostMessageA(choice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(choice); }, 5000));
    EXPECT_EQ(ProductSetting("WinInfoPrint", "WindowsInformation"), "0");
    // Printing goes on: the printer dialog (or the message that there is no printer) comes up.
    const DWORD process = GetProcessId(Quenta().Process());
    EXPECT_TRUE(WaitFor([&] { return WindowsOfProcess(process).size() > 1; }, 5000));
    Quenta().CloseOtherWindows();
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_EQ(e2e::ChangedKeys(before, after), Keys({"WinInfoPrint"})) << e2e::DescribeChanges(before, after);

    // The next choice starts from the stored one.
    PostMessageA(Frame(), WM_COMMAND, ID_FILE_PRINT, 0);
    choice = WindowCaptioned("Ostrel Quenta");
    std::string open;
    for (HWND window : WindowsOfProcess(GetProcessId(Quenta().Process())))
        open += "\"" + CaptionOf(window) + "\" ";
    ASSERT_NE(choice, nullptr) << "windows: " << open;
    EXPECT_EQ(SendMessageA(GetDlgItem(choice, IDC_WININFO_PRINT_FILES), BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageA(choice, WM_COMMAND, IDCANCEL, 0);
    WaitFor([&] { return !IsWindow(choice); }, 5000);
}

// ---- Wine set to report Windows 98 -----------------------------------------------------------

// The version Wine reports to every program of the prefix; the suite puts back what was there.
class InfoOnWindows98 : public InfoSuite {
protected:
    static void SetUpTestSuite()
    {
        s_earlierVersion = ReadText(HKEY_CURRENT_USER, "Software\\Wine", "Version", &s_hadVersion);
        RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine", "Version", REG_SZ, "win98", 6);
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        if (s_hadVersion)
            RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine", "Version", REG_SZ, s_earlierVersion.c_str(),
                            static_cast<DWORD>(s_earlierVersion.size() + 1));
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Wine", "Version");
    }

private:
    static inline std::string s_earlierVersion;
    static inline bool s_hadVersion = false;
};

TEST_F(InfoOnWindows98, SystemInformationHasNoRevisionRow)
{
    CheckSystemRows(false);
    EXPECT_TRUE(SaveScreenBmp(Shot("sysinfo_win98")));
}

TEST_F(InfoOnWindows98, WindowsInformationReadsThe9xKey)
{
    HWND list = FormList(kWindowsModule, IDC_WININFO_LIST);
    ASSERT_NE(list, nullptr);
    bool named = false;
    const std::string product = ReadText(HKEY_LOCAL_MACHINE, kNineKey, "ProductName", &named);
    EXPECT_EQ(InfoValue(list, "Product Name"), named ? product : std::string("Windows"));
    EXPECT_EQ(InfoValue(list, "Version #"), ReadText(HKEY_LOCAL_MACHINE, kNineKey, "VersionNumber"));
    EXPECT_FALSE(InfoValue(list, "Frequency").has_value()) << "95/98/Me show no display frequency";
    EXPECT_TRUE(InfoValue(list, "Screen BPP").has_value());
    EXPECT_TRUE(SaveScreenBmp(Shot("wininfo_win98")));
}

} // namespace
