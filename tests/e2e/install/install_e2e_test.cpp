// Install and uninstall end to end: quenta.exe "/INSTALL" shows the setup screen with its
// wizard; a folder and French are chosen and Finish installs; the Start menu group holds its
// four shortcuts, the registry its entries, and the installed copy starts with "/FIRSTTIME" in
// French. Reinstalling recreates the group; uninstalling keeps a user's file in F\help with
// F\help and F; uninstalling with the program gone says so and changes nothing.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <prsht.h>
#include <shlobj.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "res/resource.h"
#include "tests/e2e/support/registry_snapshot_win.h"
#include "tests/e2e/support/quenta_e2e_win.h"
#include "tests/e2e/support/screen_win.h"

namespace fs = std::filesystem;

namespace {
const std::string kRoot = "C:\\quenta_e2e_install";
const std::string kFolder = kRoot + "\\Apps\\Quenta";
const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ostrel Quenta";

using e2e::QuentaExe;
std::string Shot(const std::string& name) { return std::string(QUENTA_BINARY_DIR) + "/" + name + ".bmp"; }
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadUserValue(const char* key, const char* name)
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

std::string StartMenuGroup()
{
    return ReadUserValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Start Menu") +
           "\\Ostrel\\Quenta";
}

class Process {
public:
    bool Start(const std::string& exe, const std::string& arguments)
    {
        std::string command = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
    }
    ~Process()
    {
        if (!m_info.hProcess)
            return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_info.hProcess, 1);
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
    DWORD Id() const { return m_info.dwProcessId; }
    bool Ended(int milliseconds) const { return WaitForSingleObject(m_info.hProcess, milliseconds) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION m_info{};
};

// The wizard of the process: the window that holds the folder edit.
HWND FindWizard(DWORD process)
{
    HWND wizard = nullptr;
    WaitFor([&] {
        wizard = FindWindowOfProcess(process, [](HWND w) {
            HWND edit = FindDescendantById(w, IDC_SETUP_FOLDER);
            return edit && ClassOf(edit) == "Edit";
        });
        return wizard != nullptr;
    });
    return wizard;
}

HWND FindMessageBox(DWORD process)
{
    HWND box = nullptr;
    WaitFor([&] {
        box = FindWindowOfProcess(process, [](HWND w) { return CaptionOf(w) == "Quenta - Message"; });
        return box != nullptr;
    });
    return box;
}

std::string MessageText(HWND box)
{
    HWND edit = FindDescendantByClass(box, "Edit");
    return edit ? TextOf(edit) : std::string();
}

// The command line of another process, read from its process block.
std::string CommandLineOf(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return {};
    PEB peb{};
    RTL_USER_PROCESS_PARAMETERS parameters{};
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
        return {};
    std::wstring text(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, text.data(), parameters.CommandLine.Length, nullptr))
        return {};
    return std::string(text.begin(), text.end());
}

struct InstalledRun {
    HWND frame = nullptr;
    HANDLE process = nullptr;
    std::string image;
    std::string commandLine;
};

// The toolbox that setup started: a main window of a process running the installed program.
InstalledRun FindInstalledRun()
{
    InstalledRun run;
    WaitFor([&] {
        HWND frame = FindWindowA("QuentaMainFrame", nullptr);
        if (!frame || !IsWindowVisible(frame))
            return false;
        DWORD id = 0;
        GetWindowThreadProcessId(frame, &id);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        if (!process)
            return false;
        char image[MAX_PATH * 2] = {};
        DWORD size = sizeof image;
        QueryFullProcessImageNameA(process, 0, image, &size);
        run = {frame, process, image, CommandLineOf(process)};
        return true;
    }, 30000);
    return run;
}

void CloseInstalledRun(InstalledRun& run)
{
    if (!run.process)
        return;
    PostMessageA(run.frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(run.process, 15000) != WAIT_OBJECT_0)
        TerminateProcess(run.process, 1);
    CloseHandle(run.process);
    run = {};
}

// Every file and folder below a folder, relative.
std::set<std::string> Listing(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        names.insert(fs::relative(it->path(), folder).string());
    return names;
}

// Arguments of each link of a folder, by link file name.
std::map<std::string, std::string> LinkArguments(const std::string& folder)
{
    std::map<std::string, std::string> links;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        std::string arguments = "?";
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link)))) {
            if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
                if (SUCCEEDED(file->Load(entry.path().wstring().c_str(), STGM_READ))) {
                    char text[MAX_PATH] = {};
                    link->GetArguments(text, MAX_PATH);
                    arguments = text;
                }
                file->Release();
            }
            link->Release();
        }
        const std::wstring wide = entry.path().filename().wstring();
        char name[MAX_PATH] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, name, sizeof name, nullptr, nullptr);
        links[name] = arguments;
    }
    return links;
}

