// The install and uninstall procedures over a machine that records what they do and keeps its
// folders and files in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "base/text.h"
#include "res/resource.h"
#include "setup/install_product.h"

namespace {
std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class RecordingMachine : public InstallMachine {
public:
    std::set<std::string> folders; // upper-cased
    std::set<std::string> files;   // upper-cased
    std::map<unsigned, int> archiveStatus;
    std::map<unsigned, std::vector<std::string>> archiveFiles; // relative paths
    std::vector<std::string> log;
    std::vector<std::string> told;
    bool answer = true;
    std::string startMenu = "C:\\Users\\me\\Start Menu";
    std::string registered;
    std::map<std::string, std::string> registry; // "key|value" -> text
    int language = 1;

    bool HasFolder(const std::string& f) const { return folders.count(Upper(f)) != 0; }
    bool HasFile(const std::string& f) const { return files.count(Upper(f)) != 0; }
    void AddFile(const std::string& path)
    {
        files.insert(Upper(path));
        std::string folder = path.substr(0, path.rfind('\\'));
        CreateFolders(folder);
    }
    size_t Count(const std::string& prefix) const
    {
        return std::count_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }

    void SetLanguage(int chosen) override { log.push_back("language " + std::to_string(chosen)); }
    void BeginProgress(bool) override { log.push_back("progress"); }
    void EndProgress() override { log.push_back("progress end"); }
    bool CreateFolders(const std::string& folder) override
    {
        for (size_t at = folder.find('\\', 3); ; at = folder.find('\\', at + 1)) {
            folders.insert(Upper(folder.substr(0, at)));
            if (at == std::string::npos)
                break;
        }
        return true;
    }
    int ExtractArchive(unsigned id, const std::string& folder, bool extracting, std::string& error) override
    {
        log.push_back((extracting ? "extract " : "remove ") + std::to_string(id) + " " + folder);
        const int status = archiveStatus.count(id) ? archiveStatus[id] : 1;
        if (status != 1) {
            error = "archive " + std::to_string(id) + " failed";
            return status;
        }
        for (const std::string& name : archiveFiles[id]) {
            if (extracting)
                AddFile(folder + "\\" + name);
            else
                files.erase(Upper(folder + "\\" + name));
        }
        return 1;
    }
    bool CopyRunningProgram(const std::string& target, std::string&) override
    {
        log.push_back("copy " + target);
        AddFile(target);
        return true;
    }
    void CopySystemFile(const std::string& name, const std::string& folder) override { AddFile(folder + "\\" + name); }
    void DeleteFileAt(const std::string& path) override
    {
        log.push_back("delete " + path);
        files.erase(Upper(path));
    }
    std::string StartMenuFolder() override { return startMenu; }
    void DeleteFolderTree(const std::string& folder) override
    {
        log.push_back("tree " + folder);
        const std::string top = Upper(folder);
        std::erase_if(files, [&](const std::string& f) { return f.rfind(top + "\\", 0) == 0; });
        std::erase_if(folders, [&](const std::string& f) { return f == top || f.rfind(top + "\\", 0) == 0; });
    }
    bool CreateShortcut(const std::string& linkFolder, const ShortcutPlan& shortcut) override
    {
        log.push_back("shortcut " + shortcut.linkName);
        AddFile(linkFolder + "\\" + shortcut.linkName);
        return true;
    }
    void WriteRegistry(const RegistryEntry& entry) override
    {
        log.push_back("registry " + entry.value);
        registry[entry.key + "|" + entry.value] = entry.text;
    }
    void DeleteRegistryKey(RegRoot, const std::string& key) override { log.push_back("unregister " + key); }
    void StartProgram(const std::string& program, const std::string& arguments, const std::string&) override
    {
        log.push_back("start " + program + " " + arguments);
    }
    std::string WindowsFolder() override { return "C:\\Windows"; }
    std::string SystemFolder() override { return "C:\\Windows\\System32"; }
    void Tell(const std::string& text) override { told.push_back(text); }
    bool Ask(const std::string& text) override
    {
        told.push_back(text);
        return answer;
    }
    std::string RegisteredProgram() override { return registered; }
    bool FileExists(const std::string& path) override { return HasFile(path); }
    int RecordedLanguage() override { return language; }
    std::vector<std::string> SubfolderNames(const std::string& folder) override
    {
        std::vector<std::string> names;
        const std::string top = Upper(folder) + "\\";
        for (const std::string& f : folders)
            if (f.rfind(top, 0) == 0 && f.find('\\', top.size()) == std::string::npos)
                names.push_back(f.substr(top.size()));
        return names;
    }
    bool RemoveFolderIfEmpty(const std::string& folder) override
    {
        const std::string top = Upper(folder) + "\\";
        for (const std::string& f : files)
            if (f.rfind(top, 0) == 0)
                return false;
        if (!SubfolderNames(folder).empty())
            return false;
        log.push_back("rmdir " + folder);
        return folders.erase(Upper(folder)) != 0;
    }
};

const std::string kFolder = "C:\\Apps\\Quenta";
const std::string kGroup = "C:\\Users\\me\\Start Menu\\Ostrel\\Quenta";

class InstallProductTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        machine.archiveFiles[kArchiveFrenchHelp] = {"index.htm", "pages\\qnexplorer.htm"};
        machine.archiveFiles[kArchiveEnglishHelp] = {"index.htm", "pages\\qnexplorer.htm"};
        machine.archiveFiles[kArchiveHelpFiles] = {"style.css"};
        machine.CreateFolders("C:\\Windows\\System32");
    }
    RecordingMachine machine;
};
} // namespace

