// The disks module under Wine, in a prefix whose only drives are C: and the test drive T:
// (tools/wine-run-test-drives.sh): the drive list and free space of the real drives, label
// and icon written on T:, the properties dialog with its pie chart, and the view over a disk
// system in memory (selection rules, sizes, sorting, Apply and its failure). Screenshots of the
// view and the dialog in English and French go to T:\screenshots\.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/message.h"
#include "app/settings.h"
#include "base/text.h"
#include "systools/disks/disk_free_space.h"
#include "systools/disks/disk_info_view_win.h"
#include "systools/disks/disk_operations.h"
#include "systools/disks/disk_properties_dlg_win.h"
#include "systools/disks/disk_system_win.h"
#include "res/resource.h"
#include "tests/e2e/support/screen_win.h"
#include "tests/systools/disks/fake_disk_system.h"

namespace {
std::vector<std::string> g_messages;

MessageAnswer RecordMessage(const std::string& text, MessageButtons)
{
    g_messages.push_back(text);
    return MessageAnswer::Ok;
}

std::string ScreenshotPath(const std::string& name)
{
    CreateDirectoryA("T:\\screenshots", nullptr);
    return "T:\\screenshots\\" + name + ".bmp";
}

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveFile(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// Wine keeps a fixed drive's label in this file of its root; the running process keeps seeing
// the label it started with.
std::string LabelOfTestDrive()
{
    std::string label = ReadWhole("T:\\.windows-label");
    while (!label.empty() && (label.back() == '\n' || label.back() == '\r'))
        label.pop_back();
    return label;
}

std::string ItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class DisksWin : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(RecordMessage);
    }

    void SetUp() override
    {
        ASSERT_EQ(GetLogicalDrives(), (1u << ('C' - 'A')) | (1u << ('T' - 'A')))
            << "run through tools/wine-run-test-drives.sh";
        SetTextLanguage(0x0409);
        g_messages.clear();
        RemoveFile("T:\\autorun.inf");
        RemoveFile("T:\\autorun.qn~");
    }
};

TEST_F(DisksWin, RealDrivesAreListedWithTheirSpace)
{
    CWin32DiskSystem system;
    const std::vector<DiskRecord> records = EnumerateDisks(system, "Unknown");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].rootPath, "C:\\");
    EXPECT_EQ(records[1].rootPath, "T:\\");
    for (const DiskRecord& record : records) {
        EXPECT_EQ(record.typeName, "Local Disk");
        EXPECT_NE(record.fileSystemName, "Unknown");
        ULARGE_INTEGER available{}, total{}, free{};
        ASSERT_TRUE(GetDiskFreeSpaceExA(record.rootPath.c_str(), &available, &total, &free));
        EXPECT_EQ(record.totalBytes, total.QuadPart);
        EXPECT_NEAR(static_cast<double>(record.freeBytes), static_cast<double>(free.QuadPart), 64.0 * 1024 * 1024);
        EXPECT_GT(record.totalBytes, 0u);
    }
    EXPECT_TRUE(system.CanMakeCurrent("T:\\"));
    EXPECT_FALSE(system.CanMakeCurrent("Q:\\"));

    CreateDirectoryA("T:\\sub", nullptr);
    EXPECT_EQ(DiskFreeSpace("T:\\sub").totalBytes, DiskFreeSpace("T:\\").totalBytes);
    const FreeSpace missing = DiskFreeSpace("Q:\\");
    EXPECT_EQ(missing.totalBytes, 0u);
    EXPECT_EQ(DiskFreeSpace("\\\\no-such-server\\share\\").totalBytes, 0u);
}

TEST_F(DisksWin, LabelAndIconAreWrittenOnTheTestDrive)
{
    CWin32DiskSystem system;
    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "T:\\", std::string("ABCDEFGHIJKLMNO"), "T:\\Icons\\disk.ico,0"));
    EXPECT_EQ(ReadWhole("T:\\autorun.inf"), "[autorun]\r\nICON=Icons\\disk.ico,0\r\n");
    EXPECT_FALSE(Exists("T:\\autorun.qn~"));
    EXPECT_EQ(LabelOfTestDrive(), "ABCDEFGHIJK");

    std::ofstream("T:\\autorun.inf", std::ios::binary) << "[autorun]\r\nopen=go.exe\r\nicon=old.ico\r\n[x]\r\ny=1\r\n";
    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "T:\\", std::nullopt, "C:\\Icons\\disk.ico,0"));
    EXPECT_EQ(ReadWhole("T:\\autorun.inf"), "[autorun]\r\nICON=C:\\Icons\\disk.ico,0\r\nopen=go.exe\r\n[x]\r\ny=1\r\n");
}

