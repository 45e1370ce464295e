// The shortcuts module's rules: which places get a tab, link names, the order of the file
// steps of Apply, Add, drops and removals, and the questions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "res/resource.h"
#include "systools/shortcuts/shortcut_changes.h"
#include "systools/shortcuts/shortcut_places.h"

namespace {
std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// A folder of link files whose names compare without letter case, as on Windows; each file
// holds the text of what it points at. Every step is logged.
class FakeLinks : public IShortcutFiles {
public:
    bool Exists(const std::string& path) override { return Find(path) != files.end(); }
    bool CreateLink(const std::string& path, const ShortcutCommand& command) override
    {
        log.push_back("create " + path);
        if (failCreate)
            return false;
        Put(path, command.folder + "\\" + command.name + (command.arguments.empty() ? "" : " " + command.arguments));
        return true;
    }
    bool CopyLink(const std::string& from, const std::string& to) override
    {
        log.push_back("copy " + from + " > " + to);
        auto source = Find(from);
        if (failCreate || source == files.end())
            return false;
        std::string content = source->second.second;
        Put(to, content);
        return true;
    }
    bool RenameLink(const std::string& from, const std::string& to) override
    {
        log.push_back("rename " + from + " > " + to);
        auto source = Find(from);
        if (source == files.end())
            return false;
        std::string content = source->second.second;
        files.erase(source);
        Put(to, content);
        return true;
    }
    bool DeleteLink(const std::string& path) override
    {
        log.push_back("delete " + path);
        auto found = Find(path);
        if (failDelete || found == files.end())
            return false;
        files.erase(found);
        return true;
    }

    void Put(const std::string& path, const std::string& content)
    {
        auto found = Find(path);
        std::string shownName = found == files.end() ? path : found->second.first; // Windows keeps the old case
        files[Lower(path)] = {shownName, content};
    }
    std::map<std::string, std::pair<std::string, std::string>>::iterator Find(const std::string& path)
    {
        return files.find(Lower(path));
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& [key, file] : files)
            names.push_back(file.first);
        return names;
    }

    std::map<std::string, std::pair<std::string, std::string>> files; // lower-case path: shown path, content
    std::vector<std::string> log;
    bool failCreate = false;
    bool failDelete = false;
};

const ConfirmReplace kNeverAsked = [](const std::string&) {
    ADD_FAILURE() << "asked to replace";
    return false;
};
} // namespace

TEST(ShortcutPlaces, APlaceWithoutAFolderGetsNoTabAndTheOthersKeepTheirOrder)
{
    std::map<std::string, std::string> values = {
        {"Desktop", "C:\\users\\me\\Desktop"}, {"Startup", "C:\\users\\me\\Start Menu\\Programs\\Startup"}};
    auto places = AvailableShortcutPlaces([&](const ShortcutPlace& place) {
        return place.root == RegRoot::CurrentUser && values.count(place.value) ? values[place.value] : std::string();
    });
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].place->nameId, unsigned(IDS_PLACE_DESKTOP));
    EXPECT_EQ(places[0].folder, "C:\\users\\me\\Desktop");
    EXPECT_EQ(places[1].place->nameId, unsigned(IDS_PLACE_STARTUP));
    EXPECT_EQ(places[1].place->image, PlaceImage::Startup);
}

TEST(ShortcutPlaces, SixPlacesEachUserAndAllUsers)
{
    const auto& all = AllShortcutPlaces();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[1].value, std::string("Quick Launch"));
    EXPECT_EQ(all[1].image, PlaceImage::QuickLaunch);
    EXPECT_EQ(all[4].root, RegRoot::Users);
    EXPECT_EQ(std::string(all[4].key).rfind(".default\\", 0), 0u);
    EXPECT_EQ(AvailableShortcutPlaces([](const ShortcutPlace& place) { return std::string(place.key); }).size(), 6u);
}

TEST(ShortcutNames, LinkNamesComeFromFileNamesWithoutTheirExtension)
{
    EXPECT_EQ(LinkFileName("Text Editor"), "Text Editor.lnk");
    EXPECT_EQ(ShortcutNameOfLink("Text Editor.lnk"), "Text Editor");
    EXPECT_EQ(ShortcutNameOfLink("v1.2 notes.LNK"), "v1.2 notes");
    EXPECT_EQ(ShortcutNameOfFile("C:\\tools\\my.editor.exe"), "my.editor");
    EXPECT_EQ(ShortcutNameOfFile("C:\\tools\\README"), "README");
    EXPECT_EQ(ShortcutNameOfFile("C:\\tools\\.profile"), ".profile");
    EXPECT_EQ(ShortcutNameOfFile("C:\\My Folder\\"), "My Folder");
}

TEST(ShortcutNames, NamesThatWouldLeaveTheFolderOrCannotNameAFileAreRefused)
{
    EXPECT_TRUE(IsUsableShortcutName("Text Editor"));
    EXPECT_TRUE(IsUsableShortcutName("Été (2) & co."));
    for (const char* bad : {"", "   ", ".", "..", "..\\..\\Windows\\evil", "a/b", "C:x", "what?", "a*", "\"q\"",
                            "<a>", "a|b", "tab\there"})
        EXPECT_FALSE(IsUsableShortcutName(bad)) << bad;
    EXPECT_TRUE(IsUsableShortcutName(std::string(251, 'n')));
    EXPECT_FALSE(IsUsableShortcutName(std::string(252, 'n')));
}

