// Drives the data types of the real toolbox under Wine: adding ".abc" through the new-type
// dialog and the icon picker, editing it again, the three ways of typing an extension, icon
// locations without a comma and with a resource index, and removing types from a list sorted
// by extension descending. Each change is checked against snapshots of the class registry
// taken before and after: exactly the named keys differ. Screenshots in English and French.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
using e2e::RegistrySnapshot;
constexpr int kDataTypesModule = 12;
// Keys this test makes and removes; the prefix is shared with the other tests.
const char* const kOwnKeys[] = {".abc", "Quenta_abc_file", ".b", "Quenta_b_file", ".qqa", "qqafile", ".qqb", "qqbfile"};

fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "datatypes"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }

std::string SystemFolder()
{
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}
std::string Shell32() { return SystemFolder() + "\\shell32.dll"; }

std::string ReadDefault(const std::string& key)
{
    char text[1024] = {};
    LONG size = sizeof text;
    return RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS ? std::string(text) : "<none>";
}
bool KeyExists(const std::string& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}
void SetDefault(const std::string& key, const std::string& text)
{
    RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, text.c_str(), static_cast<DWORD>(text.size()));
}
void RemoveOwnKeys()
{
    for (const char* key : kOwnKeys)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
}

// The class root's keys that are extensions or this test's own, with everything below them:
// a whole snapshot of Wine's class root (tens of thousands of keys) would take longer than the
// whole scenario. Every top-level key is listed by name, so a key made anywhere else shows too.
RegistrySnapshot SnapshotClasses()
{
    RegistrySnapshot snapshot;
    char name[1024];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(HKEY_CLASSES_ROOT, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string key(name, length);
        const bool deep = key[0] == '.' || key.rfind("Quenta_", 0) == 0 || key == "txtfile" || key == "qqafile" ||
                          key == "qqbfile";
        if (deep) {
            const RegistrySnapshot below = e2e::SnapshotRegistry(HKEY_CLASSES_ROOT, key, "HKCR\\" + key);
            snapshot.insert(below.begin(), below.end());
        } else {
            snapshot["HKCR\\" + key]; // named only
        }
    }
    return snapshot;
}

std::set<std::string> Keys(std::initializer_list<std::string> keys) { return std::set<std::string>(keys); }

// The pixels of an icon drawn at 32 x 32 on a background colour.
std::vector<COLORREF> IconPixels(HICON icon, COLORREF background)
{
    std::vector<COLORREF> pixels;
    if (!icon)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 32, 32};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The 32 x 32 pixels the screen shows at the top left of a window.
std::vector<COLORREF> ScreenPixels(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const ScreenCapture screen;
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(screen.At(rect.left + x, rect.top + y));
    return pixels;
}

// The default values of a type's keys, put back after the test changed them.
class SavedType {
public:
    explicit SavedType(std::string key) : m_key(std::move(key))
    {
        for (const std::string& sub : Subkeys())
            m_saved.push_back({sub, KeyExists(sub), ReadDefault(sub)});
    }
    ~SavedType()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            if (!it->existed)
                RegDeleteTreeA(HKEY_CLASSES_ROOT, it->key.c_str());
            else if (it->text == "<none>")
                RegDeleteKeyValueA(HKEY_CLASSES_ROOT, it->key.c_str(), nullptr);
            else
                SetDefault(it->key, it->text);
        }
    }
    std::vector<std::string> Subkeys() const
    {
        return {m_key, m_key + "\\DefaultIcon", m_key + "\\Shell", m_key + "\\Shell\\Open", m_key + "\\Shell\\Open\\Command"};
    }

private:
    struct Saved {
        std::string key;
        bool existed;
        std::string text;
    };
    std::string m_key;
    std::vector<Saved> m_saved;
};

