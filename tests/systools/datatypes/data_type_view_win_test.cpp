// The data types' view under Wine over the test prefix's class registry with 40 types of the
// test's own: the fill (every type, sorted, the first selected, the list painting again after
// the rows it locked), removal through the list menu's command answered No and Yes, and the
// count in the status text.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/message.h"
#include "base/progress.h"
#include "base/text.h"
#include "res/resource.h"
#include "systools/datatypes/data_type_table.h"
#include "systools/datatypes/data_type_view_win.h"

namespace {
constexpr int kOwnTypes = 40;
MessageAnswer g_answer = MessageAnswer::No;
int g_questions = 0;
MessageAnswer Answer(const std::string&, MessageButtons)
{
    ++g_questions;
    return g_answer;
}

// The main window's progress: its texts, and a cancel at the enumeration's second step.
std::vector<std::string> g_texts;
bool g_collecting = false, g_cancelCollecting = false;
void RecordText(const std::string& text)
{
    g_texts.push_back(text);
    g_collecting = text == LoadText(IDS_COLLECTING_INFORMATION);
}
bool MaybeCancel(int64_t position) { return !(g_cancelCollecting && g_collecting && position > 0); }

std::string Extension(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, ".qv%02d", i);
    return name;
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
void RemoveOwnTypes()
{
    for (int i = 0; i < kOwnTypes; ++i)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, Extension(i).c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "qvfile");
}

class DataTypeView : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        SetMessageHandler(Answer);
        SetTextLanguage(0x0409);
        MainWindowProgress().onText = RecordText;
        MainWindowProgress().onPos = MaybeCancel;
    }
    static void TearDownTestSuite()
    {
        MainWindowProgress().onText = nullptr;
        MainWindowProgress().onPos = nullptr;
    }
    void SetUp() override
    {
        RemoveOwnTypes();
        // Named in an order of their own: z..a for the even ones, through a progid for the odd.
        SetDefault("qvfile", "qv shared type");
        for (int i = 0; i < kOwnTypes; ++i)
            SetDefault(Extension(i), i % 2 ? "qvfile" : std::string("qv type ") + char('z' - i / 2));
        g_questions = 0;
        g_texts.clear();
        g_cancelCollecting = false;
        m_frame = CreateWindowExA(0, "STATIC", "data types test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 640,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(m_frame);
        ASSERT_TRUE(m_view.CreateView(m_frame, 0xE900));
        MoveWindow(m_view.Hwnd(), 0, 0, 880, 600, TRUE);
        ShowWindow(m_view.Hwnd(), SW_SHOW);
        m_view.InitModule();
    }
    void TearDown() override
    {
        DestroyWindow(m_frame);
        RemoveOwnTypes();
    }

    std::vector<std::string> ColumnTexts(int column)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < m_view.List().RowCount(); ++row)
            texts.push_back(m_view.List().StoredText(row, column));
        return texts;
    }
    int RowOf(const std::string& extension)
    {
        const std::vector<std::string> extensions = ColumnTexts(1);
        const auto found = std::find(extensions.begin(), extensions.end(), extension);
        return found == extensions.end() ? -1 : static_cast<int>(found - extensions.begin());
    }
    void Select(const std::vector<int>& rows)
    {
        HWND list = m_view.List().Hwnd();
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows)
            ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    }

    HWND m_frame = nullptr;
    CDataType m_view;
};
} // namespace

TEST_F(DataTypeView, FillListsEveryTypeSortedWithTheFirstSelected)
{
    const std::vector<std::string> names = ColumnTexts(0);
    int own = 0;
    for (int i = 0; i < kOwnTypes; ++i)
        own += RowOf(Extension(i)) >= 0 ? 1 : 0;
    EXPECT_EQ(own, kOwnTypes);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_EQ(names[static_cast<size_t>(RowOf(".qv01"))], "Qv shared type") << "first letter raised";
    HWND list = m_view.List().Hwnd();
    EXPECT_TRUE(IsWindowVisible(list)) << "painting is released after the locked rows";
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
    char expected[64];
    std::snprintf(expected, sizeof expected, "1 selected object on %d", m_view.List().RowCount());
    EXPECT_EQ(m_view.StatusText(), expected);
    char shown[64] = {};
    GetDlgItemTextA(m_view.Hwnd(), IDC_DATATYPE_EXTENSION, shown, sizeof shown);
    EXPECT_EQ(std::string(shown), ColumnTexts(1)[0]);
}

TEST_F(DataTypeView, TheMenusDeleteAsksAndRemovesOnlyTheSelectedKeys)
{
    const int rows = m_view.List().RowCount();
    Select({RowOf(".qv07"), RowOf(".qv02")});
    g_answer = MessageAnswer::No;
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_DATATYPE_DELETE, 0);
    EXPECT_EQ(g_questions, 1);
    EXPECT_TRUE(KeyExists(".qv07"));
    EXPECT_EQ(m_view.List().RowCount(), rows);

    g_answer = MessageAnswer::Yes;
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_DATATYPE_DELETE, 0);
    EXPECT_EQ(g_questions, 2);
    EXPECT_FALSE(KeyExists(".qv07"));
    EXPECT_FALSE(KeyExists(".qv02"));
    EXPECT_TRUE(KeyExists("qvfile")) << "the type key stays";
    for (int i = 0; i < kOwnTypes; ++i) {
        if (i != 7 && i != 2) {
            EXPECT_TRUE(KeyExists(Extension(i))) << Extension(i);
        }
    }
    EXPECT_EQ(m_view.List().RowCount(), rows - 2);
    EXPECT_EQ(RowOf(".qv07"), -1);
    EXPECT_EQ(RowOf(".qv02"), -1);
    const DataTypeTable& table = DataTypeTable::Shared();
    int removed = 0;
    for (int i = 0; i < table.Count(); ++i)
        removed += table.At(i)->removed ? 1 : 0;
    EXPECT_EQ(removed, 2) << "removed entries stay in the table until the next fill";

    // Nothing selected: nothing asked.
    Select({});
    SendMessageA(m_view.Hwnd(), WM_COMMAND, ID_DATATYPE_DELETE, 0);
    EXPECT_EQ(g_questions, 2);
}

TEST_F(DataTypeView, TheFillNamesEachTypeAndStopsWhenCancelled)
{
    ASSERT_FALSE(g_texts.empty());
    EXPECT_EQ(g_texts.front(), "Collecting Information...");
    const int rows = m_view.List().RowCount();
    char last[128];
    std::snprintf(last, sizeof last, "(%d/%d)...", rows, rows);
    EXPECT_NE(g_texts.back().find(last), std::string::npos) << g_texts.back();
    EXPECT_EQ(g_texts.back().rfind("Retrieving \"", 0), 0u) << g_texts.back();

    g_cancelCollecting = true;
    m_view.Refill();
    EXPECT_LT(m_view.List().RowCount(), rows) << "the keys after the cancelled step are not read";
    int kept = 0;
    for (int i = 0; i < DataTypeTable::Shared().Count(); ++i)
        kept += DataTypeTable::Shared().At(i)->removed ? 0 : 1;
    EXPECT_EQ(m_view.List().RowCount(), kept) << "the list shows what was read";
}
