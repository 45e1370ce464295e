// The places' folders read from the registry (a private store): odd values give no tab, never a
// cut-off folder.
#include <gtest/gtest.h>

#include "app/registry_access.h"
#include "res/resource.h"
#include "systools/shortcuts/shortcut_places.h"
#include "tests/support/private_registry.h"

namespace {
const char kMapGroups[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups\\";

class ShortcutPlacesRegistry : public PrivateRegistryTest {
protected:
    void TearDown() override { m_registry.DeleteValue(RegRoot::CurrentUser, kMapGroups, "Quick Launch"); }

    bool HasQuickLaunch(std::string* folder = nullptr)
    {
        for (const PlaceFolder& place : AvailableShortcutPlaces())
            if (place.place->nameId == IDS_PLACE_QUICK_LAUNCH) {
                if (folder)
                    *folder = place.folder;
                return true;
            }
        return false;
    }

    CRegistryAccess m_registry;
};
} // namespace

TEST_F(ShortcutPlacesRegistry, AFolderValueGivesItsPlaceATabAndAnEmptyOneNone)
{
    ASSERT_TRUE(m_registry.WriteString(RegRoot::CurrentUser, kMapGroups, "Quick Launch", "C:\\Links\\Quick Launch"));
    std::string folder;
    ASSERT_TRUE(HasQuickLaunch(&folder));
    EXPECT_EQ(folder, "C:\\Links\\Quick Launch");
    ASSERT_TRUE(m_registry.WriteString(RegRoot::CurrentUser, kMapGroups, "Quick Launch", ""));
    EXPECT_FALSE(HasQuickLaunch());
}

TEST_F(ShortcutPlacesRegistry, OddValuesAreReadWholeOrSkipped)
{
    const std::string odd = "C:\\Ünïcode & ; % \"quoted\"\\" + std::string(600, 'x');
    ASSERT_TRUE(m_registry.WriteString(RegRoot::CurrentUser, kMapGroups, "Quick Launch", odd));
    std::string folder;
    ASSERT_TRUE(HasQuickLaunch(&folder));
    EXPECT_EQ(folder, odd) << "never cut";
    ASSERT_TRUE(m_registry.WriteDword(RegRoot::CurrentUser, kMapGroups, "Quick Launch", 7));
    EXPECT_FALSE(HasQuickLaunch()) << "a number is no folder";
    ASSERT_TRUE(m_registry.WriteString(RegRoot::CurrentUser, kMapGroups, "Quick Launch", std::string(2000, 'y')));
    EXPECT_FALSE(HasQuickLaunch()) << "too long to be read whole";
}
