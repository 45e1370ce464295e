// Drives the disks module of the real toolbox on the test drive T: of a prefix whose only
// drives are C: and T:. The toolbox is copied to T: and started there (the prefix has no
// drive for the build folder). Screenshots go to T:\screenshots\, which the runner keeps.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

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
constexpr int kDisksModule = 11;
const char kProgram[] = "T:\\quenta\\quenta.exe";
const char kIcon[] = "T:\\Icons\\disk.ico";
// The colour dialog's red, green and blue edits (its full form).
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Wine keeps a fixed drive's label in this file of its root.
std::string LabelOfTestDrive()
{
    std::string label = ReadWhole("T:\\.windows-label");
    while (!label.empty() && (label.back() == '\n' || label.back() == '\r'))
        label.pop_back();
    return label;
}

// A 16 x 16 icon of one colour.
void WriteIcon(const std::string& path)
{
    std::string bytes;
    auto put16 = [&](uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    const uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put16(0), put16(1), put16(1);                         // icon directory, one image
    bytes += std::string{16, 16, 0, 0};                   // 16 x 16, no palette
    put16(1), put16(32), put32(imageSize), put32(6 + 16); // planes, bits, size, offset
    put32(40), put32(16), put32(32), put16(1), put16(32); // header: height counts the mask
    put32(0), put32(16 * 16 * 4 + 16 * 4), put32(0), put32(0), put32(0), put32(0);
    for (int i = 0; i < 16 * 16; ++i)
        put32(0xFF20A040); // opaque green
    bytes += std::string(16 * 4, '\0');                   // mask: all shown
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ScreenshotPath(const std::string& name)
{
    CreateDirectoryA("T:\\screenshots", nullptr);
    return "T:\\screenshots\\" + name + ".bmp";
}

// The registry keys a disks scenario could touch: the user's and the machine's software. Wine
// keeps volatile notes of its own under "Temporary System Parameters" when the display-change
// broadcast reaches its desktop; they are no setting and are left out.
e2e::RegistrySnapshot SnapshotSoftware()
{
    e2e::RegistrySnapshot snapshot = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software", "HKCU\\Software");
    for (auto& entry : e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, "Software", "HKLM\\Software"))
        snapshot.insert(std::move(entry));
    std::erase_if(snapshot, [](const auto& entry) {
        return entry.first.rfind("HKCU\\Software\\Wine\\Temporary System Parameters", 0) == 0;
    });
    return snapshot;
}

class DisksE2eTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CreateDirectoryA("T:\\quenta", nullptr);
        CreateDirectoryA("T:\\Icons", nullptr);
        const std::string built = std::string("\\\\?\\unix") + QUENTA_BINARY_DIR + "/bin/quenta.exe";
        s_copied = CopyFileA(built.c_str(), kProgram, FALSE) != FALSE;
        WriteIcon(kIcon);
        s_quenta = new QuentaUnderTest;
        s_started = s_copied && s_quenta->Start(kProgram, "/DEBUG");
    }
    static void TearDownTestSuite()
    {
        delete s_quenta;
        s_quenta = nullptr;
    }

    void SetUp() override
    {
        ASSERT_EQ(GetLogicalDrives(), (1u << ('C' - 'A')) | (1u << ('T' - 'A')))
            << "run through tools/wine-run-test-drives.sh";
        ASSERT_TRUE(s_copied) << "quenta.exe could not be copied to " << kProgram;
        ASSERT_TRUE(s_started && s_quenta->Running()) << "the main window of " << kProgram << " did not appear";
        s_quenta->CloseOtherWindows();
        HWND frame = s_quenta->Frame();
        for (int module : {e2e::kBlankModule, kDisksModule}) {
            SendMessageA(frame, WM_COMMAND, ID_SWITCH_MODULE_FIRST + module, 0);
            e2e::Settle(frame);
        }
        ASSERT_TRUE(WaitFor([&] {
            HWND view = GetDlgItem(frame, e2e::kModuleView);
            m_list = view ? FindDescendantById(view, IDC_DISK_LIST) : nullptr;
            return m_list && ClassOf(m_list) == WC_LISTVIEWA && SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0) > 0;
        }, 5000)) << "the disks form with its list did not appear";
        m_form = GetParent(m_list);
    }

    HWND Control(int id) const { return GetDlgItem(m_form, id); }
    std::vector<std::string> Column(int column) const { return e2e::ListColumnTexts(s_quenta->Process(), m_list, column); }
    void Settle() const { e2e::Settle(s_quenta->Frame()); }

    void SelectRow(int row)
    {
        RECT rect{};
        ASSERT_TRUE(e2e::RemoteRect(s_quenta->Process(), m_list, LVM_GETITEMRECT, row, rect, LVIR_LABEL));
        e2e::ClickAt(m_list, rect);
        ASSERT_TRUE(WaitFor([&] { return SendMessageA(m_list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == row; }, 5000));
        Settle();
    }

    int RowOfLetter(const std::string& letter) const
    {
        const std::vector<std::string> letters = Column(1);
        for (size_t row = 0; row < letters.size(); ++row)
            if (letters[row] == letter)
                return static_cast<int>(row);
        return -1;
    }

    void ClickApply()
    {
        ASSERT_TRUE(IsWindowEnabled(Control(IDC_DISK_APPLY)));
        SendMessageA(Control(IDC_DISK_APPLY), BM_CLICK, 0, 0);
        Settle();
        EXPECT_FALSE(IsWindowEnabled(Control(IDC_DISK_APPLY))) << "Apply disables itself once written";
    }

    HWND WaitForWindow(const std::function<bool(HWND)>& matches) const
    {
        HWND found = nullptr;
        WaitFor([&] { return (found = FindWindowOfProcess(s_quenta->Id(), matches)) != nullptr; }, 10000);
        return found;
    }

    static inline QuentaUnderTest* s_quenta = nullptr;
    static inline bool s_started = false, s_copied = false;
    HWND m_list = nullptr, m_form = nullptr;
};