TEST_F(InstallProductTest, InstallPlacesEverythingAndStartsTheProgramLast)
{
    ASSERT_TRUE(InstallProduct(machine, true, kFolder, kLanguageFrench));
    EXPECT_EQ(machine.log.front(), "language 2");
    EXPECT_TRUE(machine.HasFolder(kFolder + "\\newsletter"));
    EXPECT_TRUE(machine.HasFile(kFolder + "\\help\\local\\pages\\qnexplorer.htm"));
    EXPECT_TRUE(machine.HasFile(kFolder + "\\help\\style.css"));
    EXPECT_TRUE(machine.HasFile(kFolder + "\\quenta.exe"));
    EXPECT_EQ(machine.Count("extract 367 " + kFolder + "\\help\\local"), 1u);
    EXPECT_EQ(machine.Count("extract 366"), 0u);
    EXPECT_EQ(machine.Count("shortcut "), 4u);
    EXPECT_TRUE(machine.HasFile(kGroup + "\\Quenta.lnk"));
    EXPECT_EQ(machine.registry["Software\\Ostrel\\Software\\|Quenta"], kFolder + "\\quenta.exe");
    EXPECT_EQ(machine.registry["Software\\Ostrel\\Quenta\\|Language"], "2");
    EXPECT_EQ(machine.log.back(), "progress end");
    EXPECT_EQ(machine.log[machine.log.size() - 2], "start " + kFolder + "\\quenta.exe /FIRSTTIME");
    EXPECT_TRUE(machine.told.empty());
}

TEST_F(InstallProductTest, ReinstallEmptiesTheGroupBeforeMakingItAgain)
{
    machine.AddFile(kGroup + "\\Old link.lnk");
    machine.CreateFolders(kGroup + "\\Sub");
    ASSERT_TRUE(InstallProduct(machine, true, kFolder, kLanguageEnglish));
    EXPECT_FALSE(machine.HasFile(kGroup + "\\Old link.lnk"));
    EXPECT_FALSE(machine.HasFolder(kGroup + "\\Sub"));
    EXPECT_EQ(machine.Count("shortcut "), 4u);
    EXPECT_LT(std::find(machine.log.begin(), machine.log.end(), "tree " + kGroup) - machine.log.begin(),
              std::find(machine.log.begin(), machine.log.end(), "shortcut Quenta.lnk") - machine.log.begin());
}

TEST_F(InstallProductTest, ArchiveFailureStopsBeforeAnyRegistryChangeWithTheArchivesMessage)
{
    for (unsigned failing : {kArchiveFrenchHelp, kArchiveHelpFiles}) {
        RecordingMachine fresh;
        fresh.archiveStatus[failing] = 2; // cancelled
        fresh.archiveStatus[kArchiveHelpFiles] = failing == kArchiveHelpFiles ? 5 : 1;
        EXPECT_FALSE(InstallProduct(fresh, true, kFolder, kLanguageFrench));
        EXPECT_EQ(fresh.Count("registry "), 0u);
        EXPECT_EQ(fresh.Count("start "), 0u);
        EXPECT_EQ(fresh.Count("shortcut "), 0u);
        EXPECT_EQ(fresh.Count("copy "), 0u);
        ASSERT_EQ(fresh.told.size(), 1u);
        EXPECT_EQ(fresh.told[0], "archive " + std::to_string(failing) + " failed");
        EXPECT_EQ(fresh.log.back(), "progress end");
    }
    RecordingMachine removing;
    removing.archiveStatus[kArchiveEnglishHelp] = 6;
    EXPECT_FALSE(InstallProduct(removing, false, kFolder, kLanguageEnglish));
    EXPECT_EQ(removing.Count("unregister "), 0u);
    EXPECT_EQ(removing.Count("delete "), 0u);
}

