// The Misc module end to end, in the test prefix: big icons at 48 and at 0, the shortcut arrow
// switched off to the program's blank icon, the bitmap option registering "bmpfile", and Reset
// with Apply bringing every value back. Each scenario compares registry snapshots of the keys
// the module may touch and expects changes in exactly the keys it names. Screenshots in
// English and French are kept in the build folder (misc_e2e_french_test.cpp).
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/registry_access.h"
#include "res/resource.h"
#include "systools/misc/misc_settings.h"
#include "systools/misc/stored_value.h"
#include "systools/misc/tips_store.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/registry_snapshot_win.h"

namespace {
constexpr int kMiscModule = 6;
const char kWindowMetrics[] = "HKCU\\Control Panel\\Desktop\\WindowMetrics";
const char kShellIcons[] = "HKLM\\Explorer\\Shell Icons";

std::string Shot(const std::string& name)
{
    return std::string(QUENTA_BINARY_DIR) + "/tests/e2e/misc/" + name + ".bmp";
}

// The keys the module may write, and around them what a stray write would hit.
e2e::RegistrySnapshot Snapshot()
{
    e2e::RegistrySnapshot all;
    const struct {
        HKEY root;
        const char* key;
        const char* label;
    } places[] = {
        {HKEY_CURRENT_USER, "Control Panel", "HKCU\\Control Panel"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "HKCU\\Explorer"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "HKLM\\Explorer"},
        {HKEY_CLASSES_ROOT, ".bmp", "HKCR\\.bmp"},
        {HKEY_CLASSES_ROOT, "bmpfile", "HKCR\\bmpfile"},
        {HKEY_CLASSES_ROOT, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", "HKCR\\RecycleBin"},
    };
    for (const auto& place : places)
        all.merge(e2e::SnapshotRegistry(place.root, place.key, place.label));
    return all;
}

// Every value the scenarios may change, to put back after the suite (the prefix is shared).
std::vector<ValueAddress> TouchedValues()
{
    std::vector<ValueAddress> values = {IconColourValue(), IconSizeValue(), FontSmoothingValue(), TipsShowValue(),
                                        ShortcutOverlayValue(), MenuShowDelayValue()};
    for (const char* key : {".bmp\\", "bmpfile\\DefaultIcon\\", "bmpfile\\"}) // a subkey before its key
        values.push_back({RegRoot::ClassesRoot, key, ""});
    for (const char* name : {"IconSpacing", "IconVerticalSpacing"})
        values.push_back({RegRoot::CurrentUser, misc_keys::kWindowMetrics, name});
    values.push_back(RecycleBinNameValue());
    for (const char* tip : {"2", "1", "0"}) // the last first, so that an emptied key goes
        values.push_back({RegRoot::LocalMachine, kTipsKey, tip});
    return values;
}

class MiscTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        for (const ValueAddress& at : TouchedValues())
            s_saved.push_back(ReadStoredValue(at));
        s_before = new e2e::RegistrySnapshot(Snapshot());
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        const std::vector<ValueAddress> values = TouchedValues();
        for (size_t i = 0; i < values.size(); ++i)
            WriteStoredValue(values[i], s_saved[i]);
        // The prefix is shared with other tests: it ends as the suite found it.
        const e2e::RegistrySnapshot after = Snapshot();
        EXPECT_TRUE(e2e::ChangedKeys(*s_before, after).empty()) << e2e::DescribeChanges(*s_before, after);
        delete s_before;
    }

