// Icon location texts, the icon cache's keys and lookups (with a fake shell), and the registry
// search for desktop objects.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/registry_access.h"
#include "filetools/filetypes/desktop_objects.h"
#include "filetools/filetypes/file_type_icon_cache.h"
#include "filetools/filetypes/icon_location.h"
#include "tests/support/private_registry.h"

namespace {

TEST(IconLocationText, LastCommaThatIsNotFirstSeparatesTheIndex)
{
    IconLocation l = ParseIconLocation("C:\\a,b\\shell32.dll,3", "C:\\WINDOWS");
    EXPECT_EQ(l.file, "C:\\a,b\\shell32.dll");
    EXPECT_EQ(l.index, 3);
    l = ParseIconLocation("C:\\icons\\app.ico", "C:\\WINDOWS"); // no comma: index 0
    EXPECT_EQ(l.file, "C:\\icons\\app.ico");
    EXPECT_EQ(l.index, 0);
    l = ParseIconLocation(",5", "C:\\WINDOWS"); // a leading comma is part of the file
    EXPECT_EQ(l.file, ",5");
    EXPECT_EQ(l.index, 0);
    l = ParseIconLocation("x.dll, 7th", "W"); // read as "%d"
    EXPECT_EQ(l.index, 7);
    l = ParseIconLocation("x.dll,abc", "W");
    EXPECT_EQ(l.file, "x.dll");
    EXPECT_EQ(l.index, 0);
    l = ParseIconLocation("x.dll,99999999999", "W");
    EXPECT_EQ(l.index, 2147483647);
}

TEST(IconLocationText, SystemRootInAnyCaseAndNegativeIndexPassThrough)
{
    const IconLocation l = ParseIconLocation("%SystemRoot%\\system32\\imageres.dll,-3", "C:\\WINDOWS");
    EXPECT_EQ(l.file, "C:\\WINDOWS\\system32\\imageres.dll");
    EXPECT_EQ(l.index, -3);
    EXPECT_EQ(ExpandSystemRoot("%SYSTEMROOT%\\a;%systemroot%\\b;%SystemRoo", "W"), "W\\a;W\\b;%SystemRoo");
    EXPECT_EQ(FormatIconLocation("a.dll", -2), "a.dll,-2");
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c | 0x20);
    return text;
}

// A shell stand-in: paths it knows exist (those ending in "\" are folders); each description
// hands out new numbered icons, and released icons are recorded.
class FakeShell : public FileTypeIconSource {
public:
    std::set<std::string> existing;
    int described = 0;
    std::multiset<IconHandle>* released = nullptr;

    PathKind Kind(const std::string& path) override
    {
        PathKind kind;
        // Windows file names ignore case.
        for (const std::string& known : existing)
            kind.exists = kind.exists || Lower(known) == Lower(path);
        kind.isFolder = kind.exists && path.back() == '\\';
        return kind;
    }
    Description Describe(const std::string& path, const PathKind&) override
    {
        ++described;
        Description d;
        d.typeName = "type of " + path;
        d.smallIcon = reinterpret_cast<IconHandle>(static_cast<uintptr_t>(described * 2));
        d.largeIcon = reinterpret_cast<IconHandle>(static_cast<uintptr_t>(described * 2 + 1));
        return d;
    }
    void ReleaseIcon(IconHandle icon) override { released->insert(icon); }
};

class IconCache : public ::testing::Test {
protected:
    IconCache()
    {
        auto fake = std::make_unique<FakeShell>();
        fake->released = &released;
        shell = fake.get();
        shell->existing = {"C:\\bin\\tool.EXE", "C:\\bin\\link.lnk", "C:\\docs\\", "C:\\x\\cursor.Ani", "C:\\a\\b.txt"};
        cache = std::make_unique<FileTypeIconCache>(std::move(fake));
    }
    std::multiset<IconHandle> released;
    FakeShell* shell = nullptr;
    std::unique_ptr<FileTypeIconCache> cache;
};

TEST_F(IconCache, KeysByExtensionExceptFilesThatCarryTheirOwnIcon)
{
    const FileTypeIconSource::PathKind missing{}, file{true, false}, folder{true, true};
    EXPECT_EQ(FileTypeIconKey("C:\\a\\b.TXT", file), "TXT");
    EXPECT_EQ(FileTypeIconKey("C:\\a\\noext", file), "");
    EXPECT_EQ(FileTypeIconKey("C:\\a.d\\noext", file), ""); // a dot in the folder is no extension
    EXPECT_EQ(FileTypeIconKey("C:\\docs\\", folder), "C:\\docs\\");
    for (const char* own : {"C:\\p.exe", "C:\\p.LNK", "C:\\p.ico", "C:\\p.Cur", "C:\\p.ani"}) {
        EXPECT_EQ(FileTypeIconKey(own, file), own);
        EXPECT_EQ(FileTypeIconKey(own, missing), std::string(own).substr(5)); // a missing one keys by type
    }
}

