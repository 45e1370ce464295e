// Under Wine: version strings from a known version resource (this program's own), type names
// and icons from the shell, and the properties dialog driven as a user would: untick Archive,
// Apply, and the file loses its archive attribute but keeps its system attribute. Screenshots
// of the dialog in English and French go to the build folder (properties_en.bmp, _fr.bmp).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "app/paths.h"
#include "app/services.h"
#include "base/text.h"
#include "filetools/filetypes/desktop_objects_win.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/filetypes/icon_files_win.h"
#include "filetools/properties/file_properties_dlg_win.h"
#include "filetools/properties/file_record.h"
#include "filetools/properties/file_type_name.h"
#include "filetools/properties/version_info.h"
#include "res/resource.h"
#include "tests/e2e/support/screen_win.h"

namespace {
std::string OwnPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

class LanguageScope {
public:
    explicit LanguageScope(unsigned language) : m_old(TextLanguage()) { SetTextLanguage(language); }
    ~LanguageScope() { SetTextLanguage(m_old); }

private:
    unsigned m_old;
};

TEST(VersionStrings, OwnTranslationThenUsEnglishWestern)
{
    const std::string self = OwnPath();
    EXPECT_EQ(GetVersionString(self, "FileVersion", "ProductVersion"), "3.2.1 fr");
    // Strings that exist only under 040904E4 are still found.
    EXPECT_EQ(GetVersionString(self, "ProductName", "ProductVersion"), "Quenta Test Product");
    EXPECT_EQ(GetVersionString(self, "CompanyName", "Comments"), "Ostrel Test");
    EXPECT_EQ(GetVersionString(self, "Comments", "LegalCopyright"), "");
    // Wine's own libraries carry version resources too.
    EXPECT_NE(GetVersionString(JoinPath(SystemFolder(), "shell32.dll"), "FileVersion", "ProductVersion"), "");
}

TEST(VersionStrings, RecordsWithAndWithoutVersionInformation)
{
    const std::string self = OwnPath();
    FileRecord record;
    BuildFileRecord(record, self, false);
    EXPECT_EQ(record.version, "3.2.1 fr");
    EXPECT_EQ(record.productName, "Quenta Test Product");
    EXPECT_NE(record.typeName, "");
    EXPECT_GT(record.byteSize, 0u);
    EXPECT_EQ(record.folder + PathNamePart(self), self);
    BuildFileRecord(record, self, true);
    EXPECT_EQ(record.version, "");
    EXPECT_EQ(record.productName, "");
    EXPECT_EQ(record.attributes, "");
}

TEST(ShellDescriptions, MissingFileIsNamedByItsExtensionAndLeavesNoPlaceholder)
{
    const std::string folder = SystemTempPath() + "qn_props_types\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string existing = folder + "notes.txt";
    std::ofstream(existing) << "text";
    const std::string existingName = GetFileTypeName(existing);
    EXPECT_NE(existingName, "");
    EXPECT_NE(existingName, LoadText(IDS_TYPE_UNKNOWN));
    EXPECT_EQ(GetFileTypeName("C:\\no such folder\\gone.txt"), existingName);
    EXPECT_EQ(GetFileAttributesA((SystemTempPath() + "ostreltemporaryfile.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(existing.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(ShellDescriptions, IconsFromTheCacheLocationsAndDesktopObjects)
{
    FileTypeIconCache& cache = TheFileTypeIconCache();
    const int slot = cache.IndexOf("C:\\nowhere\\a.txt");
    EXPECT_NE(cache.Icon(slot, true), nullptr);
    EXPECT_NE(cache.Icon(slot, false), nullptr);
    EXPECT_EQ(cache.IndexOf("D:\\b.TXT"), slot);
    EXPECT_NE(cache.IconFor(OwnPath(), true), nullptr); // a program: icon 0 of itself or shell32's
    EXPECT_EQ(cache.Key(cache.IndexOf(OwnPath())), OwnPath());

    HICON fromLocation = LoadIconFromLocation("%SystemRoot%\\system32\\shell32.dll,3");
    EXPECT_NE(fromLocation, nullptr);
    DestroyIconIfAny(fromLocation);
    HICON small = LoadIconPairFromLocation("%SYSTEMROOT%\\system32\\shell32.dll,3", true);
    EXPECT_NE(small, nullptr);
    DestroyIconIfAny(small);
    EXPECT_EQ(LoadIconFromLocation("C:\\no such file.dll,0"), nullptr);

    for (DesktopObject which : {DesktopObject::MyComputer, DesktopObject::NetworkNeighborhood}) {
        DesktopObjectLook look = DesktopObjectNameAndIcon(which);
        EXPECT_NE(look.name, "");
        EXPECT_NE(look.icon, nullptr);
        DestroyIconIfAny(look.icon);
    }
}

// Every attribute set asked of the system through this program's import of SetFileAttributesA.
// Wine derives the archive attribute itself (every regular file reports it and only hidden and
// system are stored), so what Apply asks for is watched at the system boundary.
std::atomic<DWORD> g_lastAttributesAsked{0xFFFFFFFF};
decltype(&SetFileAttributesA) g_realSetFileAttributes = nullptr;

BOOL WINAPI WatchedSetFileAttributes(LPCSTR path, DWORD attributes)
{
    g_lastAttributesAsked = attributes;
    return g_realSetFileAttributes(path, attributes);
}

// Points this program's import of kernel32!SetFileAttributesA at the watcher.
bool WatchSetFileAttributes()
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), "kernel32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "SetFileAttributesA") != 0)
                continue;
            DWORD oldProtection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &oldProtection))
                return false;
            if (!g_realSetFileAttributes)
                g_realSetFileAttributes = reinterpret_cast<decltype(&SetFileAttributesA)>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&WatchedSetFileAttributes);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, oldProtection, &oldProtection);
            return true;
        }
    }
    return false;
}

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// What the driving thread saw in the dialog.
struct DialogObservation {
    bool found = false;
    std::string size, name, location;
    bool archiveBefore = false, systemBefore = false, applyEnabledAtStart = true;
    bool systemBoxEnabled = true, compressedVisible = true;
    bool applyEnabledAfterUntick = false;
    DWORD attributesAfterApply = 0;
    DWORD attributesAsked = 0xFFFFFFFF;
    bool archiveAfter = true, systemAfter = false, applyEnabledAfterApply = true;
    bool readOnlyAfter = false, hiddenAfter = false;
    bool screenshotSaved = false;
};

