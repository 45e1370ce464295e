// The screen capture's rules: the hot key list and its modifier bits, the capture kinds, the
// part of the screen a window capture keeps, and the "ScreenCapture" settings.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "app/settings.h"
#include "picturetools/capture/capture_rules.h"
#include "picturetools/capture/capture_settings.h"
#include "res/resource.h"
#include "tests/support/private_registry.h"

namespace {
const char kSection[] = "ScreenCapture";

void ExpectRect(const std::optional<ScreenRect>& rect, int left, int top, int right, int bottom)
{
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(rect->left, left);
    EXPECT_EQ(rect->top, top);
    EXPECT_EQ(rect->right, right);
    EXPECT_EQ(rect->bottom, bottom);
}
} // namespace

TEST(HotKeyList, KeysInListOrderWithFunctionKeysNumbered)
{
    const auto choices = HotKeyChoices();
    ASSERT_EQ(choices.size(), 19u);
    EXPECT_EQ(choices[0].virtualKey, 0x2Cu);
    EXPECT_EQ(choices[0].textId, unsigned(IDS_CAPTURE_KEY_PRINT_SCREEN));
    EXPECT_EQ(choices[1].virtualKey, 0x01u);
    EXPECT_EQ(choices[2].virtualKey, 0x02u);
    for (int f = 1; f <= 12; ++f) {
        EXPECT_EQ(choices[2 + f].virtualKey, 0x6Fu + f) << "F" << f;
        EXPECT_EQ(choices[2 + f].functionNumber, f);
        EXPECT_EQ(choices[2 + f].textId, unsigned(IDS_CAPTURE_KEY_FUNCTION));
    }
    EXPECT_EQ(choices[15].virtualKey, 0x09u);
    EXPECT_EQ(choices[16].virtualKey, 0x0Du);
    EXPECT_EQ(choices[17].virtualKey, 0x1Bu);
    EXPECT_EQ(choices[18].virtualKey, 0x20u);
    std::set<unsigned> codes;
    for (const HotKeyChoice& choice : choices)
        codes.insert(choice.virtualKey);
    EXPECT_EQ(codes.size(), choices.size()) << "a key listed twice";
}

TEST(HotKeyList, CodeFindsItsEntryAndAnUnknownCodeTheFirst)
{
    EXPECT_EQ(HotKeyIndexOfCode(44), 0);
    EXPECT_EQ(HotKeyIndexOfCode(0x74), 7); // F5
    EXPECT_EQ(HotKeyIndexOfCode(0x20), 18);
    EXPECT_EQ(HotKeyIndexOfCode(0x41), 0); // "A" is no choice
    EXPECT_EQ(HotKeyIndexOfCode(0x7C), 0); // F13 neither
    EXPECT_EQ(HotKeyIndexOfCode(0), 0);
}

TEST(HotKeyModifiers, EachBoxItsBit)
{
    EXPECT_EQ(HotKeyModifiers(false, false, false), 0u);
    EXPECT_EQ(HotKeyModifiers(true, false, false), 0x1u);
    EXPECT_EQ(HotKeyModifiers(false, true, false), 0x2u);
    EXPECT_EQ(HotKeyModifiers(false, false, true), 0x4u);
    EXPECT_EQ(HotKeyModifiers(false, true, true), kHotKeyControl | kHotKeyShift); // Ctrl+Shift
    EXPECT_EQ(HotKeyModifiers(true, true, true), 0x7u);
}

TEST(CaptureKind, StoredTypeOneAndTwoElseFullScreen)
{
    EXPECT_EQ(CaptureKindFromSetting(0), CaptureKind::FullScreen);
    EXPECT_EQ(CaptureKindFromSetting(1), CaptureKind::Window);
    EXPECT_EQ(CaptureKindFromSetting(2), CaptureKind::Client);
    EXPECT_EQ(CaptureKindFromSetting(3), CaptureKind::FullScreen);
    EXPECT_EQ(CaptureKindFromSetting(-1), CaptureKind::FullScreen);
}

TEST(CropToScreen, WindowOnTheScreenKeepsEveryPixelUpToRightAndBottomExcluded)
{
    ExpectRect(CropToScreen({10, 20, 310, 220}, 1024, 768), 10, 20, 310, 220);
    ExpectRect(CropToScreen({0, 0, 1024, 768}, 1024, 768), 0, 0, 1024, 768);
    ExpectRect(CropToScreen({1023, 767, 1024, 768}, 1024, 768), 1023, 767, 1024, 768); // one pixel
}