TEST_F(DisksE2eTest, RowsForBothDrivesWithSizesInMegabytes)
{
    ASSERT_EQ(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"C:", "T:"}));
    const std::vector<std::string> sizes = Column(3), free = Column(4);
    for (int row = 0; row < 2; ++row) {
        const std::string root = Column(1)[row] + "\\";
        ULARGE_INTEGER available{}, total{}, freeBytes{};
        ASSERT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &freeBytes));
        const std::string digits = std::to_string(total.QuadPart >> 20);
        std::string expected;
        for (size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                expected += ',';
            expected += digits[i];
        }
        EXPECT_EQ(sizes[row], expected + " Mb") << root;
        EXPECT_EQ(free[row].substr(free[row].size() - 3), " Mb") << root;
    }
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Local Disk", "Local Disk"}));
    EXPECT_TRUE(SaveScreenBmp(ScreenshotPath("disks_e2e_en")));
}

TEST_F(DisksE2eTest, LabelAndIconsAreWrittenAndNothingElse)
{
    DeleteFileA("T:\\autorun.inf");
    const int row = RowOfLetter("T:");
    ASSERT_GE(row, 0);
    SelectRow(row);
    ASSERT_TRUE(IsWindowEnabled(Control(IDC_DISK_LABEL)));
    // Applying writes files of the drive and its label, never the registry. (The system's file
    // dialog keeps its own history there, so each Apply is checked on its own.)
    e2e::RegistrySnapshot before = SnapshotSoftware();
    const auto expectNoRegistryChange = [&before] {
        const e2e::RegistrySnapshot after = SnapshotSoftware();
        EXPECT_TRUE(e2e::ChangedKeys(before, after).empty()) << e2e::DescribeChanges(before, after);
    };

    // A label of 15 characters is stored as its first 11.
    SendMessageA(Control(IDC_DISK_LABEL), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("QuentaTestDisk1"));
    Settle();
    ClickApply();
    EXPECT_EQ(LabelOfTestDrive(), "QuentaTestD");
    EXPECT_EQ(Column(0)[row], "Quentatestd");
    EXPECT_FALSE(GetFileAttributesA("T:\\autorun.inf") != INVALID_FILE_ATTRIBUTES) << "no icon change, no icon file";
    expectNoRegistryChange();

    // An icon on the same drive, through the icon picker and its file dialog: relative path.
    PostMessageA(Control(IDC_DISK_CHANGE), BM_CLICK, 0, 0);
    HWND picker = WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDC_ICONPICKER_BROWSE); });
    ASSERT_NE(picker, nullptr) << "no icon picker";
    PostMessageA(GetDlgItem(picker, IDC_ICONPICKER_BROWSE), BM_CLICK, 0, 0);
    HWND open = WaitForWindow([picker](HWND w) {
        return w != picker && ClassOf(w) == "#32770" && (GetDlgItem(w, cmb13) || GetDlgItem(w, edt1));
    });
    ASSERT_NE(open, nullptr) << "no file dialog";
    HWND name = GetDlgItem(open, cmb13) ? GetDlgItem(open, cmb13) : GetDlgItem(open, edt1);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kIcon));
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(open) && IsWindowEnabled(GetDlgItem(picker, IDC_ICONPICKER_APPLY)); }));
    PostMessageA(GetDlgItem(picker, IDC_ICONPICKER_APPLY), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(picker); }));
    Settle();
    before = SnapshotSoftware();
    ClickApply();
    EXPECT_EQ(ReadWhole("T:\\autorun.inf"), "[autorun]\r\nICON=Icons\\disk.ico,0\r\n");

    // The default icon lies on C:: its full path.
    SendMessageA(Control(IDC_DISK_RESET), BM_CLICK, 0, 0);
    Settle();
    ClickApply();
    const std::string text = ReadWhole("T:\\autorun.inf");
    EXPECT_EQ(text.rfind("[autorun]\r\nICON=C:\\", 0), 0u) << text;
    EXPECT_NE(text.find("\\shell32.dll,8\r\n"), std::string::npos) << text;
    EXPECT_EQ(GetFileAttributesA("T:\\autorun.qn~"), INVALID_FILE_ATTRIBUTES);

    expectNoRegistryChange();
    EXPECT_TRUE(SaveScreenBmp(ScreenshotPath("disks_e2e_applied")));
}