    // Opens the module afresh (it reads every setting when it opens).
    HWND OpenMisc()
    {
        HWND apply = OpenModuleForm(kMiscModule, IDC_MISC_APPLY, "Button");
        EXPECT_NE(apply, nullptr) << "the Misc form did not show";
        m_view = CurrentView();
        return apply;
    }
    HWND Control(int id) const { return FindDescendantById(m_view, id); }
    bool IsChecked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A click on a button as the user makes it: the form hears of it as a command.
    void Click(int id) const
    {
        HWND button = Control(id);
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(IsWindowEnabled(button)) << "control " << id << " is disabled";
        const LRESULT state = SendMessageA(button, BM_GETCHECK, 0, 0);
        const LONG style = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
        if (style == BS_AUTOCHECKBOX)
            SendMessageA(button, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        e2e::Settle(Frame());
    }
    void Type(int id, const std::string& text) const
    {
        SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        e2e::Settle(Frame());
    }
    static std::string Text(const ValueAddress& at) { return ReadStoredValue(at).TextOr("<none>"); }

    static std::set<std::string> Changed(const e2e::RegistrySnapshot& before)
    {
        return e2e::ChangedKeys(before, Snapshot());
    }

    HWND m_view = nullptr;
    static inline std::vector<StoredValue> s_saved;
    static inline e2e::RegistrySnapshot* s_before = nullptr;
};

int SpacingOf(const e2e::RegistrySnapshot& snapshot, const char* name)
{
    // Wine keeps a spacing it was given in pixels, its defaults in twips (negative: pixels ×
    // -15 at 96 dots per inch).
    const auto key = snapshot.find(kWindowMetrics);
    if (key == snapshot.end() || !key->second.count(name))
        return -1;
    const std::string value = key->second.at(name);
    const int number = std::stoi(value.substr(value.find(':') + 1));
    return number < 0 ? -number / 15 : number;
}

TEST_F(MiscTest, BigIconsAt48StoreTheSizeAndSetBothSpacingsTo112)
{
    OpenMisc();
    const e2e::RegistrySnapshot before = Snapshot();
    if (!IsChecked(IDC_MISC_BIG_ICONS))
        Click(IDC_MISC_BIG_ICONS);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_MISC_ICON_SIZE)));
    Type(IDC_MISC_ICON_SIZE, "48");
    Click(IDC_MISC_APPLY);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_APPLY))); // Apply disables itself
    EXPECT_EQ(Text(IconSizeValue()), "48");
    const e2e::RegistrySnapshot after = Snapshot();
    EXPECT_EQ(SpacingOf(after, "IconSpacing"), 112) << e2e::DescribeChanges(before, after);
    EXPECT_EQ(SpacingOf(after, "IconVerticalSpacing"), 112);
    EXPECT_EQ(e2e::ChangedKeys(before, after), std::set<std::string>{kWindowMetrics})
        << e2e::DescribeChanges(before, after);
}

TEST_F(MiscTest, BigIconsAtSizeZeroStoreOneAndShowIt)
{
    OpenMisc();
    if (!IsChecked(IDC_MISC_BIG_ICONS))
        Click(IDC_MISC_BIG_ICONS);
    Type(IDC_MISC_ICON_SIZE, "0");
    Click(IDC_MISC_APPLY);
    EXPECT_EQ(Text(IconSizeValue()), "1");
    EXPECT_EQ(TextOf(Control(IDC_MISC_ICON_SIZE)), "1");
}

TEST_F(MiscTest, ShortcutArrowOffStoresTheProgramsBlankIconAndReloadsOff)
{
    OpenMisc();
    ASSERT_TRUE(IsChecked(IDC_MISC_SHORTCUT_ARROW));
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_MISC_OVERLAY_CHANGE)));
    const e2e::RegistrySnapshot before = Snapshot();
    Click(IDC_MISC_SHORTCUT_ARROW);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_OVERLAY_CHANGE)));
    Click(IDC_MISC_APPLY);
    const std::string overlay = Text(ShortcutOverlayValue());
    EXPECT_EQ(overlay.substr(overlay.size() < 3 ? 0 : overlay.size() - 3), ",12");
    char exe[MAX_PATH] = "";
    GetFullPathNameA(e2e::QuentaExe().c_str(), MAX_PATH, exe, nullptr);
    EXPECT_EQ(lstrcmpiA(overlay.c_str(), (std::string(exe) + ",12").c_str()), 0) << overlay;
    const std::set<std::string> changed = Changed(before);
    EXPECT_TRUE(changed.count(kShellIcons)) << e2e::DescribeChanges(before, Snapshot());
    for (const std::string& key : changed)
        EXPECT_TRUE(key == kShellIcons || key == kWindowMetrics) << key;

    OpenMisc(); // reads the setting again
    EXPECT_FALSE(IsChecked(IDC_MISC_SHORTCUT_ARROW));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_OVERLAY_CHANGE)));
}

