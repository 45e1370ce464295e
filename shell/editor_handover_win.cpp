#include "shell/editor_handover_win.h"

#include <ctime>

#include "app/message.h"
#include "app/paths.h"
#include "app/registry_access.h"
#include "app/services.h"
#include "base/text.h"
#include "picture/codecs/bmp_codec.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/editor_handover.h"

namespace {
// Puts a copy of the picture's packed bitmap on the clipboard in the editor's format and
// returns the format, or 0 when the clipboard could not take it.
UINT PutOnClipboard(HWND owner, const CPicture& picture)
{
    const UINT format = RegisterClipboardFormatA(kEditorClipboardFormat);
    CPicture copy;
    if (format == 0 || !copy.CopyFrom(picture) || !OpenClipboard(owner))
        return 0;
    EmptyClipboard();
    HANDLE block = copy.Block().Release();
    const bool placed = block && SetClipboardData(format, block);
    if (!placed && block)
        GlobalFree(block);
    CloseClipboard();
    return placed ? format : 0;
}

bool PostToRunningEditor(HWND owner, const CPicture& picture)
{
    if (!FindWindowEntry(kEditorProgramName))
        return false;
    const UINT format = PutOnClipboard(owner, picture);
    return format != 0 && PostToWindowEntry(kEditorProgramName, kEditorPictureMessage, format, 0);
}

// Starts the installed editor with the picture as a temporary bitmap. False when no editor is
// installed or it cannot be started; a bitmap that cannot be written is said here.
bool StartInstalledEditor(const CPicture& picture)
{
    const std::string editor =
        CRegistryAccess().ReadString(RegRoot::CurrentUser, kEditorInstallKey, kEditorProgramName, "");
    if (editor.empty() || !IsReadableFile(editor))
        return false;
    const std::string folder = FolderOf(MakeTempName());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file =
        JoinPath(folder, EditorHandoverFileName(picture.Description(), static_cast<long long>(std::time(nullptr))));
    CPicture copy;
    if (!copy.CopyFrom(picture) || !SaveBmp24(file, copy, nullptr)) {
        DeleteFileA(file.c_str());
        ShowMessage(FormatText(IDS_CANNOT_WRITE_FILE, file));
        return true;
    }
    return RunProgram(true, SW_SHOWNORMAL, editor, "\"" + file + "\"", FolderOf(editor));
}
} // namespace

void HandPictureToEditor(HWND owner, const CPicture& picture)
{
    if (picture.IsEmpty())
        return;
    if (PostToRunningEditor(owner, picture) || StartInstalledEditor(picture))
        return;
    ShowMessage(LoadText(IDS_EDITOR_NOT_INSTALLED) + "\r\n" + LoadText(IDS_EDITOR_DOWNLOAD_ADDRESS));
}