TEST(ShortcutCommand, APathOrAQuotedPathWithArguments)
{
    auto plain = ParseShortcutCommand("  C:\\Program Files\\Editor\\edit.exe ");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->folder, "C:\\Program Files\\Editor");
    EXPECT_EQ(plain->name, "edit.exe");
    EXPECT_EQ(plain->arguments, "");
    auto quoted = ParseShortcutCommand("\"C:\\Program Files\\edit.exe\"  -n \"a b\"");
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->folder, "C:\\Program Files");
    EXPECT_EQ(quoted->arguments, "-n \"a b\"");
    auto root = ParseShortcutCommand("C:\\boot.ini");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->folder, "C:\\");
    auto bare = ParseShortcutCommand("notepad.exe");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->folder, "");
    EXPECT_EQ(bare->name, "notepad.exe");
    EXPECT_FALSE(ParseShortcutCommand(""));
    EXPECT_FALSE(ParseShortcutCommand("\"C:\\unclosed.exe"));
    EXPECT_FALSE(ParseShortcutCommand("C:\\folder\\"));
}

TEST(ApplyShortcut, RenamingLeavesExactlyOneLinkWithTheSameTargetWrittenBeforeTheOldGoes)
{
    FakeLinks links;
    links.Put("C:\\Desk\\Editor.lnk", "C:\\Windows\\notepad.exe -x");
    std::string now;
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Text Editor", "C:\\Windows\\notepad.exe", false}, links,
                                  kNeverAsked, &now),
              ShortcutChange::Applied);
    EXPECT_EQ(links.Names(), std::vector<std::string>{"C:\\Desk\\Text Editor.lnk"});
    EXPECT_EQ(links.files.begin()->second.second, "C:\\Windows\\notepad.exe -x") << "arguments kept";
    EXPECT_EQ(now, "C:\\Desk\\Text Editor.lnk");
    EXPECT_EQ(links.log, (std::vector<std::string>{"copy C:\\Desk\\Editor.lnk > C:\\Desk\\Text Editor.lnk",
                                                   "delete C:\\Desk\\Editor.lnk"}));
}

TEST(ApplyShortcut, RetargetingUnderTheSameNameRewritesTheLinkAndNeverDeletesIt)
{
    FakeLinks links;
    links.Put("C:\\Desk\\Editor.lnk", "C:\\old\\edit.exe");
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Editor", "C:\\new\\edit.exe", true}, links, kNeverAsked),
              ShortcutChange::Applied);
    EXPECT_EQ(links.Names(), std::vector<std::string>{"C:\\Desk\\Editor.lnk"});
    EXPECT_EQ(links.files.begin()->second.second, "C:\\new\\edit.exe");
    EXPECT_EQ(links.log, std::vector<std::string>{"create C:\\Desk\\Editor.lnk"});

    links.log.clear();
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Editor", "C:\\new\\edit.exe", false}, links, kNeverAsked),
              ShortcutChange::Unchanged);
    EXPECT_TRUE(links.log.empty());
}

TEST(ApplyShortcut, AChangeOfLetterCaseRenamesTheOneFile)
{
    FakeLinks links;
    links.Put("C:\\Desk\\editor.lnk", "C:\\edit.exe");
    std::string now;
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\editor.lnk", "Editor", "C:\\edit.exe", false}, links, kNeverAsked, &now),
              ShortcutChange::Applied);
    EXPECT_EQ(links.Names(), std::vector<std::string>{"C:\\Desk\\Editor.lnk"});
    EXPECT_EQ(now, "C:\\Desk\\Editor.lnk");
}

TEST(ApplyShortcut, AFailedWriteKeepsTheOldLinkAndAFailedDeleteIsReported)
{
    FakeLinks links;
    links.Put("C:\\Desk\\Editor.lnk", "C:\\edit.exe");
    links.failCreate = true;
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Text Editor", "C:\\other.exe", true}, links, kNeverAsked),
              ShortcutChange::NotWritten);
    EXPECT_EQ(links.Names(), std::vector<std::string>{"C:\\Desk\\Editor.lnk"});
    EXPECT_EQ(std::count_if(links.log.begin(), links.log.end(), [](const std::string& s) { return s.rfind("delete", 0) == 0; }), 0);

    links.failCreate = false;
    links.failDelete = true;
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Text Editor", "C:\\other.exe", true}, links, kNeverAsked),
              ShortcutChange::OldKept);
    EXPECT_EQ(links.Names().size(), 2u);
}

TEST(ApplyShortcut, BadNamesAndCommandsWriteNothing)
{
    FakeLinks links;
    links.Put("C:\\Desk\\Editor.lnk", "C:\\edit.exe");
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "..\\..\\Editor", "C:\\edit.exe", false}, links, kNeverAsked),
              ShortcutChange::InvalidName);
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "Editor 2", "", true}, links, kNeverAsked),
              ShortcutChange::InvalidCommand);
    EXPECT_TRUE(links.log.empty());
}