e2e::RegistrySnapshot SetupRegistry()
{
    e2e::RegistrySnapshot all = e2e::SnapshotRegistry(HKEY_CURRENT_USER, "Software\\Ostrel", "HKCU\\Software\\Ostrel");
    for (auto& entry : e2e::SnapshotRegistry(HKEY_LOCAL_MACHINE, kUninstallKey, "HKLM\\" + kUninstallKey))
        all.insert(entry);
    return all;
}

// Drives the wizard of a setup run: the folder typed into the edit, French when asked, Finish.
void FinishWizard(DWORD process, const std::string& folder, bool french, std::string* shownFolder = nullptr)
{
    HWND wizard = FindWizard(process);
    ASSERT_NE(wizard, nullptr) << "the setup wizard did not appear";
    HWND edit = FindDescendantById(wizard, IDC_SETUP_FOLDER);
    if (shownFolder)
        *shownFolder = TextOf(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    if (french)
        SendMessageA(FindDescendantById(wizard, IDC_SETUP_FRENCH), BM_CLICK, 0, 0);
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
}

class InstallRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        s_record = ReadUserValue("Software\\Ostrel\\Software", "Quenta");
        fs::remove_all(kRoot);
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(kRoot);
        // The install record stays after an uninstall by design; the prefix gets back its own.
        if (s_record.empty())
            RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Software", "Quenta");
        CoUninitialize();
    }
    static inline std::string s_record;
};
} // namespace