TEST_F(InstallProductTest, UninstallKeepsTheUsersFileWithItsFoldersAndRemovesTheRest)
{
    ASSERT_TRUE(InstallProduct(machine, true, kFolder, kLanguageFrench));
    machine.AddFile(kFolder + "\\help\\my notes.txt");
    machine.AddFile(kFolder + "\\newsletter\\issue1\\news.htm");
    machine.AddFile("C:\\Users\\me\\Start Menu\\Ostrel\\Other\\Zephra.lnk");
    machine.log.clear();

    ASSERT_TRUE(InstallProduct(machine, false, kFolder, kLanguageFrench));
    EXPECT_EQ(machine.Count("remove 367 " + kFolder + "\\help\\local"), 1u);
    EXPECT_TRUE(machine.HasFile(kFolder + "\\help\\my notes.txt"));
    EXPECT_TRUE(machine.HasFolder(kFolder + "\\help"));
    EXPECT_TRUE(machine.HasFolder(kFolder));
    EXPECT_FALSE(machine.HasFolder(kFolder + "\\help\\local"));
    EXPECT_FALSE(machine.HasFolder(kFolder + "\\newsletter"));
    EXPECT_FALSE(machine.HasFile(kFolder + "\\quenta.exe"));
    EXPECT_FALSE(machine.HasFile(kFolder + "\\olepro32.dll"));
    EXPECT_FALSE(machine.HasFolder(kGroup));
    EXPECT_TRUE(machine.HasFile("C:\\Users\\me\\Start Menu\\Ostrel\\Other\\Zephra.lnk"));
    EXPECT_TRUE(machine.HasFolder("C:\\Users\\me\\Start Menu"));
    EXPECT_EQ(machine.Count("unregister "), 2u);
    EXPECT_EQ(machine.Count("start "), 0u);

    machine.files.erase(Upper(kFolder + "\\help\\my notes.txt"));
    ASSERT_TRUE(InstallProduct(machine, false, kFolder, kLanguageFrench));
    EXPECT_FALSE(machine.HasFolder(kFolder));
    EXPECT_TRUE(machine.HasFolder("C:\\Apps"));
}

TEST_F(InstallProductTest, UninstallNeverTidiesAboveTheSystemsFolders)
{
    machine.CreateFolders("C:\\Windows\\Temp\\empty");
    machine.startMenu = "";
    ASSERT_TRUE(InstallProduct(machine, false, "C:\\Windows", kLanguageEnglish));
    ASSERT_TRUE(InstallProduct(machine, false, "C:\\", kLanguageEnglish));
    ASSERT_TRUE(InstallProduct(machine, false, "Relative\\Quenta", kLanguageEnglish));
    EXPECT_EQ(machine.Count("rmdir "), 0u);
    EXPECT_EQ(machine.Count("tree "), 0u); // neither a newsletter of theirs nor a Start menu group
    EXPECT_TRUE(machine.HasFolder("C:\\Windows\\Temp\\empty"));
}

TEST_F(InstallProductTest, WithoutAStartMenuNoGroupIsTouched)
{
    machine.startMenu = "";
    ASSERT_TRUE(InstallProduct(machine, true, kFolder, kLanguageEnglish));
    EXPECT_EQ(machine.Count("shortcut "), 0u);
    EXPECT_EQ(machine.Count("tree "), 0u);
    EXPECT_EQ(machine.Count("registry "), 5u);
}

TEST_F(InstallProductTest, UninstallRunWithTheProgramMissingOnlySaysSo)
{
    machine.registered = kFolder + "\\quenta.exe";
    RunUninstallFlow(machine, true);
    ASSERT_EQ(machine.told.size(), 1u);
    EXPECT_EQ(machine.told[0], LoadText(IDS_UNINSTALL_NOT_FOUND));
    for (const std::string& entry : machine.log)
        EXPECT_EQ(entry.rfind("language", 0), 0u) << entry;

    machine.registered.clear();
    machine.told.clear();
    RunUninstallFlow(machine, true);
    ASSERT_EQ(machine.told.size(), 1u);
    EXPECT_EQ(machine.told[0], LoadText(IDS_UNINSTALL_NOT_FOUND));
}

TEST_F(InstallProductTest, UninstallRunAsksRemovesAndReports)
{
    ASSERT_TRUE(InstallProduct(machine, true, kFolder, kLanguageFrench));
    machine.registered = kFolder + "\\quenta.exe";
    machine.language = kLanguageFrench;
    machine.told.clear();
    machine.log.clear();

    machine.answer = false;
    RunUninstallFlow(machine, true);
    ASSERT_EQ(machine.told.size(), 1u);
    EXPECT_EQ(machine.told[0], FormatText(IDS_UNINSTALL_CONFIRM, kFolder));
    EXPECT_EQ(machine.Count("remove "), 0u);
    EXPECT_TRUE(machine.HasFile(kFolder + "\\quenta.exe"));

    machine.answer = true;
    machine.told.clear();
    RunUninstallFlow(machine, true);
    ASSERT_EQ(machine.told.size(), 2u);
    EXPECT_EQ(machine.told[1], FormatText(IDS_UNINSTALL_DONE, kFolder + "\\quenta.exe"));
    EXPECT_EQ(machine.Count("remove 367"), 1u);

    // A failing step gives the failure message with the folder.
    machine.AddFile(kFolder + "\\quenta.exe");
    machine.archiveStatus[kArchiveHelpFiles] = 6;
    machine.told.clear();
    RunUninstallFlow(machine, false);
    ASSERT_EQ(machine.told.size(), 3u);
    EXPECT_EQ(machine.told[2], FormatText(IDS_UNINSTALL_FAILED, kFolder));
}
