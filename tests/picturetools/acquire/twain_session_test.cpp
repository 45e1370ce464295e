#include "picturetools/acquire/twain_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"

using namespace twain;

namespace {
// One call as the manager saw it.
struct Seen {
    bool toSource;
    uint32_t group;
    uint16_t argument;
    uint16_t message;
    bool operator==(const Seen&) const = default;
};

Seen Dsm(uint16_t argument, uint16_t message) { return {false, DG_CONTROL, argument, message}; }
Seen Ds(uint16_t argument, uint16_t message) { return {true, DG_CONTROL, argument, message}; }
const Seen kNativeGet{true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET};

// A manager with a flatbed source behind it: it answers every call with success unless told
// otherwise, keeps the pages still to be transferred, and turns marked messages into the
// source's events.
class FakeManager : public ITwainManager {
public:
    bool Load() override
    {
        ++loads;
        loaded = present;
        return present;
    }
    void Unload() override
    {
        ++unloads;
        loaded = false;
    }
    uint16_t Call(TwIdentity* origin, TwIdentity* destination, uint32_t group, uint16_t argument, uint16_t message,
                  void* data) override
    {
        const Seen seen{destination != nullptr, group, argument, message};
        calls.push_back(seen);
        origins.push_back(*origin);
        if (auto failure = failures.find(message); failure != failures.end() && failure->second > 0) {
            --failure->second;
            return TWRC_FAILURE;
        }
        if (argument == DAT_PARENT)
            parent = *static_cast<void**>(data);
        if (argument == DAT_IDENTITY && message == MSG_OPENDS) {
            openedWith = *static_cast<TwIdentity*>(data);
            SetTwainString(static_cast<TwIdentity*>(data)->productName, "Flatbed");
            static_cast<TwIdentity*>(data)->id = 7;
        }
        if (argument == DAT_USERINTERFACE && message == MSG_ENABLEDS)
            shownUI = static_cast<TwUserInterface*>(data)->showUI != 0;
        if (argument == DAT_EVENT) {
            auto* event = static_cast<TwEvent*>(data);
            const int marked = *static_cast<int*>(event->event);
            event->message = static_cast<uint16_t>(marked);
            return marked == MSG_NULL ? TWRC_NOTDSEVENT : TWRC_DSEVENT;
        }
        if (argument == DAT_IMAGENATIVEXFER) {
            const uint16_t result = results.empty() ? TWRC_XFERDONE : results.front();
            if (!results.empty())
                results.pop_front();
            if (result == TWRC_XFERDONE)
                *static_cast<void**>(data) = &pageMarkers[delivered++ % 8];
            return result;
        }
        if (argument == DAT_PENDINGXFERS) {
            auto* pending = static_cast<TwPendingXfers*>(data);
            if (message == MSG_RESET || pages == 0)
                pages = 0;
            else if (pages != 0xFFFF)
                --pages;
            pending->count = pages;
        }
        return TWRC_SUCCESS;
    }

    bool present = true;
    bool loaded = false;
    int loads = 0, unloads = 0;
    uint16_t pages = 0;              // left to transfer, the current one included
    std::deque<uint16_t> results;    // of the native transfers, XFERDONE once they run out
    std::map<uint16_t, int> failures; // message: how many of its next calls fail
    std::vector<Seen> calls;
    std::vector<TwIdentity> origins;
    TwIdentity openedWith{};
    void* parent = nullptr;
    bool shownUI = false;
    int delivered = 0;
    int pageMarkers[8] = {};
};

int g_window = 0; // stands for the main window

class TwainSession : public ::testing::Test {
protected:
    TwainSession()
    {
        session.SetPageSink([this](void* handle) { received.push_back(handle); });
    }
    // A message the fake source turns into `event`.
    bool Pass(int& event) { return session.ProcessMessage(&event); }
    void ClearCalls() { manager.calls.clear(); }

    FakeManager manager;
    CTwainSession session{manager};
    std::vector<void*> received;
};

TEST_F(TwainSession, TheApplicationIdentityIsTheOneEveryCallCarries)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    const TwIdentity& id = manager.origins.front();
    EXPECT_EQ(uint32_t{id.id}, 0u);
    EXPECT_EQ(id.version.majorNum, 1);
    EXPECT_EQ(id.version.minorNum, 0);
    EXPECT_EQ(id.version.language, 13);
    EXPECT_EQ(id.version.country, 1);
    EXPECT_STREQ(id.version.info.text, "<?>");
    EXPECT_EQ(id.protocolMajor, 1);
    EXPECT_EQ(id.protocolMinor, 6);
    EXPECT_EQ(uint32_t{id.supportedGroups}, 3u); // a copy: the packed field has no alignment for a reference
    EXPECT_STREQ(id.manufacturer.text, "<?>");
    EXPECT_STREQ(id.productFamily.text, "<?>");
    EXPECT_STREQ(id.productName.text, "<?>");
}