std::string ItemText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool IsChecked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Opens the dialog on this thread while another one drives it as a user would.
DialogObservation DriveDialog(const std::string& path, const std::string& screenshot,
                              std::vector<int> boxesToClick = {IDC_PROPERTIES_ARCHIVE})
{
    DialogObservation seen;
    const std::string title = FormatText(IDS_PROPERTIES_TITLE, PathNamePart(path));
    std::thread driver([&] {
        HWND dialog = nullptr;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!dialog && std::chrono::steady_clock::now() < deadline) {
            dialog = FindWindowA("#32770", title.c_str());
            if (!dialog)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!dialog)
            return;
        seen.found = true;
        seen.size = ItemText(dialog, IDC_PROPERTIES_SIZE);
        seen.name = ItemText(dialog, IDC_PROPERTIES_NAME);
        seen.location = ItemText(dialog, IDC_PROPERTIES_LOCATION);
        seen.archiveBefore = IsChecked(dialog, IDC_PROPERTIES_ARCHIVE);
        seen.systemBefore = IsChecked(dialog, IDC_PROPERTIES_SYSTEM);
        seen.applyEnabledAtStart = IsWindowEnabled(GetDlgItem(dialog, IDC_PROPERTIES_APPLY));
        seen.systemBoxEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PROPERTIES_SYSTEM));
        seen.compressedVisible = IsWindowVisible(GetDlgItem(dialog, IDC_PROPERTIES_COMPRESSED));

        for (int box : boxesToClick)
            SendDlgItemMessageA(dialog, box, BM_CLICK, 0, 0);
        seen.applyEnabledAfterUntick = IsWindowEnabled(GetDlgItem(dialog, IDC_PROPERTIES_APPLY));
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        seen.screenshotSaved = ScreenCapture().SaveBmp(screenshot);

        g_lastAttributesAsked = 0xFFFFFFFF;
        SendDlgItemMessageA(dialog, IDC_PROPERTIES_APPLY, BM_CLICK, 0, 0);
        seen.attributesAsked = g_lastAttributesAsked;
        seen.attributesAfterApply = GetFileAttributesA(path.c_str());
        seen.archiveAfter = IsChecked(dialog, IDC_PROPERTIES_ARCHIVE);
        seen.systemAfter = IsChecked(dialog, IDC_PROPERTIES_SYSTEM);
        seen.readOnlyAfter = IsChecked(dialog, IDC_PROPERTIES_READ_ONLY);
        seen.hiddenAfter = IsChecked(dialog, IDC_PROPERTIES_HIDDEN);
        seen.applyEnabledAfterApply = IsWindowEnabled(GetDlgItem(dialog, IDC_PROPERTIES_APPLY));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    ShowFileProperties(path);
    driver.join();
    return seen;
}

class PropertiesDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WatchSetFileAttributes());
        folder_ = SystemTempPath() + "qn_props_dialog\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override
    {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    void MakeSystemFile(const std::string& name, size_t bytes)
    {
        path_ = folder_ + name;
        std::ofstream(path_, std::ios::binary) << std::string(bytes, 'q');
        ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM));
    }
    std::string Screenshot(const char* name) const
    {
        return std::string(QUENTA_BINARY_DIR) + "/tests/filetools/properties/" + name;
    }
    std::string folder_, path_;
};

TEST_F(PropertiesDialog, UntickingArchiveClearsItAndKeepsSystem)
{
    LanguageScope english(0x0409);
    MakeSystemFile("system notes.txt", 1536);
    const DialogObservation seen = DriveDialog(path_, Screenshot("properties_en.bmp"));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.name, "system notes.txt");
    EXPECT_EQ(seen.location, folder_);
    EXPECT_EQ(seen.size, "1.5 Kb (1,536 bytes)");
    EXPECT_TRUE(seen.archiveBefore);
    EXPECT_TRUE(seen.systemBefore);
    EXPECT_FALSE(seen.applyEnabledAtStart);
    EXPECT_FALSE(seen.systemBoxEnabled);
    EXPECT_FALSE(seen.compressedVisible);
    EXPECT_TRUE(seen.applyEnabledAfterUntick);
    // Apply asks for exactly the boxes: archive cleared, system kept.
    EXPECT_EQ(seen.attributesAsked, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(seen.attributesAfterApply & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    if (!RunningUnderWine()) {
        EXPECT_EQ(seen.attributesAfterApply, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    }
    // The refreshed boxes show the file's real state (under Wine the archive attribute stays).
    EXPECT_EQ(seen.archiveAfter, (seen.attributesAfterApply & FILE_ATTRIBUTE_ARCHIVE) != 0);
    EXPECT_TRUE(seen.systemAfter);
    EXPECT_FALSE(seen.applyEnabledAfterApply);
    EXPECT_TRUE(seen.screenshotSaved);
}

TEST_F(PropertiesDialog, FrenchTextsAndAnEmptyFile)
{
    LanguageScope french(0x040C);
    MakeSystemFile("vide.txt", 0);
    const DialogObservation seen = DriveDialog(path_, Screenshot("properties_fr.bmp"));
    ASSERT_TRUE(seen.found); // found by its French title
    EXPECT_EQ(seen.size, "0 octet");
    EXPECT_EQ(seen.attributesAsked, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(seen.attributesAfterApply & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(seen.screenshotSaved);
}
TEST_F(PropertiesDialog, TickingReadOnlyAndHiddenSetsThemBesideSystem)
{
    LanguageScope english(0x0409);
    MakeSystemFile("locked.txt", 10);
    const DialogObservation seen = DriveDialog(path_, Screenshot("properties_ticked.bmp"),
                                               {IDC_PROPERTIES_READ_ONLY, IDC_PROPERTIES_HIDDEN});
    ASSERT_TRUE(seen.found);
    const DWORD expected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    EXPECT_EQ(seen.attributesAsked, expected);
    EXPECT_EQ(seen.attributesAfterApply, expected);
    EXPECT_TRUE(seen.readOnlyAfter);
    EXPECT_TRUE(seen.hiddenAfter);
    EXPECT_TRUE(seen.archiveAfter);
}
} // namespace