class DataTypesSuite : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        fs::create_directories(WorkFolder());
        RemoveOwnKeys();
        // Two types whose icon locations the picker must read right.
        SetDefault(".qqa", "qqafile");
        SetDefault("qqafile", "Qqa test type");
        SetDefault("qqafile\\DefaultIcon", Shell32());
        SetDefault(".qqb", "qqbfile");
        SetDefault("qqbfile", "Qqb test type");
        SetDefault("qqbfile\\DefaultIcon", "%SystemRoot%\\system32\\shell32.dll,-3");
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        RemoveOwnKeys();
    }

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (!m_list) {
            m_list = OpenModuleForm(kDataTypesModule, IDC_DATATYPE_LIST, WC_LISTVIEWA);
            ASSERT_TRUE(m_list) << "the data types' list did not appear";
            m_view = CurrentView();
        }
        ASSERT_TRUE(WaitFor([&] { return RowOf(".qqa") >= 0; })) << "the fill did not list .qqa";
    }

    static HWND Control(int id) { return FindDescendantById(m_view, id); }
    static void Settle() { e2e::Settle(Frame()); }
    static std::vector<std::string> Column(int column) { return e2e::ListColumnTexts(Quenta().Process(), m_list, column); }
    static int RowOf(const std::string& extension)
    {
        const std::vector<std::string> extensions = Column(1);
        const auto found = std::find(extensions.begin(), extensions.end(), extension);
        return found == extensions.end() ? -1 : static_cast<int>(found - extensions.begin());
    }
    static void Select(const std::vector<int>& rows)
    {
        LVITEMA state{};
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        ASSERT_TRUE(remote);
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        remote.Write(&state, sizeof state);
        SendMessageA(m_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), remote.Address());
        for (int row : rows) {
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            remote.Write(&state, sizeof state);
            SendMessageA(m_list, LVM_SETITEMSTATE, row, remote.Address());
        }
        Settle();
    }
    static void SelectIn(HWND list, int item)
    {
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        RemoteBuffer remote(Quenta().Process(), sizeof state);
        remote.Write(&state, sizeof state);
        SendMessageA(list, LVM_SETITEMSTATE, item, remote.Address());
    }
    // A click on a button of a form or dialog, posted: it may open a modal dialog.
    static void Click(HWND owner, int id)
    {
        PostMessageA(owner, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(owner, id)));
    }
    static HWND WaitForWindow(const std::string& caption)
    {
        HWND found = nullptr;
        WaitFor([&] {
            return (found = FindWindowOfProcess(Quenta().Id(), [&](HWND w) { return CaptionOf(w) == caption; })) != nullptr;
        }, 10000);
        return found;
    }
    static bool WaitGone(HWND window)
    {
        return WaitFor([&] { return !IsWindow(window); }, 10000);
    }

    // Adds a type through the new-type dialog; with `iconIndex` >= 0 its icon is picked from
    // shell32.dll in the icon picker.
    static void AddThroughDialog(const std::string& extension, const std::string& name, const std::string& command,
                                 int iconIndex = -1, const std::string& shot = {})
    {
        Click(m_view, IDC_DATATYPE_ADD);
        HWND dialog = WaitForWindow("Quenta - New Data Type");
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_NEWTYPE_OK))) << "OK waits for an extension";
        SetWindowTextA(GetDlgItem(dialog, IDC_NEWTYPE_EXTENSION), extension.c_str());
        SetWindowTextA(GetDlgItem(dialog, IDC_NEWTYPE_NAME), name.c_str());
        SetWindowTextA(GetDlgItem(dialog, IDC_NEWTYPE_COMMAND), command.c_str());
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_NEWTYPE_OK)) != FALSE; }, 3000));
        if (iconIndex >= 0) {
            Click(dialog, IDC_NEWTYPE_SELECT_ICON);
            HWND picker = WaitForWindow("Select a new icon");
            ASSERT_TRUE(picker);
            SelectIn(GetDlgItem(picker, IDC_ICONPICKER_LIST), iconIndex);
            Click(picker, IDC_ICONPICKER_APPLY);
            ASSERT_TRUE(WaitGone(picker));
        }
        if (!shot.empty()) {
            e2e::Settle(dialog);
            EXPECT_TRUE(SaveScreenBmp(Shot(shot)));
        }
        Click(dialog, IDC_NEWTYPE_OK);
        ASSERT_TRUE(WaitGone(dialog));
        Settle();
    }

    static inline HWND m_list = nullptr;
    static inline HWND m_view = nullptr;
};
} // namespace