TEST(CropToScreen, WindowPartlyOffTheScreenKeepsItsVisiblePart)
{
    ExpectRect(CropToScreen({-100, -50, 200, 100}, 1024, 768), 0, 0, 200, 100);
    ExpectRect(CropToScreen({900, 700, 1200, 900}, 1024, 768), 900, 700, 1024, 768);
    ExpectRect(CropToScreen({-8, -8, 1032, 776}, 1024, 768), 0, 0, 1024, 768); // maximised, frame outside
}

TEST(CropToScreen, NothingWhenNoPixelIsOnTheScreen)
{
    EXPECT_FALSE(CropToScreen({-300, 10, -100, 200}, 1024, 768));
    EXPECT_FALSE(CropToScreen({1024, 0, 1300, 100}, 1024, 768)); // starts just right of it
    EXPECT_FALSE(CropToScreen({10, 768, 100, 800}, 1024, 768));
    EXPECT_FALSE(CropToScreen({50, 50, 50, 90}, 1024, 768));   // no width (a minimised window)
    EXPECT_FALSE(CropToScreen({60, 50, 40, 90}, 1024, 768));   // reversed
    EXPECT_FALSE(CropToScreen({0, 0, 10, 10}, 0, 0));          // no screen
    EXPECT_FALSE(CropToScreen({INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5}, 1024, 768));
    ExpectRect(CropToScreen({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1024, 768), 0, 0, 1024, 768);
}

class CaptureSettingsStore : public PrivateRegistryTest {
protected:
    void SetUp() override { CQnSettings().DeleteSection(kSection); }
    void TearDown() override { CQnSettings().DeleteSection(kSection); }
};

TEST_F(CaptureSettingsStore, DefaultsArePrintScreenFullScreenAndNothingChecked)
{
    const CaptureSettings read = ReadCaptureSettings();
    EXPECT_EQ(read.hotKeyIndex, 0);
    EXPECT_FALSE(read.alt || read.shift || read.control || read.multipleCaptures);
    EXPECT_EQ(read.kind, CaptureKind::FullScreen);
    EXPECT_EQ(read.saveDirectory, "");
    // Reading writes nothing.
    EXPECT_TRUE(CQnSettings().EnumStringValues(kSection).empty());
}

TEST_F(CaptureSettingsStore, StoredValuesAreReadAndUnknownOnesFallBack)
{
    CQnSettings settings;
    settings.WriteInt(kSection, "VKeyCode", 0x74);
    settings.WriteBool(kSection, "bCtrl", true);
    settings.WriteBool(kSection, "bShift", true);
    settings.WriteBool(kSection, "bMultipleCapture", true);
    settings.WriteInt(kSection, "Type", 2);
    settings.WriteString(kSection, "SaveDirectory", "C:\\Captures");
    CaptureSettings read = ReadCaptureSettings();
    EXPECT_EQ(HotKeyChoices()[read.hotKeyIndex].virtualKey, 0x74u);
    EXPECT_TRUE(read.control && read.shift && read.multipleCaptures);
    EXPECT_FALSE(read.alt);
    EXPECT_EQ(read.kind, CaptureKind::Client);
    EXPECT_EQ(read.saveDirectory, "C:\\Captures");

    settings.WriteInt(kSection, "VKeyCode", 65);
    settings.WriteInt(kSection, "Type", 7);
    read = ReadCaptureSettings();
    EXPECT_EQ(read.hotKeyIndex, 0);
    EXPECT_EQ(read.kind, CaptureKind::FullScreen);
    settings.WriteInt(kSection, "VKeyCode", -1);
    EXPECT_EQ(ReadCaptureSettings().hotKeyIndex, 0);
}

TEST_F(CaptureSettingsStore, OnlyTheSaveFolderIsWritten)
{
    WriteCaptureSaveDirectory("C:\\Shots");
    CQnSettings settings;
    const auto& values = settings.EnumStringValues(kSection); // a view into the store's own list
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(ReadCaptureSettings().saveDirectory, "C:\\Shots");
    EXPECT_TRUE(CQnSettings().EnumOtherValues(kSection).empty());
}