TEST_F(IconCache, SameTypeSharesOneSlotIgnoringCase)
{
    const int txt = cache->IndexOf("C:\\a\\b.txt");
    EXPECT_EQ(cache->IndexOf("D:\\other\\c.TXT"), txt);
    EXPECT_EQ(cache->IndexOf("D:\\gone.Txt"), txt);
    const int exe = cache->IndexOf("C:\\bin\\tool.EXE");
    EXPECT_NE(exe, txt);
    EXPECT_EQ(cache->IndexOf("c:\\BIN\\TOOL.exe"), cache->IndexOf("C:\\bin\\tool.EXE"));
    EXPECT_EQ(cache->IndexOf("C:\\docs\\"), 2);
    EXPECT_EQ(cache->IndexOf("C:\\x\\cursor.Ani"), 3);
    EXPECT_EQ(cache->IndexOf("C:\\y\\missing.ani"), 4); // keyed "ani": no file of its own
    EXPECT_EQ(cache->Count(), 5);
    EXPECT_EQ(shell->described, 5); // each key described once
    EXPECT_EQ(cache->Key(txt), "txt");
}

TEST_F(IconCache, IconsAndTypeNamesBySlot)
{
    int slot = -1;
    EXPECT_EQ(cache->TypeNameFor("C:\\a\\b.txt", &slot), "type of C:\\a\\b.txt");
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(cache->TypeNameFor("C:\\z.TXT"), "type of C:\\a\\b.txt"); // described by the first path
    EXPECT_EQ(cache->Icon(0, true), reinterpret_cast<IconHandle>(2));
    EXPECT_EQ(cache->Icon(0, false), reinterpret_cast<IconHandle>(3));
    EXPECT_EQ(cache->IconFor("q.txt", false), reinterpret_cast<IconHandle>(3));
    EXPECT_EQ(cache->Icon(1, true), nullptr);
    EXPECT_EQ(cache->Icon(-1, false), nullptr);
}

TEST_F(IconCache, ReplacedAndRemainingIconsAreReleasedOnce)
{
    cache->IndexOf("a.txt");
    const IconHandle newSmall = reinterpret_cast<IconHandle>(100), newLarge = reinterpret_cast<IconHandle>(101);
    EXPECT_TRUE(cache->ReplaceIcons(0, newSmall, newLarge));
    EXPECT_EQ(released, (std::multiset<IconHandle>{reinterpret_cast<IconHandle>(2), reinterpret_cast<IconHandle>(3)}));
    EXPECT_EQ(cache->Icon(0, true), newSmall);
    EXPECT_FALSE(cache->ReplaceIcons(7, reinterpret_cast<IconHandle>(200), nullptr));
    EXPECT_EQ(released.count(reinterpret_cast<IconHandle>(200)), 1u);
    cache.reset();
    EXPECT_EQ(released.count(newSmall), 1u);
    EXPECT_EQ(released.count(newLarge), 1u);
}

class DesktopObjects : public PrivateRegistryTest {
protected:
    void TearDown() override
    {
        for (const auto& [root, key] : DesktopObjectKeys(DesktopObject::NetworkNeighborhood))
            if (root == RegRoot::CurrentUser)
                registry.DeleteKey(root, key);
    }
    CRegistryAccess registry;
};

TEST_F(DesktopObjects, NameAndIconMayComeFromDifferentKeys)
{
    const auto keys = DesktopObjectKeys(DesktopObject::NetworkNeighborhood);
    ASSERT_EQ(keys.size(), 5u);
    ASSERT_EQ(keys[0].first, RegRoot::CurrentUser);
    ASSERT_EQ(keys[2].first, RegRoot::CurrentUser);
    // The first key names the object and offers an icon that yields none; the third gives the icon.
    registry.WriteString(keys[0].first, keys[0].second, "", "Our Network");
    registry.WriteString(keys[0].first, keys[0].second + "DefaultIcon\\", "", "broken.dll,9");
    registry.WriteString(keys[2].first, keys[2].second, "", "Later Name");
    registry.WriteString(keys[2].first, keys[2].second + "DefaultIcon\\", "", "good.dll,4");
    std::vector<std::string> asked;
    const DesktopObjectEntry entry = FindDesktopObjectEntry(DesktopObject::NetworkNeighborhood,
                                                            [&asked](const std::string& location) {
                                                                asked.push_back(location);
                                                                return location != "broken.dll,9";
                                                            });
    EXPECT_EQ(entry.name, "Our Network");
    EXPECT_EQ(entry.iconLocation, "good.dll,4");
    EXPECT_EQ(asked, (std::vector<std::string>{"broken.dll,9", "good.dll,4"}));
}

TEST(DesktopObjectKeysTest, MyComputerTriesItsFourKeys)
{
    const auto keys = DesktopObjectKeys(DesktopObject::MyComputer);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[2].first, RegRoot::ClassesRoot);
    EXPECT_EQ(keys[2].second, "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\");
}

} // namespace