TEST_F(DataTypesSuite, ListsTheRegisteredTypesSortedByNameWithTheFirstSelected)
{
    const std::vector<std::string> names = Column(0);
    ASSERT_GT(names.size(), 10u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_EQ(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    EXPECT_EQ(Column(0)[static_cast<size_t>(RowOf(".qqa"))], "Qqa test type");
    EXPECT_EQ(TextOf(Control(IDC_DATATYPE_EXTENSION)), Column(1)[0]);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DATATYPE_APPLY)));
    EXPECT_TRUE(SaveScreenBmp(Shot("datatypes_en")));
}

TEST_F(DataTypesSuite, AddingAbcCreatesItsOwnTypeAndEditingAgainWritesThere)
{
    const RegistrySnapshot before = SnapshotClasses();
    AddThroughDialog("abc", "Abc test file", "C:\\windows\\notepad.exe %1", 3, "new_type_dialog");
    const RegistrySnapshot added = SnapshotClasses();
    EXPECT_EQ(e2e::ChangedKeys(before, added),
              Keys({"HKCR\\.abc", "HKCR\\Quenta_abc_file", "HKCR\\Quenta_abc_file\\DefaultIcon",
                    "HKCR\\Quenta_abc_file\\Shell", "HKCR\\Quenta_abc_file\\Shell\\Open",
                    "HKCR\\Quenta_abc_file\\Shell\\Open\\Command"}))
        << e2e::DescribeChanges(before, added);
    EXPECT_EQ(ReadDefault(".abc"), "Quenta_abc_file");
    EXPECT_EQ(ReadDefault("Quenta_abc_file"), "Abc test file");
    EXPECT_EQ(ReadDefault("Quenta_abc_file\\Shell\\Open\\Command"), "C:\\windows\\notepad.exe %1");
    EXPECT_EQ(lstrcmpiA(ReadDefault("Quenta_abc_file\\DefaultIcon").c_str(), (Shell32() + ",3").c_str()), 0)
        << ReadDefault("Quenta_abc_file\\DefaultIcon");
    const int row = RowOf(".abc");
    ASSERT_GE(row, 0) << "the new type is listed";
    EXPECT_EQ(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), row) << "and selected";

    // Edited again in the same run: the picker opens on its icon, then name, command, icon.
    Select({row});
    SetWindowTextA(Control(IDC_DATATYPE_NAME), "Abc edited");
    SetWindowTextA(Control(IDC_DATATYPE_COMMAND), "C:\\windows\\regedit.exe \"%1\"");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_DATATYPE_APPLY)));
    Click(m_view, IDC_DATATYPE_CHANGE_ICON);
    HWND picker = WaitForWindow("Select a new icon");
    ASSERT_TRUE(picker);
    HWND icons = GetDlgItem(picker, IDC_ICONPICKER_LIST);
    EXPECT_EQ(SendMessageA(icons, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
    SelectIn(icons, 7);
    Click(picker, IDC_ICONPICKER_APPLY);
    ASSERT_TRUE(WaitGone(picker));
    Click(m_view, IDC_DATATYPE_APPLY);
    // The click is posted: Apply turns grey once the type is written and the list refreshed.
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(Control(IDC_DATATYPE_APPLY)); }, 5000));
    Settle();
    const RegistrySnapshot edited = SnapshotClasses();
    EXPECT_EQ(e2e::ChangedKeys(added, edited),
              Keys({"HKCR\\Quenta_abc_file", "HKCR\\Quenta_abc_file\\DefaultIcon",
                    "HKCR\\Quenta_abc_file\\Shell\\Open\\Command"}))
        << e2e::DescribeChanges(added, edited);
    EXPECT_EQ(ReadDefault("Quenta_abc_file"), "Abc edited");
    EXPECT_EQ(ReadDefault("Quenta_abc_file\\Shell\\Open\\Command"), "C:\\windows\\regedit.exe \"%1\"");
    EXPECT_EQ(lstrcmpiA(ReadDefault("Quenta_abc_file\\DefaultIcon").c_str(), (Shell32() + ",7").c_str()), 0);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_DATATYPE_APPLY)));
    EXPECT_EQ(Column(0)[static_cast<size_t>(RowOf(".abc"))], "Abc edited");
}