TEST_F(TwainSession, AcquireOpensTheManagerTheDefaultSourceAndEnablesItWithItsWindow)
{
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    EXPECT_EQ(session.State(), kTwainSourceEnabled);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Dsm(DAT_PARENT, MSG_OPENDSM), Dsm(DAT_IDENTITY, MSG_OPENDS),
                                                Ds(DAT_USERINTERFACE, MSG_ENABLEDS)}));
    EXPECT_EQ(manager.parent, &g_window);
    EXPECT_TRUE(manager.shownUI);
    EXPECT_STREQ(manager.openedWith.productName.text, "") << "the source identity is zeroed: the default source";
    EXPECT_STREQ(session.SourceIdentity().productName.text, "Flatbed");

    // Acquiring again while enabled calls nothing.
    ClearCalls();
    EXPECT_EQ(session.Acquire(&g_window), TwainError::None);
    EXPECT_TRUE(manager.calls.empty());
}

TEST_F(TwainSession, EachFailureOfAcquireHasItsNumberAndStepsBackToWhereItBegan)
{
    manager.present = false;
    EXPECT_EQ(session.Acquire(&g_window), TwainError::Manager);
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    EXPECT_TRUE(manager.calls.empty());

    manager.present = true;
    manager.failures[MSG_OPENDSM] = 1;
    EXPECT_EQ(session.Acquire(&g_window), TwainError::Manager);
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    EXPECT_FALSE(manager.loaded) << "loaded for the command, unloaded after its failure";

    manager.failures[MSG_OPENDS] = 1;
    EXPECT_EQ(session.Acquire(&g_window), TwainError::Source);
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    EXPECT_EQ(manager.calls.back(), Dsm(DAT_PARENT, MSG_CLOSEDSM));

    manager.failures[MSG_ENABLEDS] = 1;
    ClearCalls();
    EXPECT_EQ(session.Acquire(&g_window), TwainError::Enable);
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Dsm(DAT_PARENT, MSG_OPENDSM), Dsm(DAT_IDENTITY, MSG_OPENDS),
                                                Ds(DAT_USERINTERFACE, MSG_ENABLEDS), Dsm(DAT_IDENTITY, MSG_CLOSEDS),
                                                Dsm(DAT_PARENT, MSG_CLOSEDSM)}));

    // From an open manager a failure goes back to the open manager only.
    ASSERT_TRUE(session.OpenManager(&g_window));
    manager.failures[MSG_OPENDS] = 1;
    EXPECT_EQ(session.Acquire(&g_window), TwainError::Source);
    EXPECT_EQ(session.State(), kTwainManagerOpen);
}

TEST_F(TwainSession, ThreePagesAnnouncedByTheSourceAreTransferredAndHandedOverAfterTheirEnd)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    int nothing = MSG_NULL;
    EXPECT_FALSE(Pass(nothing)) << "not the source's message: dispatched as usual";
    EXPECT_EQ(session.State(), kTwainSourceEnabled);

    manager.pages = 3;
    ClearCalls();
    int ready = MSG_XFERREADY;
    EXPECT_TRUE(Pass(ready));
    EXPECT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], &manager.pageMarkers[0]);
    EXPECT_EQ(received[2], &manager.pageMarkers[2]);
    EXPECT_EQ(session.State(), kTwainSourceEnabled);
    const Seen end = Ds(DAT_PENDINGXFERS, MSG_ENDXFER);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Ds(DAT_EVENT, MSG_PROCESSEVENT), kNativeGet, end, kNativeGet, end,
                                                kNativeGet, end}));
}

TEST_F(TwainSession, OnlyAFinishedTransferDeliversAndACancelledOneStillEnds)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    manager.pages = 3;
    manager.results = {TWRC_CANCEL, TWRC_FAILURE, TWRC_XFERDONE};
    int ready = MSG_XFERREADY;
    Pass(ready);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(session.State(), kTwainSourceEnabled);
}

TEST_F(TwainSession, ASourceThatWillNotEndItsTransferDoesNotHoldTheLoop)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    manager.pages = 0xFFFF; // "more to come" for ever
    manager.results = {TWRC_FAILURE};
    manager.failures[MSG_ENDXFER] = 1000;
    int ready = MSG_XFERREADY;
    Pass(ready);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(session.State(), kTwainSourceEnabled) << "the pending transfers were reset";

    // Stuck in state 7: the loop ends with the page it has.
    manager.pages = 2;
    manager.results = {};
    Pass(ready);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(session.State(), kTwainTransferring);
}

