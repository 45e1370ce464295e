// Drives the pictures translator of the real toolbox: adds a folder of pictures through the
// folder browser, translates them to 256-colour PNG into a folder where some destinations
// already exist, answers the overwrite questions, and opens an item in the picture viewer.
// Screenshots are kept in the build folder; check_translated_pictures.py reads the results
// with an independent decoder.
// The folder goes in through "&Add Folder" and the real folder browser (told the folder with
// BFFM_SETSELECTION), not by dropping files: a WM_DROPFILES handle cannot be made valid in
// another process.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "picture/codec_registry.h"
#include "picture/codecs/codecs.h"
#include "picture/graphics_codec.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/picture_open/picture_open_dialog_win.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/remote_controls_win.h"

namespace {
namespace fs = std::filesystem;
constexpr int kTranslatorModule = 14;
constexpr int kViewerTabs = 1032;
constexpr int kMessageText = 1000;
const char kWorkingTitle[] = "Quenta - Working...";
const char kMessageTitle[] = "Quenta - Message";
const char kOldContent[] = "old destination";
const char kOpenTitle[] = "Load a new picture...";
const char kPreviewKey[] = "Software\\Ostrel\\Quenta\\LoadPicture";

struct Input {
    const char* name;
    int width, height;
};
// The big bitmap keeps the working window up long enough to be seen.
const Input kInputs[] = {{"big.bmp", 2400, 1800}, {"photo.jpg", 200, 150}, {"icons.png", 120, 90},
                         {"drawing.gif", 64, 48}};
// Destinations that exist before the run: the first one asked about is kept (No), the second
// is overwritten (Yes, then Yes to all), the third is overwritten without a question.
const char* const kExisting[] = {"photo.PNG", "icons.PNG", "drawing.PNG"};

// Screenshots, the manifest and copies of the pictures for the oracle go to the build folder.
fs::path WorkFolder() { return fs::path(QUENTA_BINARY_DIR) / "tests" / "e2e" / "translator"; }
fs::path ManifestPath() { return WorkFolder() / "expected.txt"; }
std::string Shot(const std::string& name) { return (WorkFolder() / (name + ".bmp")).string(); }
// The pictures themselves live on the prefix's drive C: Wine's folder browser cannot select
// folders below the host's /tmp on drive Z:.
const fs::path kDriveFolder = "C:\\quenta_e2e_translator";
fs::path InputFolder() { return kDriveFolder / "pictures"; }
fs::path OutputFolder() { return kDriveFolder / "translated"; }

std::string StemOf(const std::string& name) { return name.substr(0, name.rfind('.')); }

// A gradient with a few bars, so that colour reduction has work to do and a wrong
// orientation or channel order shows.
void Paint(CPicture& picture, int width, int height)
{
    ASSERT_TRUE(picture.Create(width, height));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.Row(y);
        for (int x = 0; x < width; ++x, row += 3) {
            const bool bar = (x * 8 / width) % 2 == 0 && y < height / 3;
            row[0] = bar ? 40 : uint8_t(255 * x / width);
            row[1] = uint8_t(255 * y / height);
            row[2] = bar ? 230 : uint8_t(128);
        }
    }
}

void WriteInputs()
{
    fs::remove_all(kDriveFolder);
    fs::create_directories(InputFolder() / "inner");
    // The picture library writes the first three; GIF it only reads (the file comes from ImageMagick).
    CGraphicsCodec* const writers[] = {&BmpCodec(), &JpgCodec(), &PngCodec()};
    for (size_t i = 0; i < std::size(writers); ++i) {
        CPicture picture;
        Paint(picture, kInputs[i].width, kInputs[i].height);
        const std::string path = (InputFolder() / kInputs[i].name).string();
        ASSERT_EQ(writers[i]->WriteFile(path, &picture, 24, false, nullptr), 1) << path;
    }
    fs::copy_file(fs::path(QUENTA_SOURCE_DIR) / "tests" / "e2e" / "translator" / kInputs[3].name,
                  InputFolder() / kInputs[3].name);
    // Neither a file that is no picture nor a picture in a subfolder joins the list.
    std::ofstream(InputFolder() / "notes.txt") << "not a picture\n";
    std::ofstream(InputFolder() / "empty.txt");
    CPicture inner;
    Paint(inner, 16, 16);
    ASSERT_EQ(BmpCodec().WriteFile((InputFolder() / "inner" / "deeper.bmp").string(), &inner, 24, false, nullptr), 1);
}