TEST_F(DataTypesSuite, TypedExtensionsAddressTxtTxtAndB)
{
    ASSERT_FALSE(KeyExists(".b"));
    // When the prefix registers .txt, its type is written where it lives and never in a key of
    // ours; otherwise the first addition makes .txt and the second one writes to that type.
    const bool txtExisted = KeyExists(".txt");
    const std::string progid = ReadDefault(".txt");
    const std::string progidName = txtExisted ? ReadDefault(progid) : "<none>";
    const std::string typeKey = !txtExisted ? "Quenta_txt_file"
                                : progidName != "<none>" && !progidName.empty() ? progid
                                                                                 : ".txt";
    SavedType restore(typeKey);
    struct RemoveMadeTxt {
        bool made;
        ~RemoveMadeTxt()
        {
            if (made)
                RegDeleteTreeA(HKEY_CLASSES_ROOT, ".txt");
        }
    } removeMadeTxt{!txtExisted};
    std::set<std::string> allowed;
    for (const std::string& key : restore.Subkeys())
        allowed.insert("HKCR\\" + key);

    for (const char* typed : {"txt", ".txt"}) {
        const RegistrySnapshot before = SnapshotClasses();
        const std::string name = std::string("Text typed as ") + typed;
        AddThroughDialog(typed, name, "C:\\windows\\notepad.exe %1");
        const RegistrySnapshot after = SnapshotClasses();
        std::set<std::string> changed = e2e::ChangedKeys(before, after);
        EXPECT_TRUE(changed.count("HKCR\\" + typeKey)) << typed << "\n" << e2e::DescribeChanges(before, after);
        if (!txtExisted && std::string(typed) == "txt") {
            EXPECT_EQ(changed.erase("HKCR\\.txt"), 1u) << "the first addition makes .txt";
        }
        for (const std::string& key : changed)
            EXPECT_TRUE(allowed.count(key)) << typed << " changed " << key;
        EXPECT_EQ(ReadDefault(typeKey), name);
        EXPECT_EQ(ReadDefault(".txt"), txtExisted ? progid : typeKey) << "the extension points at its type";
        if (txtExisted) {
            EXPECT_FALSE(KeyExists("Quenta_txt_file"));
        }
    }

    const RegistrySnapshot before = SnapshotClasses();
    AddThroughDialog("a.b", "B test file", "C:\\windows\\notepad.exe %1");
    const RegistrySnapshot after = SnapshotClasses();
    EXPECT_EQ(e2e::ChangedKeys(before, after),
              Keys({"HKCR\\.b", "HKCR\\Quenta_b_file", "HKCR\\Quenta_b_file\\DefaultIcon", "HKCR\\Quenta_b_file\\Shell",
                    "HKCR\\Quenta_b_file\\Shell\\Open", "HKCR\\Quenta_b_file\\Shell\\Open\\Command"}))
        << e2e::DescribeChanges(before, after);
    EXPECT_EQ(ReadDefault(".b"), "Quenta_b_file");
    EXPECT_GE(RowOf(".b"), 0);
}