TEST_F(MiscTest, BitmapOptionRegistersBitmapPictureWhenBmpHasNoProgId)
{
    CRegistryAccess().DeleteValue(RegRoot::ClassesRoot, ".bmp", "");
    CRegistryAccess().DeleteKey(RegRoot::ClassesRoot, "bmpfile");
    OpenMisc();
    ASSERT_FALSE(IsChecked(IDC_MISC_BITMAP_ICONS));
    const e2e::RegistrySnapshot before = Snapshot();
    Click(IDC_MISC_BITMAP_ICONS);
    Click(IDC_MISC_APPLY);
    EXPECT_EQ(Text({RegRoot::ClassesRoot, ".bmp", ""}), "bmpfile");
    EXPECT_EQ(Text({RegRoot::ClassesRoot, "bmpfile", ""}), "Bitmap Picture");
    EXPECT_EQ(Text({RegRoot::ClassesRoot, "bmpfile\\DefaultIcon", ""}), "%1");
    const std::set<std::string> changed = Changed(before);
    const std::set<std::string> named = {"HKCR\\.bmp", "HKCR\\bmpfile", "HKCR\\bmpfile\\DefaultIcon", kWindowMetrics};
    for (const std::string& key : changed)
        EXPECT_TRUE(named.count(key)) << key;
    for (const char* key : {"HKCR\\.bmp", "HKCR\\bmpfile", "HKCR\\bmpfile\\DefaultIcon"})
        EXPECT_TRUE(changed.count(key)) << key;

    OpenMisc();
    EXPECT_TRUE(IsChecked(IDC_MISC_BITMAP_ICONS));
}

TEST_F(MiscTest, ResetThenApplyPutsEverySettingBackAsTheModuleFoundIt)
{
    OpenMisc();
    const e2e::RegistrySnapshot before = Snapshot();
    for (int id : {IDC_MISC_COLOUR_ICONS, IDC_MISC_FONT_SMOOTHING, IDC_MISC_SHOW_TIPS, IDC_MISC_BIG_ICONS,
                   IDC_MISC_WRAP_TITLES, IDC_MISC_BEEP})
        Click(id);
    Type(IDC_MISC_ICON_SIZE, "40");
    Click(IDC_MISC_APPLY);
    EXPECT_FALSE(Changed(before).empty());

    Click(IDC_MISC_RESET);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_MISC_APPLY)));
    Click(IDC_MISC_APPLY);
    const e2e::RegistrySnapshot after = Snapshot();
    // Every value that was there before holds its old text again and none is gone; only
    // values Wine's system-parameter store adds when a setting is first written may be new.
    for (const std::string& key : e2e::ChangedKeys(before, after)) {
        ASSERT_TRUE(before.count(key) && after.count(key)) << key << " appeared or vanished";
        for (const auto& [name, value] : before.at(key)) {
            const auto now = after.at(key).find(name);
            ASSERT_NE(now, after.at(key).end()) << key << "\\" << name << " was removed";
            EXPECT_EQ(now->second, value) << key << "\\" << name;
        }
    }
}

TEST_F(MiscTest, MenusApplyStoresTheDelayAsText)
{
    OpenMisc();
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_MENUS_APPLY)));
    const e2e::RegistrySnapshot before = Snapshot();
    Type(IDC_MISC_MENU_DELAY, "250");
    Click(IDC_MISC_MENUS_APPLY);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_MENUS_APPLY)));
    EXPECT_EQ(Text(MenuShowDelayValue()), "250");
    EXPECT_EQ(Changed(before), std::set<std::string>{"HKCU\\Control Panel\\Desktop"});
}