TEST_F(DisksWin, AFileThatCannotBeWrittenLeavesEverythingAsItWas)
{
    CWin32DiskSystem system;
    ASSERT_TRUE(WriteVolumeLabelAndIcon(system, "T:\\", std::string("BEFORE"), ""));
    const std::string old = "[autorun]\r\nicon=old.ico\r\n";
    std::ofstream("T:\\autorun.inf", std::ios::binary) << old;

    // The new file cannot be created beside the old one (a folder holds its name).
    ASSERT_TRUE(CreateDirectoryA("T:\\autorun.qn~", nullptr));
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "T:\\", std::string("AFTER"), "T:\\new.ico,1"));
    EXPECT_EQ(ReadWhole("T:\\autorun.inf"), old);
    EXPECT_EQ(LabelOfTestDrive(), "BEFORE");
    RemoveDirectoryA("T:\\autorun.qn~");

    // The old file is held open by another program: it is neither read nor replaced.
    HANDLE held = CreateFileA("T:\\autorun.inf", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteVolumeLabelAndIcon(system, "T:\\", std::string("AFTER"), "T:\\new.ico,1"));
    CloseHandle(held);
    EXPECT_EQ(ReadWhole("T:\\autorun.inf"), old);
    EXPECT_FALSE(Exists("T:\\autorun.qn~"));
    EXPECT_EQ(LabelOfTestDrive(), "BEFORE");
}

// The properties dialog of a drive with nothing free, shown modeless so that the test reads it.
class ModelessDiskProperties : public CDiskPropertiesDlg {
public:
    using CDiskPropertiesDlg::CDiskPropertiesDlg;
};

TEST_F(DisksWin, PropertiesAtNoFreeSpaceShowTheUsedPieWhole)
{
    CQnSettings().DeleteValue("", kFreeColorValue);
    CQnSettings().DeleteValue("", kUsedColorValue);
    DiskRecord record;
    record.rootPath = "T:\\";
    record.volumeLabel = "Test";
    record.typeName = "Local Disk";
    record.fileSystemName = "NTFS";
    record.driveType = kDiskFixed;
    record.totalBytes = 1234567890;
    record.freeBytes = 0;
    for (const auto& [language, name] : {std::pair{0x0409u, "disk_properties_en"}, {0x040Cu, "disk_properties_fr"}}) {
        SetTextLanguage(language);
        record.typeName = LoadText(IDS_DISK_TYPE_FIXED);
        ModelessDiskProperties dialog(record);
        ASSERT_TRUE(dialog.CreateModeless(nullptr));
        HWND window = dialog.Hwnd();
        SetWindowPos(window, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PumpMessages(300);
        if (language == 0x0409) {
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_FREE_LABEL), "Free :");
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_FREE), "0 Byte (0%)");
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_USED_LABEL), "Used :");
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_USED), "1.1 Gb (1,234,567,890 bytes) (100%)");
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_TOTAL), "1.1 Gb (1,234,567,890 bytes)");
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_HEADING), "Test (T:\\)");
        } else {
            EXPECT_EQ(ItemText(window, IDC_DISKPROP_FREE_LABEL), "Libre :");
        }
        // The pie shows the used colour (blue) and none of the free colour (red).
        RECT chart{};
        GetWindowRect(GetDlgItem(window, IDC_DISKPROP_CHART), &chart);
        const ScreenCapture screen;
        EXPECT_TRUE(screen.SaveBmp(ScreenshotPath(name)));
        const int cx = (chart.left + chart.right) / 2, cy = (chart.top + chart.bottom) / 2;
        EXPECT_EQ(screen.At(cx, cy - 8), RGB(0, 0, 255));
        int red = 0, grey = 0;
        for (int y = chart.top + 3; y < chart.bottom - 3; ++y)
            for (int x = chart.left + 3; x < chart.right - 3; ++x) {
                const COLORREF c = screen.At(x, y);
                red += c == RGB(255, 0, 0);
                grey += GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) >= 128;
            }
        EXPECT_EQ(red, 0);
        EXPECT_GT(grey, 100) << "the gradient behind the pie";
        dialog.DestroyModeless();
    }
}

