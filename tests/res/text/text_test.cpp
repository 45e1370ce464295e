// LoadText and FormatText in both languages. The same expectations hold for the Windows build
// (resources found with FindResourceEx) and the native build (tables generated from the .rc).
#include "base/text.h"
#include "fallback_ids.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#ifdef _WIN32
#include "base/text_win.h"
#include "framework/command.h"
#include "res/resource.h"

#include <windows.h>
#else
#include "base/text_table.h"
extern const TextTables kFallbackTexts;
#endif

namespace {

constexpr unsigned kEnglish = 0x0409;
constexpr unsigned kFrench = 0x040C;

// A test-only text (fallback_*.rc): among the Windows test's resources, in a generated table
// natively.
std::string TestText(unsigned id)
{
#ifdef _WIN32
    return LoadText(id);
#else
    const char* text = LookupText(kFallbackTexts, id, TextLanguage());
    return text ? text : "";
#endif
}

// Accented texts are checked byte for byte in Windows-1252 (always so natively).
bool AnsiIsWindows1252()
{
#ifdef _WIN32
    return GetACP() == 1252;
#else
    return true;
#endif
}

class TextTest : public ::testing::Test {
protected:
    void TearDown() override { SetTextLanguage(kEnglish); }
};

TEST_F(TextTest, LanguageSwitchChangesTheTexts)
{
    SetTextLanguage(kEnglish);
    EXPECT_EQ(LoadText(128), "Ostrel Quenta v1.6");
    EXPECT_EQ(LoadText(62471), "Files");
    EXPECT_EQ(LoadText(62734), "My Computer");

    SetTextLanguage(kFrench);
    EXPECT_EQ(TextLanguage(), kFrench);
    EXPECT_EQ(LoadText(128), "Ostrel Quenta v1.6");
    EXPECT_EQ(LoadText(62471), "Fichiers");
    EXPECT_EQ(LoadText(62734), "Poste de travail");

    SetTextLanguage(kEnglish);
    EXPECT_EQ(LoadText(62471), "Files");
}

TEST_F(TextTest, AccentedTextsComeInTheAnsiCodePage)
{
    if (!AnsiIsWindows1252()) GTEST_SKIP() << "ANSI code page is not 1252";
    SetTextLanguage(kFrench);
    EXPECT_EQ(LoadText(62482), "Cr\xe9\xe9");
    EXPECT_EQ(FormatText(62701, "a.bmp"), "Chargement du fichier \xab a.bmp \xbb...");
    EXPECT_EQ(TestText(IDS_TEST_SPECIAL), "Dites \xab salut \xbb ; \x9cuvre\x85");
    SetTextLanguage(kEnglish);
    EXPECT_EQ(TestText(IDS_TEST_SPECIAL), "Say \"hi\"; [x]\tcaf\xe9");
}

TEST_F(TextTest, MissingFrenchTextFallsBackToEnglish)
{
    SetTextLanguage(kFrench);
    EXPECT_EQ(TestText(IDS_TEST_BOTH), "Texte de test");
    EXPECT_EQ(TestText(IDS_TEST_ENGLISH_ONLY), "Only in English");
    EXPECT_EQ(TestText(IDS_TEST_EMPTY_FRENCH), "English, French left empty");

    SetTextLanguage(0x0407);  // a language without texts reads English
    EXPECT_EQ(TestText(IDS_TEST_BOTH), "English text");
    EXPECT_EQ(LoadText(62471), "Files");
}

TEST_F(TextTest, UnknownIdsGiveEmptyTexts)
{
    for (unsigned language : {kEnglish, kFrench}) {
        SetTextLanguage(language);
        EXPECT_EQ(LoadText(9999), "");
        EXPECT_EQ(LoadText(62484), "");  // a gap inside a used block
        EXPECT_EQ(LoadText(0x10000 + 62471), "");  // must not wrap to a 16-bit id
        EXPECT_EQ(FormatText(9999, "x"), "");
    }
}

TEST_F(TextTest, FormatTextFillsConversionsInOrder)
{
    SetTextLanguage(kEnglish);
    EXPECT_EQ(FormatText(62701, "a.bmp"), "Loading file \"a.bmp\"...");
    EXPECT_EQ(FormatText(62725, "C:\\a", "D:\\b"), "Copying file \"C:\\a\" to \"D:\\b\"...");
    EXPECT_EQ(FormatText(62522, "3", "10"), "3 selected object on 10");
    EXPECT_EQ(FormatText(62523, "3"), "3 selected objects on ");  // a missing argument is empty
    EXPECT_EQ(FormatText(62646), "% of memory in use");          // "% o" is no conversion
    EXPECT_EQ(FormatText(62701, "100%s"), "Loading file \"100%s\"...");  // arguments stay as given

    SetTextLanguage(kFrench);
    EXPECT_EQ(FormatText(62520, "1"), "1 objet");
    EXPECT_EQ(FormatText(62683, "Bureau"), "Ostrel Quenta : Raccourcis [Bureau]");
}

#ifdef _WIN32
// Texts follow SetTextLanguage, not the thread locale that older systems and Wine would use for
// LoadString, so the switch also works on NT 6 and later.
TEST_F(TextTest, LanguageDoesNotDependOnTheThreadLocale)
{
    const LCID saved = GetThreadLocale();
    SetThreadLocale(MAKELCID(kEnglish, SORT_DEFAULT));
    SetTextLanguage(kFrench);
    EXPECT_EQ(LoadText(62471), "Fichiers");

    SetThreadLocale(MAKELCID(kFrench, SORT_DEFAULT));
    SetTextLanguage(kEnglish);
    EXPECT_EQ(LoadText(62471), "Files");
    SetThreadLocale(saved);
}

std::wstring MenuText(HMENU menu, UINT position)
{
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

TEST_F(TextTest, MainMenuFollowsTheLanguageWithTheSameCommands)
{
    for (auto [language, file, help] : {std::tuple{kEnglish, L"&File", L"&Help"},
                                        std::tuple{kFrench, L"&Fichier", L"&Aide"}}) {
        SetTextLanguage(language);
        HMENU menu = LoadMenuInTextLanguage(GetModuleHandleW(nullptr), IDR_MAINFRAME);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(MenuText(menu, 0), file);
        EXPECT_EQ(MenuText(menu, 1), help);
        HMENU filePopup = GetSubMenu(menu, 0);
        HMENU helpPopup = GetSubMenu(menu, 1);
        for (UINT command : std::initializer_list<UINT>{ID_FILE_SAVE_LIST, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW,
                                                        ID_FILE_PRINT_SETUP, ID_APP_EXIT})
            EXPECT_NE(GetMenuState(filePopup, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
        for (UINT command : {ID_HELP_CONTENTS, ID_APP_ABOUT_QUENTA})
            EXPECT_NE(GetMenuState(helpPopup, command, MF_BYCOMMAND), static_cast<UINT>(-1)) << command;
        // Every command's status-bar prompt exists in the language.
        for (UINT command : std::initializer_list<UINT>{ID_FILE_SAVE_LIST, ID_FILE_PRINT, ID_HELP_CONTENTS})
            EXPECT_FALSE(LoadText(command).empty()) << command;
        DestroyMenu(menu);
    }
}

TEST_F(TextTest, AcceleratorsOpenHelpAndPrint)
{
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL keys[8];
    const int count = CopyAcceleratorTableW(table, keys, 8);
    bool f1 = false, ctrlP = false;
    for (int i = 0; i < count; ++i) {
        f1 |= keys[i].key == VK_F1 && keys[i].cmd == ID_HELP_CONTENTS;
        ctrlP |= keys[i].key == 'P' && (keys[i].fVirt & FCONTROL) && keys[i].cmd == ID_FILE_PRINT;
    }
    EXPECT_TRUE(f1);
    EXPECT_TRUE(ctrlP);
    DestroyAcceleratorTable(table);
}
#endif

}  // namespace

TEST(FillConversions, FillsStringAndNumberConversionsInOrderOnce)
{
    EXPECT_EQ(FillConversions("Retrieving \"%s\" (%d/%d)...", {"C:\\a.exe", "2", "7"}), "Retrieving \"C:\\a.exe\" (2/7)...");
    EXPECT_EQ(FillConversions("%s %s %s %s 100%%", {"a%d", "1", "2"}), "a%d 1 2  100%") << "no argument is read twice";
    EXPECT_EQ(FillConversions("%d%%s %s %d %s", {"p", "1", "2"}), "p%s 1 2 ");
    EXPECT_EQ(FillConversions("%", {"p"}), "%");
}