TEST_F(DataTypesSuite, IconPickerListsEveryIconOfShell32AndReadsLocations)
{
    const int expected = static_cast<int>(ExtractIconExA(Shell32().c_str(), -1, nullptr, nullptr, 0));
    ASSERT_GT(expected, 100);

    // Without a comma: icon 0 of the file.
    Select({RowOf(".qqa")});
    Click(m_view, IDC_DATATYPE_CHANGE_ICON);
    HWND picker = WaitForWindow("Select a new icon");
    ASSERT_TRUE(picker);
    HWND icons = GetDlgItem(picker, IDC_ICONPICKER_LIST);
    const std::vector<std::string> labels = e2e::ListColumnTexts(Quenta().Process(), icons, 0);
    ASSERT_EQ(static_cast<int>(labels.size()), expected) << "every icon of shell32.dll";
    EXPECT_EQ(labels.front(), "# 0");
    EXPECT_EQ(labels.back(), "# " + std::to_string(expected - 1));
    EXPECT_EQ(SendMessageA(icons, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    EXPECT_EQ(lstrcmpiA(TextOf(GetDlgItem(picker, IDC_ICONPICKER_FILE)).c_str(), Shell32().c_str()), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(picker, IDC_ICONPICKER_APPLY)));
    EXPECT_TRUE(SaveScreenBmp(Shot("icon_picker")));
    Click(picker, IDC_ICONPICKER_CANCEL);
    ASSERT_TRUE(WaitGone(picker));

    // ",-3" from "%SystemRoot%": the resource numbered 3, passed on unchanged.
    Select({RowOf(".qqb")});
    Click(m_view, IDC_DATATYPE_CHANGE_ICON);
    picker = WaitForWindow("Select a new icon");
    ASSERT_TRUE(picker);
    EXPECT_EQ(TextOf(GetDlgItem(picker, IDC_ICONPICKER_FILE)), "%SystemRoot%\\system32\\shell32.dll");
    e2e::Settle(picker);
    const std::vector<COLORREF> preview = ScreenPixels(GetDlgItem(picker, IDC_ICONPICKER_PREVIEW));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HICON byResource = ExtractIconA(GetModuleHandleA(nullptr), Shell32().c_str(), static_cast<UINT>(-3));
    HICON byPosition = ExtractIconA(GetModuleHandleA(nullptr), Shell32().c_str(), 3);
    ASSERT_TRUE(byResource);
    EXPECT_EQ(preview, IconPixels(byResource, face)) << "the preview shows resource 3";
    EXPECT_NE(IconPixels(byResource, face), IconPixels(byPosition, face));
    DestroyIcon(byResource);
    DestroyIcon(byPosition);
    Click(picker, IDC_ICONPICKER_CANCEL);
    ASSERT_TRUE(WaitGone(picker));
    EXPECT_EQ(ReadDefault("qqbfile\\DefaultIcon"), "%SystemRoot%\\system32\\shell32.dll,-3") << "Cancel writes nothing";
}

TEST_F(DataTypesSuite, RemovingFromAListSortedByExtensionDescendingDeletesExactlyThoseKeys)
{
    if (RowOf(".abc") < 0)
        AddThroughDialog("abc", "Abc test file", "C:\\windows\\notepad.exe %1");
    ASSERT_GE(RowOf(".abc"), 0);
    ASSERT_GE(RowOf(".qqb"), 0);
    // Extension column twice: ascending, then descending. The clicks are apart by more than a
    // double click's time, and each waits for its order.
    HWND header = reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), header, HDM_GETITEMRECT, 1, rect));
    const auto noCase = [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; };
    std::vector<std::string> extensions;
    e2e::ClickAt(header, rect);
    EXPECT_TRUE(WaitFor([&] {
        extensions = Column(1);
        return std::is_sorted(extensions.begin(), extensions.end(), noCase);
    }, 5000)) << "ascending after a first click";
    Sleep(GetDoubleClickTime() + 100);
    e2e::ClickAt(header, rect);
    EXPECT_TRUE(WaitFor([&] {
        extensions = Column(1);
        return std::is_sorted(extensions.rbegin(), extensions.rend(), noCase);
    }, 5000)) << "descending after a second click";
    Settle();

    const RegistrySnapshot before = SnapshotClasses();
    const int rowCount = static_cast<int>(extensions.size());
    Select({RowOf(".qqb"), RowOf(".abc")});
    PostMessageA(m_list, WM_KEYDOWN, VK_DELETE, 0);
    HWND question = WaitForWindow("Quenta - Message");
    ASSERT_TRUE(question) << "removal asks first";
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    ASSERT_TRUE(WaitGone(question));
    Settle();
    const RegistrySnapshot after = SnapshotClasses();
    EXPECT_EQ(e2e::ChangedKeys(before, after), Keys({"HKCR\\.abc", "HKCR\\.qqb"})) << e2e::DescribeChanges(before, after);
    EXPECT_FALSE(KeyExists(".abc"));
    EXPECT_TRUE(KeyExists("Quenta_abc_file")) << "the type key it pointed to stays";
    EXPECT_TRUE(KeyExists("qqbfile\\DefaultIcon"));
    EXPECT_EQ(RowOf(".abc"), -1);
    EXPECT_EQ(RowOf(".qqb"), -1);
    EXPECT_EQ(static_cast<int>(Column(1).size()), rowCount - 2);
}