int CodecIndex(const CGraphicsCodec& codec)
{
    for (int i = 0; g_pictureCodecs[i]; ++i)
        if (g_pictureCodecs[i] == &codec)
            return i;
    return -1;
}

std::string ReadFileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The path between the first pair of double quotes of a question.
std::string QuotedPath(const std::string& text)
{
    const size_t open = text.find('"');
    const size_t close = open == std::string::npos ? open : text.find('"', open + 1);
    return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

// The translator's settings as they were before the test, put back afterwards so that the
// runs leave the shared test prefix as they found it.
class SavedSettings {
public:
    explicit SavedSettings(const char* key) : m_key(key)
    {
        HKEY handle = nullptr;
        m_existed = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) == ERROR_SUCCESS;
        for (DWORD i = 0; m_existed; ++i) {
            char name[256];
            DWORD nameSize = sizeof name, type = 0, dataSize = 0;
            if (RegEnumValueA(handle, i, name, &nameSize, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS)
                break;
            Value value{name, type, std::vector<BYTE>(dataSize)};
            nameSize = sizeof name;
            RegEnumValueA(handle, i, name, &nameSize, nullptr, &type, value.data.data(), &dataSize);
            m_values.push_back(std::move(value));
        }
        if (handle)
            RegCloseKey(handle);
    }
    ~SavedSettings()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_key);
        HKEY handle = nullptr;
        if (!m_existed || RegCreateKeyExA(HKEY_CURRENT_USER, m_key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                                          nullptr) != ERROR_SUCCESS)
            return;
        for (const Value& value : m_values)
            RegSetValueExA(handle, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        RegCloseKey(handle);
    }

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const char* m_key;
    bool m_existed = false;
    std::vector<Value> m_values;
};

// One toolbox for the suite; each test opens the translator in a new view.
class TranslatorE2eTest : public QuentaSuite {
protected:
    static void SetUpTestSuite()
    {
        s_settings = new SavedSettings("Software\\Ostrel\\Quenta\\Converter");
        s_previewSetting = new SavedSettings(kPreviewKey);
        WriteInputs();
        QuentaSuite::SetUpTestSuite();
    }
    static void TearDownTestSuite()
    {
        QuentaSuite::TearDownTestSuite();
        delete s_settings;
        delete s_previewSetting;
        std::error_code ignored;
        fs::remove_all(kDriveFolder, ignored);
    }
    static inline SavedSettings* s_settings = nullptr;
    static inline SavedSettings* s_previewSetting = nullptr;

    void SetUp() override
    {
        QuentaSuite::SetUp();
        if (HasFatalFailure())
            return;
        m_frame = Frame();
        m_list = OpenModuleForm(kTranslatorModule, IDC_TRANSLATOR_LIST, WC_LISTVIEWA);
        ASSERT_NE(m_list, nullptr) << "the translator's form has no file list";
        m_form = GetParent(m_list);
    }

    HWND Control(int id) const { return FindDescendantById(m_form, id); }

    // Returns once the toolbox's window thread has handled everything sent before and
    // `window` (the main window unless told) has painted.
    void Settle(HWND window = nullptr) const
    {
        window = window ? window : m_frame;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result);
    }

    void Click(int id) const
    {
        HWND button = Control(id);
        PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    int ItemCount() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }

    // The texts of a list column, read through memory of the toolbox's process.
    std::string ColumnTexts(int columnIndex) const
    {
        const std::vector<std::string> column = e2e::ListColumnTexts(Quenta().Process(), m_list, columnIndex);
        std::string texts;
        for (size_t row = 0; row < column.size(); ++row)
            texts += (row ? ", " : "") + column[row];
        return texts;
    }

    HWND WindowTitled(const char* title) const
    {
        return FindWindowOfProcess(Quenta().Id(), [title](HWND w) { return CaptionOf(w) == title; });
    }

    // "&Add Folder": the folder browser is told the folder through memory of the toolbox's
    // own process, then confirmed.
    void AddInputFolder()
    {
        Click(IDC_TRANSLATOR_ADD_FOLDER);
        HWND browser = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            browser = FindWindowOfProcess(Quenta().Id(), [](HWND w) {
                return ClassOf(w) == "#32770" && FindDescendantByClass(w, WC_TREEVIEWA);
            });
            return browser != nullptr;
        })) << "no folder browser";
        const std::string folder = InputFolder().string();
        ASSERT_TRUE(e2e::SelectInFolderBrowser(Quenta().Process(), browser, folder, [this](HWND tree) {
            return SelectedTreeText(tree) == InputFolder().filename().string();
        })) << "the folder browser did not select " << folder;
        PostMessageA(browser, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(browser); })) << "the folder browser stayed open";
        Settle();
    }

    // The text of the tree's selected item.
    std::string SelectedTreeText(HWND tree) const
    {
        struct Block {
            TVITEMA item;
            char text[MAX_PATH];
        };
        RemoteBuffer remote(Quenta().Process(), sizeof(Block));
        Block block{};
        block.item.mask = TVIF_TEXT;
        block.item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        block.item.pszText = reinterpret_cast<char*>(remote.Address() + offsetof(Block, text));
        block.item.cchTextMax = MAX_PATH;
        if (!remote || !block.item.hItem || !remote.Write(&block, sizeof block) ||
            !SendMessageA(tree, TVM_GETITEMA, 0, remote.Address()) || !remote.Read(&block, sizeof block))
            return {};
        block.text[MAX_PATH - 1] = '\0';
        return block.text;
    }

    // Selects the combo box item whose data is `data` and tells the form, as a user's choice would.
    bool ChooseByData(int id, LRESULT data) const
    {
        HWND combo = Control(id);
        const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            if (SendMessageA(combo, CB_GETITEMDATA, i, 0) != data)
                continue;
            SendMessageA(combo, CB_SETCURSEL, i, 0);
            SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            return true;
        }
        return false;
    }

    HWND m_frame = nullptr, m_list = nullptr, m_form = nullptr;
};

