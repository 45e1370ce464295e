// QuentaSetup: unpacks the packaged program into the temporary folder, runs it with "/INSTALL",
// waits for it, and deletes it again. It asks nothing and reports nothing; its exit code is 0.
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "setupstub/stub_archive.h"
#include "setupstub/stub_files_win.h"

namespace {
std::string FolderFrom(UINT (*get)(char*, UINT))
{
    char folder[MAX_PATH + 1] = {};
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length <= MAX_PATH ? std::string(folder, length) : std::string();
}
UINT TempFolder(char* buffer, UINT size) { return GetTempPathA(size, buffer); }
UINT SystemFolder(char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); }

bool CanOpenForReading(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

std::vector<uint8_t> ResourceBytes(unsigned id, const char* type)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const auto* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!data)
        return {};
    return std::vector<uint8_t>(data, data + SizeofResource(nullptr, resource));
}

// Places resource `id` in `folder`: an archive is extracted there, other bytes are written as
// `fileName`. Unless `always`, an existing readable `fileName` leaves everything as it is.
// Returns the last file written.
std::string PlaceResource(unsigned id, const std::string& folder, const std::string& fileName, bool always,
                          bool isArchive, const char* type)
{
    if (folder.empty())
        return {};
    const std::string target = JoinStubPath(folder, fileName);
    if (!always && !fileName.empty() && CanOpenForReading(target))
        return {};
    const std::vector<uint8_t> bytes = ResourceBytes(id, type);
    if (bytes.empty())
        return {};
    WinStubFiles files;
    if (isArchive)
        return ExtractStubArchive(bytes, folder, files);
    return files.WriteWholeFile(target, bytes) ? target : std::string();
}

// Runs the program with "/INSTALL" from the temporary folder and waits for it, keeping the
// wait box painted meanwhile.
void RunAndWait(const std::string& program, const std::string& folder)
{
    std::string commandLine = "\"" + program + "\" /INSTALL";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return;
    CloseHandle(process.hThread);
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(process.hProcess);
}

INT_PTR CALLBACK WaitBoxProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HWND box = CreateDialogA(instance, MAKEINTRESOURCEA(IDD_SETUP_STUB_WAIT), nullptr, WaitBoxProc);
    if (box) {
        ShowWindow(box, SW_SHOW);
        UpdateWindow(box);
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    SetCursor(LoadCursor(nullptr, IDC_WAIT));

    const std::string temp = FolderFrom(TempFolder);
    const std::string system = FolderFrom(SystemFolder);
    PlaceResource(IDR_SETUP_STUB_SUPPORT, system, "olepro32.dll", false, true, "ZIP");
    PlaceResource(IDR_SETUP_STUB_RECORD, temp, "rixo.aid", true, false, "AID");
    // Only a file that came out of the program's own archive is run and deleted afterwards.
    const std::string program = PlaceResource(IDR_SETUP_STUB_PROGRAM, temp, "", true, true, "ZIP");
    if (!program.empty())
        RunAndWait(program, temp);

    if (box) {
        ShowWindow(box, SW_MINIMIZE);
        ShowWindow(box, SW_HIDE);
        DestroyWindow(box);
    }
    if (!program.empty())
        DeleteFileA(program.c_str());
    return 0;
}