// The view over drives in memory.
class DiskView : public DisksWin {
protected:
    void SetUp() override
    {
        DisksWin::SetUp();
        if (HasFatalFailure())
            return;
        auto system = std::make_unique<FakeDiskSystem>();
        m_system = system.get();
        m_system->drives["C:\\"] = {3, VolumeInformation{"SYSTEM", "NTFS", 1234, 255},
                                    {1234567890, uint64_t{5} << 30}, ""};
        m_system->drives["D:\\"] = {5, VolumeInformation{"CDROM", "CDFS", 5, 110}, {0, 650u << 20}, ""};
        m_system->drives["E:\\"] = {2, std::nullopt, {}, "", false};
        m_system->drives["T:\\"] = {3, VolumeInformation{"TEST", "FAT32", 77, 255}, {uint64_t{1} << 30, uint64_t{3} << 30}, ""};
        m_view = std::make_unique<CDiskInfo>(std::move(system));
        m_frame = CreateWindowExA(0, "STATIC", "disks test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 600, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        ASSERT_TRUE(m_view->CreateView(m_frame, 0xE900));
        MoveWindow(m_view->Hwnd(), 0, 0, 880, 560, TRUE);
        ShowWindow(m_view->Hwnd(), SW_SHOW);
        m_view->InitModule();
    }

    void TearDown() override
    {
        m_view.reset();
        if (m_frame)
            DestroyWindow(m_frame);
    }

    CReportList& List() { return *m_view->ReportList(); }
    HWND Control(int id) const { return GetDlgItem(m_view->Hwnd(), id); }
    int RowOf(const std::string& root)
    {
        for (int row = 0; row < List().RowCount(); ++row)
            if (m_view->RecordOfRow(row)->rootPath == root)
                return row;
        return -1;
    }
    void Select(int row)
    {
        ListView_SetItemState(List().Hwnd(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(List().Hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PumpMessages(50);
    }

    FakeDiskSystem* m_system = nullptr;
    std::unique_ptr<CDiskInfo> m_view;
    HWND m_frame = nullptr;
};

TEST_F(DiskView, RowsShowSizesInMegabytesAndTheFirstIsSelected)
{
    ASSERT_EQ(List().RowCount(), 4);
    EXPECT_EQ(List().ColumnCount(), 8);
    EXPECT_EQ(m_view->SelectedRow(), 0);
    EXPECT_EQ(List().StoredText(0, 0), "System");
    EXPECT_EQ(List().StoredText(0, 1), "C:");
    EXPECT_EQ(List().StoredText(0, 2), "Local Disk");
    EXPECT_EQ(List().StoredText(0, 3), "5,120 Mb");
    EXPECT_EQ(List().StoredText(0, 4), "1,177 Mb");
    EXPECT_EQ(List().StoredText(0, 5), "1234");
    EXPECT_EQ(List().StoredText(0, 6), "255");
    EXPECT_EQ(List().StoredText(0, 7), "NTFS");
    EXPECT_EQ(List().StoredText(2, 0), "Unknown");
    EXPECT_EQ(ItemText(m_view->Hwnd(), IDC_DISK_LABEL), "System");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_DISK_LABEL)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DISK_APPLY)));
}

TEST_F(DiskView, CdRomAndDrivesThatCannotBeCurrentStayReadOnly)
{
    for (const char* root : {"D:\\", "E:\\"}) {
        Select(RowOf(root));
        for (int id : {IDC_DISK_LABEL, IDC_DISK_CHANGE, IDC_DISK_RESET, IDC_DISK_APPLY})
            EXPECT_FALSE(IsWindowEnabled(Control(id))) << root << " control " << id;
    }
    Select(RowOf("T:\\"));
    for (int id : {IDC_DISK_LABEL, IDC_DISK_CHANGE, IDC_DISK_RESET})
        EXPECT_TRUE(IsWindowEnabled(Control(id))) << id;
}