// The same form in French: a second toolbox whose Wine process starts with a French locale.
// Wine takes the locale from the Unix environment of a process, which a Windows child does not
// get from its parent's environment block: the toolbox is started through env(1).
TEST(DataTypesFrench, ModuleShowsItsFrenchTexts)
{
    fs::create_directories(WorkFolder());
    const std::string exe = fs::path(e2e::QuentaExe()).lexically_normal().generic_string();
    QuentaUnderTest quenta;
    // Whatever happens, the French toolbox goes: its windows are asked to close, then the
    // process (found through its window, as the handle is env's) is ended.
    struct CloseFrench {
        QuentaUnderTest& quenta;
        ~CloseFrench()
        {
            HWND frame = quenta.Frame();
            DWORD id = 0;
            if (!frame || !GetWindowThreadProcessId(frame, &id))
                return;
            for (HWND window : WindowsOfProcess(id))
                if (window != frame)
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(frame, WM_CLOSE, 0, 0);
            if (!WaitFor([&] { return !IsWindow(frame); }, 10000))
                if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                    TerminateProcess(process, 1);
                    CloseHandle(process);
                }
        }
    } closeFrench{quenta};
    ASSERT_TRUE(quenta.Start("Z:\\usr\\bin\\env",
                             "LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8 /usr/lib/wine/wine64 " + exe + " /DEBUG"))
        << "the French toolbox did not start";
    SendMessageA(quenta.Frame(), WM_COMMAND, ID_SWITCH_MODULE_FIRST + kDataTypesModule, 0);
    HWND apply = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        HWND view = GetDlgItem(quenta.Frame(), e2e::kModuleView);
        apply = view ? FindDescendantById(view, IDC_DATATYPE_APPLY) : nullptr;
        return apply && CaptionOf(apply) == "&Appliquer";
    }, 15000)) << "caption: " << (apply ? CaptionOf(apply) : "(no form)");
    e2e::Settle(quenta.Frame());
    EXPECT_TRUE(SaveScreenBmp(Shot("datatypes_fr")));
    // The new-type dialog and the icon picker in French.
    HWND view = GetDlgItem(quenta.Frame(), e2e::kModuleView);
    PostMessageA(view, WM_COMMAND, MAKEWPARAM(IDC_DATATYPE_ADD, BN_CLICKED), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dialog = FindWindowA(nullptr, "Quenta - Nouveau type de donn\xe9" "es");
        return dialog && IsWindowVisible(dialog);
    }, 10000));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEWTYPE_SELECT_ICON, BN_CLICKED), 0);
    HWND picker = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        picker = FindWindowA(nullptr, "Choisir une nouvelle ic\xf4" "ne");
        return picker && IsWindowVisible(picker);
    }, 10000));
    e2e::Settle(picker);
    EXPECT_TRUE(SaveScreenBmp(Shot("icon_picker_fr")));
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDC_ICONPICKER_CANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(picker); }, 10000));
    e2e::Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("new_type_dialog_fr")));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_NEWTYPE_CANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 10000));
}