TEST_F(MiscTest, RecycleBinNameAppliesAndResetBringsTheOpeningNameBack)
{
    OpenMisc();
    const std::string opened = TextOf(Control(IDC_MISC_RECYCLE_NAME));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_RECYCLE_RESET)));
    const e2e::RegistrySnapshot before = Snapshot();
    Type(IDC_MISC_RECYCLE_NAME, "Bin of tests");
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_MISC_RECYCLE_RESET)));
    Click(IDC_MISC_RECYCLE_APPLY);
    EXPECT_EQ(Text(RecycleBinNameValue()), "Bin of tests");
    EXPECT_EQ(Changed(before), std::set<std::string>{"HKCR\\RecycleBin"});

    Click(IDC_MISC_RECYCLE_RESET);
    EXPECT_EQ(TextOf(Control(IDC_MISC_RECYCLE_NAME)), opened);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_MISC_RECYCLE_RESET)));
    Click(IDC_MISC_RECYCLE_APPLY);
    EXPECT_TRUE(Changed(before).empty()) << e2e::DescribeChanges(before, Snapshot());
}

TEST_F(MiscTest, TipsEditorReplacesTheEditedTipOnly)
{
    const ValueAddress first{RegRoot::LocalMachine, kTipsKey, "0"};
    const ValueAddress second{RegRoot::LocalMachine, kTipsKey, "1"};
    WriteStoredValue(first, StoredValue::Text("First tip"));
    WriteStoredValue(second, StoredValue::Text("Second tip"));
    OpenMisc();
    const e2e::RegistrySnapshot before = Snapshot();
    HWND button = Control(IDC_MISC_EDIT_TIPS);
    PostMessageA(m_view, WM_COMMAND, MAKEWPARAM(IDC_MISC_EDIT_TIPS, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        dialog = FindWindowOfProcess(Quenta().Id(), [](HWND w) { return CaptionOf(w) == "Tips"; });
        return dialog != nullptr;
    })) << "the tips editor did not open";
    HWND list = GetDlgItem(dialog, IDC_TIPS_LIST);
    HWND text = GetDlgItem(dialog, IDC_TIPS_TEXT);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3); // two tips and the empty last entry
    EXPECT_EQ(TextOf(text), "First tip");
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    EXPECT_TRUE(WaitFor([&] { return TextOf(text) == "Second tip"; }, 2000)); // the selection timer
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TIPS_APPLY)));
    // Typed (a multi-line edit tells of no change for a text set as a whole).
    SendMessageA(text, EM_SETSEL, 10, 10);
    for (char c : std::string(", edited"))
        SendMessageA(text, WM_CHAR, static_cast<WPARAM>(c), 1);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TIPS_APPLY)));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TIPS_APPLY, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TIPS_APPLY)));
    EXPECT_EQ(Text(second), "Second tip"); // written only by OK
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TIPS_OK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TIPS_OK)));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(Text(first), "First tip");
    EXPECT_EQ(Text(second), "Second tip, edited");
    EXPECT_FALSE(ReadStoredValue({RegRoot::LocalMachine, kTipsKey, "2"}).present);
    EXPECT_EQ(Changed(before), std::set<std::string>{"HKLM\\Explorer\\Tips"});
}

TEST_F(MiscTest, TheProgramsIconTwelveIsBlank)
{
    HMODULE exe = LoadLibraryExA(e2e::QuentaExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    std::vector<ULONG_PTR> groups;
    EnumResourceNamesA(
        exe, RT_GROUP_ICON,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(reinterpret_cast<ULONG_PTR>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&groups));
    FreeLibrary(exe);
    ASSERT_GT(groups.size(), static_cast<size_t>(kBlankIconIndex));
    EXPECT_GE(groups[kBlankIconIndex], static_cast<ULONG_PTR>(IDI_BLANK_FIRST));
    EXPECT_LE(groups[kBlankIconIndex], static_cast<ULONG_PTR>(IDI_BLANK_LAST));
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), e2e::QuentaExe().c_str(), kBlankIconIndex);
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);
}

TEST_F(MiscTest, ScreenshotInEnglish)
{
    OpenMisc();
    EXPECT_EQ(TextOf(Control(IDC_MISC_ANIMATION)), "Windows animation");
    EXPECT_TRUE(SaveScreenBmp(Shot("misc_en")));
}
} // namespace
