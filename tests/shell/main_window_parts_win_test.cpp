#include "shell/main_window_parts_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/frame.h"

namespace {
std::vector<std::string> g_events;
HWND g_madeFor = nullptr;

// Takes the messages WM_USER + 1 only.
class RecordingPart : public CMainWindowPart {
public:
    explicit RecordingPart(HWND window) { g_madeFor = window; g_events.push_back("made"); }
    ~RecordingPart() override { g_events.push_back("destroyed"); }
    bool PreTranslateMessage(const MSG& msg) override
    {
        g_events.push_back("saw " + std::to_string(msg.message - WM_USER));
        return msg.message == WM_USER + 1;
    }
};

std::unique_ptr<CMainWindowPart> MakeRecordingPart(HWND window) { return std::make_unique<RecordingPart>(window); }
const MainWindowPartFactory kFactories[] = {MakeRecordingPart};

bool PreTranslate(UINT message)
{
    MSG msg{};
    msg.message = message;
    return PreTranslateFrameworkMessage(msg);
}

TEST(MessageFilters, TakeTheMessagesTheyWantAfterTheObserversSawThem)
{
    std::vector<UINT> observed;
    const int observer = AddMessageObserver([&](const MSG& msg) { observed.push_back(msg.message); });
    const int filter = AddMessageFilter([](const MSG& msg) { return msg.message == WM_USER + 7; });
    EXPECT_TRUE(PreTranslate(WM_USER + 7));
    EXPECT_FALSE(PreTranslate(WM_USER + 8));
    RemoveMessageFilter(filter);
    EXPECT_FALSE(PreTranslate(WM_USER + 7));
    RemoveMessageObserver(observer);
    EXPECT_EQ(observed, (std::vector<UINT>{WM_USER + 7, WM_USER + 8, WM_USER + 7}));
}

TEST(MainWindowParts, AreMadeForTheWindowSeeItsMessagesAndGoWithIt)
{
    SetMainWindowPartFactories(kFactories);
    const HWND window = reinterpret_cast<HWND>(0x1234);
    g_events.clear();
    {
        CMainWindowParts parts;
        parts.Create(window);
        EXPECT_EQ(g_madeFor, window);
        EXPECT_TRUE(PreTranslate(WM_USER + 1)) << "taken by the part: neither translated nor dispatched";
        EXPECT_FALSE(PreTranslate(WM_USER + 2));
        parts.Destroy();
        EXPECT_FALSE(PreTranslate(WM_USER + 1)) << "the filter went with the parts";
    }
    EXPECT_EQ(g_events, (std::vector<std::string>{"made", "saw 1", "saw 2", "destroyed"}));
    SetMainWindowPartFactories({});
}
} // namespace