// What the run asked and answered.
struct Questions {
    std::vector<std::string> overwrite; // destination paths, in order
    int overwriteAll = 0;
    std::vector<std::string> unexpected;
};
} // namespace

TEST_F(TranslatorE2eTest, AddedFolderTranslatesToPalettePngAskingBeforeOverwriting)
{
    fs::remove(ManifestPath());
    fs::remove_all(OutputFolder());
    fs::create_directories(OutputFolder());
    for (const char* name : kExisting)
        std::ofstream(OutputFolder() / name, std::ios::binary) << kOldContent;

    AddInputFolder();
    // Adding shows progress, which lets messages through: wait for the list to fill.
    WaitFor([&] { return ItemCount() >= 4; }, 10000);
    Settle();
    ASSERT_EQ(ItemCount(), 4) << "the folder's four pictures, without the text files and the subfolder: "
                              << ColumnTexts(0) << " / " << ColumnTexts(1);

    ASSERT_TRUE(ChooseByData(IDC_TRANSLATOR_TYPE, CodecIndex(PngCodec())));
    ASSERT_TRUE(ChooseByData(IDC_TRANSLATOR_DEPTH, 8));
    SendMessageA(Control(IDC_TRANSLATOR_OUTPUT), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(OutputFolder().string().c_str()));
    Settle();
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_TRANSLATOR_START)));
    EXPECT_TRUE(SaveScreenBmp(Shot("translator_module")));

    Click(IDC_TRANSLATOR_START);
    Questions asked;
    bool sawWorking = false, shotWorking = false, shotQuestion = false;
    const bool finished = WaitFor(
        [&] {
            HWND working = WindowTitled(kWorkingTitle);
            if (working) {
                sawWorking = true;
                if (!shotWorking && !CaptionOf(FindDescendantById(working, IDC_WORKING_LINE2)).empty())
                    shotWorking = SaveScreenBmp(Shot("translator_working"));
            }
            HWND box = WindowTitled(kMessageTitle);
            if (!box)
                return sawWorking && !working;
            const std::string text = TextOf(GetDlgItem(box, kMessageText));
            int answer = IDYES;
            if (text.find("already exists") != std::string::npos) {
                asked.overwrite.push_back(QuotedPath(text));
                answer = asked.overwrite.size() == 1 ? IDNO : IDYES;
            } else if (text.find("overwrite all") != std::string::npos) {
                ++asked.overwriteAll;
            } else {
                asked.unexpected.push_back(text);
                answer = GetDlgItem(box, IDOK) ? IDOK : IDNO;
            }
            if (!shotQuestion)
                shotQuestion = SaveScreenBmp(Shot("translator_question"));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
            WaitFor([&] { return !IsWindow(box); }, 5000);
            return false;
        },
        150000);
    ASSERT_TRUE(finished) << "the run did not end";
    Settle();

    EXPECT_TRUE(asked.unexpected.empty()) << asked.unexpected.front();
    ASSERT_EQ(asked.overwrite.size(), 2u) << "one question per existing destination until Yes to all";
    EXPECT_EQ(asked.overwriteAll, 1);
    const std::string kept = fs::path(asked.overwrite[0]).filename().string();
    const std::string second = fs::path(asked.overwrite[1]).filename().string();
    EXPECT_NE(kept, second);

    // The destination answered No keeps its content; every other one is a new picture.
    std::ofstream manifest(ManifestPath());
    for (const Input& input : kInputs) {
        const std::string name = StemOf(input.name) + ".PNG";
        const std::string content = ReadFileText(OutputFolder() / name);
        if (name == kept) {
            EXPECT_EQ(content, kOldContent) << name;
            manifest << "kept " << name << ' ' << kOldContent << '\n';
        } else {
            EXPECT_NE(content, kOldContent) << name << " was not overwritten";
            EXPECT_EQ(content.substr(0, 4), "\x89PNG") << name;
            manifest << "png " << name << ' ' << input.name << ' ' << input.width << ' ' << input.height << '\n';
        }
    }
    EXPECT_TRUE(sawWorking);
    EXPECT_TRUE(shotWorking);
    // The oracle reads the pictures from the build folder.
    for (const char* folder : {"pictures", "translated"}) {
        fs::remove_all(WorkFolder() / folder);
        fs::copy(kDriveFolder / folder, WorkFolder() / folder, fs::copy_options::recursive);
    }
}

