// Registry access through the platform's registry: under Wine the real registry of the test
// prefix, natively a store file of this test's own.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/registry_access.h"
#include "app/services.h"
#include "app/settings.h"
#include "base/text.h"
#include "tests/support/private_registry.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {
const RegRoot kRoot = RegRoot::CurrentUser;
const std::string kBase = "Software\\Ostrel\\QuentaUnitTest";

class Registry : public PrivateRegistryTest {
protected:
    void SetUp() override { reg.DeleteKey(kRoot, kBase); }
    void TearDown() override
    {
        reg.DeleteKey(kRoot, kBase);
        CQnSettings().DeleteSection("UnitTest");
    }
    CRegistryAccess reg;
};
} // namespace

TEST_F(Registry, ValuesRoundTripAndMissingOnesGiveTheDefault)
{
    const std::string key = kBase + "\\A\\B";
    EXPECT_EQ(reg.ReadString(kRoot, key, "Text", "dflt"), "dflt");
    EXPECT_EQ(reg.ReadInt(kRoot, key, "Number", 17), 17);
    EXPECT_EQ(reg.ReadDword(kRoot, key, "Raw", 0xABCDu), 0xABCDu);

    EXPECT_TRUE(reg.WriteString(kRoot, key, "Text", "hello"));
    EXPECT_TRUE(reg.WriteInt(kRoot, key, "Number", -123));
    EXPECT_TRUE(reg.WriteDword(kRoot, key, "Raw", 0x12345678u));
    EXPECT_EQ(reg.ReadString(kRoot, key, "Text", "dflt"), "hello");
    EXPECT_EQ(reg.ReadString(kRoot, key, "TEXT", "dflt"), "hello") << "names ignore letter case";
    EXPECT_EQ(reg.ReadInt(kRoot, key, "Number", 0), -123);
    EXPECT_EQ(reg.ReadString(kRoot, key, "Number", ""), "-123") << "integers are stored as decimal text";
    EXPECT_EQ(reg.ReadDword(kRoot, key, "Raw", 0), 0x12345678u);
    // A 4-byte value is no text, so integer reads fall back to their default.
    EXPECT_EQ(reg.ReadInt(kRoot, key, "Raw", 5), 5);

    char buffer[CRegistryAccess::kTextBuffer];
    EXPECT_STREQ(reg.ReadString(kRoot, key, "Text", buffer, "x"), "hello");
    EXPECT_STREQ(reg.ReadString(kRoot, key, "Missing", buffer, "x"), "x");
}

TEST_F(Registry, ReadIntFollowsTheLeadingNumberRule)
{
    reg.WriteString(kRoot, kBase, "A", "12abc");
    reg.WriteString(kRoot, kBase, "B", "");
    reg.WriteString(kRoot, kBase, "C", "  +8 px");
    EXPECT_EQ(reg.ReadInt(kRoot, kBase, "A", 99), 12);
    EXPECT_EQ(reg.ReadInt(kRoot, kBase, "B", 99), 0);
    EXPECT_EQ(reg.ReadInt(kRoot, kBase, "C", 99), 8);
    EXPECT_EQ(reg.ReadInt(kRoot, kBase, "Missing", 99), 99);
}

TEST_F(Registry, TextsTooLongForTheBufferKeepTheDefault)
{
    const std::string longText(300, 'x');
    reg.WriteString(kRoot, kBase, "Long", longText);
    char buffer[CRegistryAccess::kTextBuffer];
    EXPECT_STREQ(reg.ReadString(kRoot, kBase, "Long", buffer, "short"), "short");
    EXPECT_EQ(reg.ReadString(kRoot, kBase, "Long", ""), longText);
}

TEST_F(Registry, DeleteKeyTakesTheWholeSubtree)
{
    reg.WriteString(kRoot, kBase + "\\Tree\\One\\Deep", "v", "1");
    reg.WriteString(kRoot, kBase + "\\Tree\\Two", "v", "2");
    reg.WriteString(kRoot, kBase + "\\Tree", "v", "0");
    reg.WriteString(kRoot, kBase + "\\Keep", "v", "k");

    EXPECT_TRUE(reg.DeleteKey(kRoot, kBase + "\\Tree\\")) << "a trailing separator is dropped";
    EXPECT_EQ(reg.ReadString(kRoot, kBase + "\\Tree\\One\\Deep", "v", "gone"), "gone");
    EXPECT_EQ(reg.ReadString(kRoot, kBase + "\\Keep", "v", ""), "k");
    EXPECT_EQ(reg.EnumSubKeys(kRoot, kBase), (std::vector<std::string>{"Keep"}));
    EXPECT_FALSE(reg.DeleteKey(kRoot, kBase + "\\Tree")) << "already gone";

    EXPECT_TRUE(reg.DeleteKey(kRoot, kBase, "Keep"));
    EXPECT_TRUE(reg.EnumSubKeys(kRoot, kBase).empty());
}

