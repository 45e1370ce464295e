// The print choice and the font viewer's size in the settings store, and the viewer's text.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "systools/info/info_settings.h"
#include "tests/support/private_registry.h"

class InfoSettingsTest : public PrivateRegistryTest {};

TEST_F(InfoSettingsTest, PrintChoiceDefaultsToTheInformationListAndIsStoredAsOneOrZero)
{
    CQnSettings().DeleteSection("WinInfoPrint");
    EXPECT_TRUE(ReadPrintsWindowsInformation());
    StorePrintChoice(false);
    EXPECT_EQ(CQnSettings().ReadString("WinInfoPrint", "WindowsInformation"), "0");
    EXPECT_FALSE(ReadPrintsWindowsInformation());
    StorePrintChoice(true);
    EXPECT_EQ(CQnSettings().ReadString("WinInfoPrint", "WindowsInformation"), "1");
    EXPECT_TRUE(ReadPrintsWindowsInformation());
}

TEST_F(InfoSettingsTest, FontViewerSizeDefaultsTo16AndStaysIn0To400)
{
    CQnSettings().DeleteSection("FontViewer");
    EXPECT_EQ(ReadFontViewerSize(), 16);
    StoreFontViewerSize(72);
    EXPECT_EQ(CQnSettings().ReadString("FontViewer", "Size"), "72");
    EXPECT_EQ(ReadFontViewerSize(), 72);
    StoreFontViewerSize(1000);
    EXPECT_EQ(ReadFontViewerSize(), 400);
    CQnSettings().WriteString("FontViewer", "Size", "-5");
    EXPECT_EQ(ReadFontViewerSize(), 0);
    CQnSettings().WriteString("FontViewer", "Size", "big");
    EXPECT_EQ(ReadFontViewerSize(), 0); // no digits reads as 0, a valid height (the default face size)
}

TEST(FontViewerText, HoldsEveryCharacterFrom1To255Once)
{
    const std::string text = FontViewerCharacters();
    ASSERT_EQ(text.size(), 255u);
    for (int i = 0; i < 255; ++i)
        EXPECT_EQ(static_cast<unsigned char>(text[static_cast<size_t>(i)]), i + 1);
}