TEST_F(TwainSession, ACloseRequestDisablesAndClosesTheSourceAndKeepsTheManagerOpen)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    ClearCalls();
    int close = MSG_CLOSEDSREQ;
    EXPECT_TRUE(Pass(close));
    EXPECT_EQ(session.State(), kTwainManagerOpen);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Ds(DAT_EVENT, MSG_PROCESSEVENT), Ds(DAT_USERINTERFACE, MSG_DISABLEDS),
                                                Dsm(DAT_IDENTITY, MSG_CLOSEDS)}));
    // Below state 5 messages are not passed on.
    ClearCalls();
    EXPECT_FALSE(Pass(close));
    EXPECT_TRUE(manager.calls.empty());

    // The next acquisition opens the source again without opening the manager.
    EXPECT_EQ(session.Acquire(&g_window), TwainError::None);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Dsm(DAT_IDENTITY, MSG_OPENDS), Ds(DAT_USERINTERFACE, MSG_ENABLEDS)}));
    EXPECT_EQ(manager.loads, 1);
}

TEST_F(TwainSession, SelectSourceShowsTheDialogAndGoesBackToTheStateItFound)
{
    EXPECT_EQ(session.SelectSource(&g_window), TwainError::None);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Dsm(DAT_PARENT, MSG_OPENDSM), Dsm(DAT_IDENTITY, MSG_GETDEFAULT),
                                                Dsm(DAT_IDENTITY, MSG_USERSELECT), Dsm(DAT_PARENT, MSG_CLOSEDSM)}));
    EXPECT_EQ(session.State(), kTwainNothingLoaded);
    EXPECT_EQ(manager.unloads, 1);

    // With the manager open it stays open and is not opened twice.
    ASSERT_TRUE(session.OpenManager(&g_window));
    ClearCalls();
    EXPECT_EQ(session.SelectSource(&g_window), TwainError::None);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Dsm(DAT_IDENTITY, MSG_GETDEFAULT), Dsm(DAT_IDENTITY, MSG_USERSELECT)}));
    EXPECT_EQ(session.State(), kTwainManagerOpen);

    manager.present = false;
    FakeManager absent;
    absent.present = false;
    CTwainSession without(absent);
    EXPECT_EQ(without.SelectSource(&g_window), TwainError::Manager);
    EXPECT_TRUE(absent.calls.empty());
}

TEST_F(TwainSession, SteppingBackUndoesEachLevelInTurnAndStopsAtAFailure)
{
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    manager.failures[MSG_CLOSEDS] = 1;
    ClearCalls();
    EXPECT_FALSE(session.StepBackTo(kTwainNothingLoaded));
    EXPECT_EQ(session.State(), kTwainSourceOpen);
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Ds(DAT_USERINTERFACE, MSG_DISABLEDS), Dsm(DAT_IDENTITY, MSG_CLOSEDS)}));

    EXPECT_TRUE(session.StepBackTo(kTwainManagerLoaded));
    EXPECT_TRUE(manager.loaded);
    EXPECT_TRUE(session.StepBackTo(kTwainNothingLoaded));
    EXPECT_FALSE(manager.loaded);

    // From state 6 the pending transfers are reset first.
    ASSERT_EQ(session.Acquire(&g_window), TwainError::None);
    manager.pages = 2;
    manager.results = {TWRC_FAILURE};
    manager.failures[MSG_ENDXFER] = 1;
    manager.failures[MSG_RESET] = 1;
    int ready = MSG_XFERREADY;
    Pass(ready);
    EXPECT_EQ(session.State(), kTwainTransferReady);
    ClearCalls();
    EXPECT_TRUE(session.StepBackTo(kTwainManagerOpen));
    EXPECT_EQ(manager.calls, (std::vector<Seen>{Ds(DAT_PENDINGXFERS, MSG_RESET), Ds(DAT_USERINTERFACE, MSG_DISABLEDS),
                                                Dsm(DAT_IDENTITY, MSG_CLOSEDS)}));
}

TEST_F(TwainSession, EndingTheSessionClosesAndUnloadsTheManager)
{
    {
        FakeManager owner;
        {
            CTwainSession scoped(owner);
            ASSERT_EQ(scoped.Acquire(&g_window), TwainError::None);
        }
        EXPECT_FALSE(owner.loaded);
        EXPECT_EQ(owner.calls.back(), Dsm(DAT_PARENT, MSG_CLOSEDSM));
    }
}

TEST(TwainErrors, EachNumberHasItsTextAndAnyOtherIsUnknown)
{
    EXPECT_EQ(TwainErrorTextId(0), unsigned{IDS_TWAIN_NO_MANAGER});
    EXPECT_EQ(TwainErrorTextId(1), unsigned{IDS_TWAIN_NO_SOURCE});
    EXPECT_EQ(TwainErrorTextId(2), unsigned{IDS_TWAIN_NO_ENABLE});
    EXPECT_EQ(TwainErrorTextId(3), unsigned{IDS_TWAIN_UNKNOWN_ERROR});
    EXPECT_EQ(TwainErrorTextId(-1), unsigned{IDS_TWAIN_UNKNOWN_ERROR});
}

TEST(TwainStrings, AreCutTo33CharactersAndAlwaysEnd)
{
    TwStr32 text;
    std::memset(&text, 'x', sizeof text);
    SetTwainString(text, std::string(50, 'a').c_str());
    EXPECT_EQ(std::string(text.text), std::string(33, 'a'));
}
} // namespace