TEST_F(DiskView, SizesSortByTheirWholeValue)
{
    // 5 GB against 3 GB: their low 32 bits alone (1 GB and 3 GB) would put them the wrong way.
    List().SortRows(3, true);
    std::vector<std::string> roots;
    for (int row = 0; row < List().RowCount(); ++row)
        roots.push_back(m_view->RecordOfRow(row)->rootPath);
    EXPECT_EQ(roots, (std::vector<std::string>{"E:\\", "D:\\", "T:\\", "C:\\"}));
    List().SortRows(0, true);
    EXPECT_EQ(List().StoredText(0, 0), "Cdrom");
}

TEST_F(DiskView, ApplyWritesLabelAndIconAndAFailureChangesNothing)
{
    const int row = RowOf("T:\\");
    Select(row);
    m_view->ResetIcon();
    EXPECT_EQ(m_view->PendingIconLocation(), "C:\\WINDOWS\\system32\\shell32.dll,8");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_DISK_APPLY)));
    SetDlgItemTextA(m_view->Hwnd(), IDC_DISK_LABEL, "ABCDEFGHIJKLMNO");

    m_system->failWrite = true;
    EXPECT_FALSE(m_view->ApplyChanges());
    EXPECT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(m_view->RecordOfRow(row)->volumeLabel, "Test");
    EXPECT_EQ(m_view->RecordOfRow(row)->iconLocation, "");
    EXPECT_TRUE(m_system->files.empty());
    EXPECT_TRUE(m_system->labelsSet.empty());
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_DISK_APPLY))) << "still pending";

    m_system->failWrite = false;
    EXPECT_TRUE(m_view->ApplyChanges());
    EXPECT_EQ(m_system->files.at("T:\\autorun.inf"), "[autorun]\r\nICON=C:\\WINDOWS\\system32\\shell32.dll,8\r\n");
    ASSERT_EQ(m_system->labelsSet.size(), 1u);
    EXPECT_EQ(m_system->labelsSet[0].second, "ABCDEFGHIJK");
    EXPECT_EQ(m_view->RecordOfRow(row)->volumeLabel, "Abcdefghijk");
    EXPECT_EQ(m_view->RecordOfRow(row)->iconLocation, "C:\\WINDOWS\\system32\\shell32.dll,8");
    EXPECT_EQ(List().StoredText(row, 0), "Abcdefghijk");
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DISK_APPLY)));
    EXPECT_EQ(m_system->broadcasts, 1);

    // Only the label: no icon file is written.
    m_system->files.clear();
    SetDlgItemTextA(m_view->Hwnd(), IDC_DISK_LABEL, "Other");
    EXPECT_TRUE(m_view->ApplyChanges());
    EXPECT_TRUE(m_system->files.empty());
    EXPECT_EQ(m_system->labelsSet.back().second, "Other");
}

TEST_F(DiskView, ScreenshotsInEnglishAndFrench)
{
    for (const auto& [language, name] : {std::pair{0x0409u, "disks_view_en"}, {0x040Cu, "disks_view_fr"}}) {
        SetTextLanguage(language);
        auto system = std::make_unique<FakeDiskSystem>(*m_system);
        CDiskInfo view(std::move(system));
        ASSERT_TRUE(view.CreateView(m_frame, 0xE901));
        MoveWindow(view.Hwnd(), 0, 0, 880, 560, TRUE);
        ShowWindow(m_view->Hwnd(), SW_HIDE);
        ShowWindow(view.Hwnd(), SW_SHOW);
        view.InitModule();
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages(300);
        EXPECT_TRUE(SaveScreenBmp(ScreenshotPath(name)));
        if (language == 0x040C) {
            EXPECT_EQ(ItemText(view.Hwnd(), IDC_DISK_LABEL_TEXT), "Nom de volume :");
        }
        DestroyWindow(view.Hwnd());
    }
}
} // namespace