TEST_F(TranslatorE2eTest, FileChosenWithPreviewOpensInTheViewerOnDoubleClick)
{
    // "Add &File(s)" opens the picture open dialog; with its preview switched on, a selected
    // file shows at once.
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kPreviewKey, "EnablePreview", REG_SZ, "1", 2), ERROR_SUCCESS);
    Click(IDC_TRANSLATOR_ADD_FILES);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = WindowTitled(kOpenTitle)) != nullptr; })) << "no open dialog";
    HWND name = GetDlgItem(dialog, cmb13) ? GetDlgItem(dialog, cmb13) : GetDlgItem(dialog, edt1);
    ASSERT_TRUE(name);
    // A folder typed as the name opens that folder (in a new file list); the last of its
    // files is the photo.
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(InputFolder().string().c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND files = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        files = FindDescendant(dialog, [](HWND w) { return ClassOf(w) == WC_LISTVIEWA && IsWindowVisible(w); });
        return files && SendMessageA(files, LVM_GETITEMCOUNT, 0, 0) == 5; // "inner" and the four pictures
    }));
    const int last = static_cast<int>(SendMessageA(files, LVM_GETITEMCOUNT, 0, 0)) - 1;
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    RemoteBuffer remote(Quenta().Process(), sizeof state);
    ASSERT_TRUE(remote && remote.Write(&state, sizeof state));
    SendMessageA(files, LVM_SETITEMSTATE, last, remote.Address());
    HWND size = FindDescendantById(dialog, IDC_PICTURE_OPEN_SIZE);
    EXPECT_TRUE(WaitFor([&] { return TextOf(size) == "200 x 150"; })) << TextOf(size);
    Settle(dialog);
    EXPECT_TRUE(SaveScreenBmp(Shot("picture_open_dialog")));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog) && ItemCount() == 1; }));
    EXPECT_EQ(ColumnTexts(0), "photo.jpg");

    const std::vector<HWND> before = WindowsOfProcess(Quenta().Id());

    RECT item{};
    ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), m_list, LVM_GETITEMRECT, 0, item, LVIR_LABEL));
    e2e::ClickAt(m_list, item, true);
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND window : WindowsOfProcess(Quenta().Id()))
            if (std::find(before.begin(), before.end(), window) == before.end())
                viewer = window;
        return viewer != nullptr;
    })) << "no viewer window appeared";
    EXPECT_NE(CaptionOf(viewer), kMessageTitle) << TextOf(GetDlgItem(viewer, kMessageText));
    Settle(viewer);
    EXPECT_TRUE(SaveScreenBmp(Shot("viewer")));

    HWND tabs = FindDescendantById(viewer, kViewerTabs);
    ASSERT_NE(tabs, nullptr) << "the viewer shows no tabs";
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT tab{};
        ASSERT_TRUE(e2e::RemoteRect(Quenta().Process(), tabs, TCM_GETITEMRECT, i, tab));
        e2e::ClickAt(tabs, tab);
        EXPECT_TRUE(WaitFor([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == i; }, 5000)) << "tab " << i;
        Settle(viewer);
        EXPECT_TRUE(SaveScreenBmp(Shot("viewer_tab" + std::to_string(i))));
    }
}