TEST_F(DisksE2eTest, PropertiesShowTheSharesAndStoreAColourAtOnce)
{
    // The dialog starts from the default colours (red free, blue used).
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quenta", "FreeColor");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quenta", "UsedColor");
    SelectRow(RowOfLetter("T:"));
    PostMessageA(m_form, WM_COMMAND, ID_DISK_PROPERTIES, 0);
    HWND dialog = WaitForWindow([](HWND w) { return ClassOf(w) == "#32770" && GetDlgItem(w, IDC_DISKPROP_CHART); });
    ASSERT_NE(dialog, nullptr) << "no properties dialog";
    e2e::Settle(dialog);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_DISKPROP_FREE_LABEL)), "Free :");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_DISKPROP_USED_LABEL)), "Used :");
    const std::string free = TextOf(GetDlgItem(dialog, IDC_DISKPROP_FREE));
    const std::string used = TextOf(GetDlgItem(dialog, IDC_DISKPROP_USED));
    const auto percent = [](const std::string& text) { return std::atoi(text.substr(text.rfind('(') + 1).c_str()); };
    EXPECT_EQ(percent(free) + percent(used), 100) << free << " / " << used;
    EXPECT_NE(TextOf(GetDlgItem(dialog, IDC_DISKPROP_HEADING)).find("(T:\\)"), std::string::npos);
    EXPECT_TRUE(SaveScreenBmp(ScreenshotPath("disks_e2e_properties")));

    // A new free colour through the colour dialog is stored at once, and only the colours.
    const e2e::RegistrySnapshot before = SnapshotSoftware();
    PostMessageA(GetDlgItem(dialog, IDC_DISKPROP_FREE_COLOR), WM_KEYDOWN, VK_SPACE, 0);
    HWND colours = WaitForWindow([dialog](HWND w) { return w != dialog && ClassOf(w) == "#32770" && GetDlgItem(w, kColourRed); });
    ASSERT_NE(colours, nullptr) << "no colour dialog";
    for (const auto& [id, value] : {std::pair{kColourRed, "0"}, {kColourGreen, "128"}, {kColourBlue, "64"}})
        SendMessageA(GetDlgItem(colours, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
    PostMessageA(colours, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(colours); }));
    e2e::Settle(dialog);
    char stored[32] = "";
    DWORD size = sizeof stored;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Quenta", "FreeColor", RRF_RT_REG_SZ, nullptr, stored,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(stored), std::to_string(RGB(0, 128, 64)));
    const e2e::RegistrySnapshot after = SnapshotSoftware();
    EXPECT_EQ(e2e::ChangedKeys(before, after), (std::set<std::string>{"HKCU\\Software\\Ostrel\\Quenta"}))
        << e2e::DescribeChanges(before, after);
    const e2e::RegistryValues& product = after.at("HKCU\\Software\\Ostrel\\Quenta");
    EXPECT_EQ(product.at("UsedColor"), "1:" + std::to_string(RGB(0, 0, 255))) << "the other colour as it was";
    for (const auto& [name, value] : product)
        if (name != "FreeColor" && name != "UsedColor") {
            EXPECT_EQ(before.at("HKCU\\Software\\Ostrel\\Quenta").at(name), value) << name;
        }
    PostMessageA(GetDlgItem(dialog, IDC_DISKPROP_CLOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
}
} // namespace