TEST_F(InstallRoundTrip, InstallReinstallUninstallAndUninstallAgain)
{
    // Install: a folder and French chosen in the wizard.
    {
        Process setup;
        ASSERT_TRUE(setup.Start(QuentaExe(), "/INSTALL"));
        FinishWizard(setup.Id(), kFolder, true);
        ASSERT_TRUE(setup.Ended(60000)) << "setup did not end after Finish";
    }
    InstalledRun run = FindInstalledRun();
    ASSERT_NE(run.frame, nullptr) << "the installed program did not start";
    EXPECT_EQ(fs::path(run.image), fs::path(kFolder + "\\quenta.exe"));
    EXPECT_NE(run.commandLine.find("/FIRSTTIME"), std::string::npos) << run.commandLine;
    e2e::Settle(run.frame);
    EXPECT_TRUE(SaveScreenBmp(Shot("install_first_run")));
    EXPECT_FALSE(TextOf(FindDescendantByClass(run.frame, STATUSCLASSNAMEA)).empty());
    CloseInstalledRun(run);

    EXPECT_TRUE(Exists(kFolder + "\\quenta.exe"));
    {
        std::ifstream page(kFolder + "\\help\\local\\index.htm");
        const std::string text((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("<html lang=\"fr\">"), std::string::npos) << "the French help pages are unpacked";
    }
    EXPECT_TRUE(Exists(kFolder + "\\newsletter"));
    const std::string group = StartMenuGroup();
    std::map<std::string, std::string> links = LinkArguments(group);
    ASSERT_EQ(links.size(), 4u) << group;
    std::multiset<std::string> arguments;
    for (const auto& [name, args] : links)
        arguments.insert(args);
    EXPECT_EQ(arguments, (std::multiset<std::string>{"", "", "/INSTALL", "/UNINSTALL"}));
    EXPECT_EQ(links["Quenta.lnk"], "");
    // Named in the language chosen in the wizard.
    EXPECT_EQ(links["R\xe9installer Quenta.lnk"], "/INSTALL");
    EXPECT_EQ(links["Aide.lnk"], "");

    e2e::RegistrySnapshot installed = SetupRegistry();
    const std::string uninstallPath = "HKLM\\" + kUninstallKey;
    EXPECT_EQ(installed[uninstallPath]["DisplayName"], "1:Ostrel Quenta");
    EXPECT_EQ(installed[uninstallPath]["UninstallString"], "1:" + kFolder + "\\quenta.exe /UNINSTALL");
    EXPECT_EQ(installed["HKCU\\Software\\Ostrel\\Software"]["Quenta"], "1:" + kFolder + "\\quenta.exe");
    EXPECT_EQ(installed["HKCU\\Software\\Ostrel\\Quenta"]["HelpFolder"], "1:" + kFolder + "\\help");
    EXPECT_EQ(installed["HKCU\\Software\\Ostrel\\Quenta"]["Language"], "1:2");

    // Reinstall from the installed copy: the wizard proposes its folder; the group is made anew.
    std::ofstream(group + "\\Stale.lnk") << "not a link";
    {
        Process setup;
        ASSERT_TRUE(setup.Start(kFolder + "\\quenta.exe", "/INSTALL"));
        std::string proposed;
        FinishWizard(setup.Id(), kFolder, true, &proposed);
        EXPECT_EQ(proposed, kFolder + "\\");
        ASSERT_TRUE(setup.Ended(60000));
    }
    run = FindInstalledRun();
    CloseInstalledRun(run);
    EXPECT_EQ(LinkArguments(group).size(), 4u);
    EXPECT_FALSE(Exists(group + "\\Stale.lnk"));
    EXPECT_GT(fs::file_size(kFolder + "\\quenta.exe"), 100000u) << "reinstalling over itself kept the program";

    // Uninstall, with a file of the user's in F\help and news in F\newsletter.
    std::ofstream(kFolder + "\\help\\my notes.txt") << "mine";
    fs::create_directories(kFolder + "\\newsletter\\issue1");
    std::ofstream(kFolder + "\\newsletter\\issue1\\news.htm") << "news";
    {
        Process uninstall;
        ASSERT_TRUE(uninstall.Start(kFolder + "\\quenta.exe", "/UNINSTALL"));
        HWND question = FindMessageBox(uninstall.Id());
        ASSERT_NE(question, nullptr);
        EXPECT_NE(MessageText(question).find(kFolder), std::string::npos) << MessageText(question);
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        WaitFor([&] { return !IsWindow(question); }, 10000);
        HWND done = FindMessageBox(uninstall.Id());
        ASSERT_NE(done, nullptr);
        EXPECT_NE(MessageText(done).find(kFolder + "\\quenta.exe"), std::string::npos) << MessageText(done);
        EXPECT_TRUE(SaveScreenBmp(Shot("install_uninstalled")));
        PostMessageA(done, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(uninstall.Ended(30000));
    }
    EXPECT_EQ(Listing(kFolder + "\\help"), std::set<std::string>{"my notes.txt"}) << "only the user's file stays";
    EXPECT_FALSE(Exists(kFolder + "\\newsletter"));
    EXPECT_FALSE(Exists(group));
    e2e::RegistrySnapshot removed = SetupRegistry();
    EXPECT_EQ(removed.count(uninstallPath), 0u);
    EXPECT_EQ(removed.count("HKCU\\Software\\Ostrel\\Quenta"), 0u);
    EXPECT_EQ(removed["HKCU\\Software\\Ostrel\\Software"]["Quenta"], "1:" + kFolder + "\\quenta.exe");

    // The program file that stayed goes; uninstalling again changes nothing and says why.
    DeleteFileA((kFolder + "\\quenta.exe").c_str());
    const std::set<std::string> filesBefore = Listing(kRoot);
    const e2e::RegistrySnapshot registryBefore = SetupRegistry();
    {
        Process uninstall;
        ASSERT_TRUE(uninstall.Start(QuentaExe(), "/UNINSTALL"));
        HWND box = FindMessageBox(uninstall.Id());
        ASSERT_NE(box, nullptr);
        EXPECT_NE(MessageText(box).find("Cannot find an installed version of Quenta"), std::string::npos)
            << MessageText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(uninstall.Ended(30000));
    }
    EXPECT_EQ(Listing(kRoot), filesBefore);
    e2e::RegistrySnapshot registryAfter = SetupRegistry();
    // Every start records the folder of a "quenta.exe" it runs beside; that is start-up's, not
    // uninstall's.
    const std::string settingsKey = "HKCU\\Software\\Ostrel\\Quenta";
    if (registryAfter.count(settingsKey)) {
        registryAfter[settingsKey].erase("QuentaFolder");
        if (!registryBefore.count(settingsKey) && registryAfter[settingsKey].empty())
            registryAfter.erase(settingsKey);
    }
    EXPECT_TRUE(e2e::ChangedKeys(registryBefore, registryAfter).empty())
        << e2e::DescribeChanges(registryBefore, registryAfter);
    EXPECT_TRUE(Exists(kFolder + "\\help"));
}

namespace {
// The setup screen with its wizard, shot and cancelled; nothing is installed.
void ShootSetupScreen(const std::string& language, const char* frenchRadioText)
{
    const std::string recordBefore = ReadUserValue("Software\\Ostrel\\Software", "Quenta");
    Process setup;
    ASSERT_TRUE(setup.Start(QuentaExe(), "/INSTALL"));
    HWND wizard = FindWizard(setup.Id());
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(TextOf(FindDescendantById(wizard, IDC_SETUP_FRENCH)), frenchRadioText);
    EXPECT_EQ(SendMessageA(FindDescendantById(wizard, IDC_SETUP_ENGLISH), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(TextOf(FindDescendantById(wizard, IDC_SETUP_NEEDED)).empty());
    EXPECT_FALSE(TextOf(FindDescendantById(wizard, IDC_SETUP_AVAILABLE)).empty());
    HWND screen = FindWindowOfProcess(setup.Id(), [](HWND w) { return CaptionOf(w) == "Ostrel Quenta v1.6"; });
    ASSERT_NE(screen, nullptr) << "the setup screen did not appear";
    Sleep(1500);
    e2e::Settle(screen);
    e2e::Settle(wizard);
    ASSERT_TRUE(SaveScreenBmp(Shot("install_setup_screen_" + language)));
    // The backdrop runs from dark at the top to light at the bottom, on every side of the wizard.
    ScreenCapture shot;
    const int right = GetSystemMetrics(SM_CXSCREEN) - 4;
    const COLORREF top = shot.At(right, 80), bottom = shot.At(right, GetSystemMetrics(SM_CYSCREEN) - 40);
    RECT box;
    GetWindowRect(wizard, &box);
    EXPECT_NEAR((box.left + box.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 4) << "the wizard stands centred";
    EXPECT_LT(GetRValue(top) + GetGValue(top) + GetBValue(top), GetRValue(bottom) + GetGValue(bottom) + GetBValue(bottom));
    PostMessageA(wizard, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(setup.Ended(20000));
    EXPECT_EQ(ReadUserValue("Software\\Ostrel\\Software", "Quenta"), recordBefore);
}
} // namespace

TEST(SetupScreen, ShowsTheWizardOverTheBackdrop) { ShootSetupScreen("en", "French Version"); }

TEST(SetupScreenFrench, ShowsTheWizardOverTheBackdrop) { ShootSetupScreen("fr", "Version fran\xe7" "aise"); }