TEST_F(Registry, EnumerationsSortValuesByKindAndOwnTheirResults)
{
    reg.WriteString(kRoot, kBase, "First", "1");
    reg.WriteDword(kRoot, kBase, "Binary", 7);
    reg.WriteString(kRoot, kBase, "Second", std::string(400, 'y'));
    reg.WriteString(kRoot, kBase + "\\Sub1", "x", "");
    reg.WriteString(kRoot, kBase + "\\Sub2", "x", "");

    const auto& strings = reg.EnumStringValues(kRoot, kBase);
    ASSERT_EQ(strings.size(), 2u);
    EXPECT_EQ(strings[0].first, "First");
    EXPECT_EQ(strings[0].second, "1");
    EXPECT_EQ(strings[1].first, "Second");
    EXPECT_EQ(strings[1].second.size(), 259u) << "texts are cut to 259 characters";

    const auto& others = reg.EnumOtherValues(kRoot, kBase);
    EXPECT_EQ(others, (std::vector<std::string>{"Binary"}));
    EXPECT_TRUE(strings.empty()) << "a new enumeration frees the previous result";

    const auto& keys = reg.EnumSubKeys(kRoot, kBase);
    EXPECT_EQ(keys, (std::vector<std::string>{"Sub1", "Sub2"}));
    EXPECT_TRUE(reg.EnumSubKeys(kRoot, kBase + "\\Missing").empty());
}

TEST_F(Registry, DeletedValueGivesTheDefaultAgain)
{
    reg.WriteString(kRoot, kBase, "V", "x");
    EXPECT_TRUE(reg.DeleteValue(kRoot, kBase, "V"));
    EXPECT_EQ(reg.ReadString(kRoot, kBase, "V", "d"), "d");
    EXPECT_FALSE(reg.DeleteValue(kRoot, kBase, "V"));
}

TEST_F(Registry, SettingsLiveBelowTheProductKey)
{
    CQnSettings settings;
    EXPECT_TRUE(settings.WriteInt("UnitTest\\ListPrinting\\", "Margin", 25));
    EXPECT_EQ(reg.ReadInt(kRoot, "Software\\Ostrel\\Quenta\\UnitTest\\ListPrinting", "Margin", 0), 25);
    EXPECT_EQ(settings.ReadInt("UnitTest\\ListPrinting", "Margin", 0), 25);
    EXPECT_TRUE(settings.WriteBool("UnitTest", "bFlag", true));
    EXPECT_EQ(settings.ReadString("UnitTest", "bFlag"), "1");
    EXPECT_TRUE(settings.ReadBool("UnitTest", "bFlag", false));
    EXPECT_EQ(settings.EnumSubKeys("UnitTest"), (std::vector<std::string>{"ListPrinting"}));
    EXPECT_TRUE(settings.DeleteSection("UnitTest"));
    EXPECT_EQ(settings.ReadInt("UnitTest\\ListPrinting", "Margin", -1), -1);
    EXPECT_FALSE(settings.DeleteSection("")) << "the product key itself is not a section to delete";
}

TEST_F(Registry, LanguageSettingChoosesTheTexts)
{
    CQnSettings settings;
    const std::string saved = settings.ReadString("", "Language", "");
    settings.WriteInt("", "Language", 2);
    SetLanguage(-1);
    EXPECT_EQ(TextLanguage(), 0x040Cu);
#ifdef _WIN32
    EXPECT_EQ(LANGIDFROMLCID(GetThreadLocale()), 0x040C);
#endif
    settings.WriteInt("", "Language", 7);
    SetLanguage(-1);
    EXPECT_EQ(TextLanguage(), 0x040Cu) << "an unknown choice leaves the language";
    SetLanguage(1);
    EXPECT_EQ(TextLanguage(), 0x0409u);
    if (saved.empty())
        settings.DeleteValue("", "Language");
    else
        settings.WriteString("", "Language", saved);
}

TEST_F(Registry, WindowRegistryFindsAndPostsToAWindow)
{
    const std::string program = "QuentaUnitTest";
    const std::string key = "software\\ostrel\\atom\\QuentaUnitTest";
    RegisterWindowEntry(program);
    EXPECT_EQ(reg.ReadString(kRoot, key, "HWND", ""), "0");
    EXPECT_EQ(FindWindowEntry(program), nullptr);
    EXPECT_FALSE(PostToWindowEntry(program, 0x8000, 1, 2));

#ifdef _WIN32
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    char text[32];
    std::snprintf(text, sizeof text, "%p", static_cast<void*>(window));
    reg.WriteString(kRoot, key, "HWND", text);
    EXPECT_EQ(FindWindowEntry(program), window);
    EXPECT_TRUE(PostToWindowEntry(program, WM_APP + 5, 11, 22));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, WM_APP + 5, WM_APP + 5, PM_REMOVE));
    EXPECT_EQ(message.wParam, 11u);
    EXPECT_EQ(message.lParam, 22);
    DestroyWindow(window);
    EXPECT_FALSE(PostToWindowEntry(program, WM_APP + 5, 0, 0)) << "a handle that is no window any more";
#else
    reg.WriteString(kRoot, key, "HWND", "00000000DEADBEEF");
    EXPECT_EQ(FindWindowEntry(program), reinterpret_cast<void*>(0xDEADBEEF));
#endif
    ClearWindowEntry();
    EXPECT_EQ(reg.ReadString(kRoot, key, "HWND", ""), "0");
    reg.DeleteKey(kRoot, key);
}