TEST(ApplyShortcut, AnotherLinkOfTheNewNameIsReplacedOnlyWhenTheUserSaysSo)
{
    FakeLinks links;
    links.Put("C:\\Desk\\Editor.lnk", "C:\\edit.exe");
    links.Put("C:\\Desk\\Notes.lnk", "C:\\notes.exe");
    std::string asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const std::string& name) {
            asked = name;
            return yes;
        };
    };
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "notes", "C:\\edit.exe", false}, links, answer(false)),
              ShortcutChange::Declined);
    EXPECT_EQ(asked, "notes");
    EXPECT_EQ(links.Names().size(), 2u);
    EXPECT_EQ(ApplyShortcutChange({"C:\\Desk\\Editor.lnk", "notes", "C:\\edit.exe", false}, links, answer(true)),
              ShortcutChange::Applied);
    EXPECT_EQ(links.Names(), std::vector<std::string>{"C:\\Desk\\Notes.lnk"});
    EXPECT_EQ(links.files.begin()->second.second, "C:\\edit.exe");
}

TEST(AddShortcut, WritesTheNamedLinkInThePlacesFolder)
{
    FakeLinks links;
    std::string now;
    EXPECT_EQ(AddShortcut("C:\\Desk\\", "Calc", "\"C:\\Win dows\\calc.exe\" /s", links, kNeverAsked, &now),
              ShortcutChange::Applied);
    EXPECT_EQ(now, "C:\\Desk\\Calc.lnk");
    EXPECT_EQ(links.files.begin()->second.second, "C:\\Win dows\\calc.exe /s");
    EXPECT_EQ(AddShortcut("C:\\Desk", "a:b", "C:\\calc.exe", links, kNeverAsked), ShortcutChange::InvalidName);
    EXPECT_EQ(AddShortcut("C:\\Desk", "Calc", "C:\\calc.exe", links, [](const std::string&) { return false; }),
              ShortcutChange::Declined);
    EXPECT_EQ(links.Names().size(), 1u);
}

TEST(DroppedLinks, EachFileGetsALinkNamedAfterItWithoutReplacingAny)
{
    std::vector<std::string> existing = {"c:\\desk\\readme.lnk"};
    auto exists = [&](const std::string& path) {
        return std::find(existing.begin(), existing.end(), Lower(path)) != existing.end();
    };
    auto links = PlanDroppedLinks({"C:\\a\\alpha.txt", "C:\\b\\Beta.exe", "C:\\c\\gamma", "C:\\d\\README.md",
                                   "C:\\e\\alpha.doc", "C:\\"},
                                  "C:\\Desk", exists);
    ASSERT_EQ(links.size(), 6u);
    EXPECT_EQ(links[0].linkPath, "C:\\Desk\\alpha.lnk");
    EXPECT_EQ(links[1].linkPath, "C:\\Desk\\Beta.lnk");
    EXPECT_EQ(links[2].linkPath, "C:\\Desk\\gamma.lnk");
    EXPECT_EQ(links[3].linkPath, "C:\\Desk\\README (2).lnk");
    EXPECT_EQ(links[4].linkPath, "C:\\Desk\\alpha (2).lnk");
    EXPECT_EQ(links[5].linkPath, "");
    EXPECT_EQ(links[4].file, "C:\\e\\alpha.doc");
}

TEST(RemoveLinks, OneQuestionForOneRowAnotherForSeveral)
{
    EXPECT_EQ(RemoveQuestionId(0), 0u);
    EXPECT_EQ(RemoveQuestionId(1), unsigned(IDS_SHORTCUT_REMOVE_ONE));
    EXPECT_EQ(RemoveQuestionId(3), unsigned(IDS_SHORTCUT_REMOVE_MANY));
}

TEST(RemoveLinks, ExactlyTheSelectedLinksGoFromTheLastRowUp)
{
    FakeLinks links;
    for (const char* name : {"a", "b", "c", "d", "e"})
        links.Put(std::string("C:\\Desk\\") + name + ".lnk", name);
    links.files.erase(Lower("C:\\Desk\\d.lnk")); // gone meanwhile: its row stays
    std::vector<std::string> told;
    // Rows as a list sorted backwards shows them: e d c b a.
    auto removed = RemoveSelectedLinks({{3, "C:\\Desk\\b.lnk"}, {0, "C:\\Desk\\e.lnk"}, {1, "C:\\Desk\\d.lnk"}}, links,
                                       [&](const std::string& path) { told.push_back(path); });
    EXPECT_EQ(removed, (std::vector<int>{3, 0}));
    EXPECT_EQ(told, (std::vector<std::string>{"C:\\Desk\\b.lnk", "C:\\Desk\\d.lnk", "C:\\Desk\\e.lnk"}));
    EXPECT_EQ(links.Names(), (std::vector<std::string>{"C:\\Desk\\a.lnk", "C:\\Desk\\c.lnk"}));
}
