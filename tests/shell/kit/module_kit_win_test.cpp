// The module kit's window side: what a module view gets from the shell.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>

#include "app/main_window.h"
#include "base/progress.h"
#include "base/text.h"
#include "shell/busy_scope_win.h"
#include "shell/dropped_files_win.h"
#include "shell/module_catalogue.h"
#include "shell/module_factory_win.h"
#include "shell/module_host_win.h"
#include "shell/module_status_win.h"
#include "shell/pending_module_view_win.h"
#include "tests/support/drop_files_win.h"
#include "res/resource.h" // after the framework, whose command enum it would rename

namespace {
class FakeHost : public IModuleHost {
public:
    void SetActiveModuleView(CQnFormView*) override {}
    void ModuleViewDestroyed(CQnFormView*) override {}
    void ShowNavigationBars(bool) override {}
    void SetBusy(bool busy) override
    {
        busyCalls.push_back(busy);
        m_busy = busy;
    }
    bool IsBusy() const override { return m_busy; }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetWindowTitleExtra(const std::string*) override {}
    void SwitchModule(int) override {}
    void PostCommand(unsigned) override {}

    std::vector<bool> busyCalls;
    std::string status;

private:
    bool m_busy = false;
};

class ModuleKit : public testing::Test {
protected:
    void SetUp() override
    {
        SetModuleHost(&m_host);
        SetTextLanguage(0x0409);
    }
    void TearDown() override { SetModuleHost(nullptr); }
    FakeHost m_host;
};
} // namespace

TEST_F(ModuleKit, BusyScopeEndsOnEveryWayOutAndNestsUnderTheOutermost)
{
    try {
        CBusyScope busy;
        busy.SetRange(3);
        EXPECT_TRUE(busy.Step(1, "Adding..."));
        {
            CBusyScope inner;
            EXPECT_TRUE(inner.Step(2, "inner"));
        }
        EXPECT_EQ(m_host.busyCalls, std::vector<bool>{true}) << "the inner scope leaves the display on";
        throw std::runtime_error("out");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(m_host.busyCalls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(MainWindowProgress().IsActive());

    CBusyScope again;
    MainWindowProgress().Cancel();
    EXPECT_FALSE(again.Step(1, "x")) << "a cancel reaches the loop";
}

TEST_F(ModuleKit, StatusTextComesBackAfterATip)
{
    CModuleStatus status;
    status.ShowObjectCount(5, 2);
    EXPECT_EQ(m_host.status, "2 selected objects on 5");
    status.ShowTip("Adds picture(s) to the list");
    EXPECT_EQ(m_host.status, "Adds picture(s) to the list");
    status.ShowTip("");
    EXPECT_EQ(m_host.status, "2 selected objects on 5");
    EXPECT_EQ(status.Text(), "2 selected objects on 5");
}

namespace {
int g_factoryCalls = 0;
std::unique_ptr<CQnFormView> MakeEmptyView()
{
    ++g_factoryCalls;
    return std::make_unique<CQnFormView>(&EmptyFormTemplate());
}
} // namespace

TEST_F(ModuleKit, TheTableDecidesEachModulesViewAndAMissingFactoryIsPending)
{
    static const ModuleRow rows[] = {
        {0, IDS_MODULE_START, IDR_PIC_START, "local\\index.htm", MakeEmptyView},
        {12, IDS_MODULE_DATATYPES, IDR_PIC_DATATYPES, "local\\datatype.htm"},
    };
    SetModuleTable(rows);
    EXPECT_TRUE(CreateModuleView(0));
    EXPECT_EQ(g_factoryCalls, 1);
    auto pending = CreateModuleView(12);
    EXPECT_TRUE(dynamic_cast<CPendingModuleView*>(pending.get()));
    EXPECT_FALSE(CreateModuleView(7)) << "not in the table: nothing is created";
    SetModuleTable({});
}

TEST_F(ModuleKit, FormTextsComeFromTheStringTableInTheChosenLanguage)
{
    static const FormText texts[] = {{901, IDS_LABEL_OUTPUT_FOLDER}, {902, IDS_BUTTON_START}};
    static const ControlAnchor anchors[] = {{902, FollowRight | FollowBottom}};
    HWND frame = CreateWindowExA(0, "STATIC", "kit", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    for (const auto& [language, start] : {std::pair{0x0409u, "&Start"}, {0x040Cu, "&D\xE9marrer"}}) {
        SetTextLanguage(language);
        CQnFormView view(ModuleForm{900, texts, anchors, IDS_TRANSLATOR_REPORT_TITLE});
        ASSERT_TRUE(view.CreateView(frame, 0xE900));
        char text[64] = "";
        GetDlgItemTextA(view.Hwnd(), 902, text, sizeof text);
        EXPECT_STREQ(text, start);
        EXPECT_EQ(view.ReportTitle(), LoadText(IDS_TRANSLATOR_REPORT_TITLE));

        RECT before, after;
        GetWindowRect(GetDlgItem(view.Hwnd(), 902), &before);
        RECT client;
        GetClientRect(view.Hwnd(), &client);
        MoveWindow(view.Hwnd(), 0, 0, client.right + 30, client.bottom + 20, TRUE);
        GetWindowRect(GetDlgItem(view.Hwnd(), 902), &after);
        EXPECT_EQ(after.left - before.left, 30);
        EXPECT_EQ(after.top - before.top, 20);
        DestroyWindow(view.Hwnd());
    }
    SetTextLanguage(0x0409);
    DestroyWindow(frame);
}

TEST(DroppedFiles, EveryPathOfTheDropWhateverItsLength)
{
    const std::vector<std::string> paths = {"C:\\a.bmp", "C:\\" + std::string(300, 'x') + ".png"};
    EXPECT_EQ(TakeDroppedFiles(static_cast<HDROP>(MakeDropFiles(paths))), paths);
}
