#include "filetools/common/file_action_win.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/picture_loading.h"
#include "base/text.h"
#include "filetools/common/drop_files_block.h"
#include "filetools/common/free_names.h"
#include "filetools/common/rename_dialog_win.h"
#include "filetools/properties/file_properties_dlg_win.h"
#include "picture/picture.h"
#include "res/resource.h"
#include "shell/busy_scope_win.h"
#include "shell/file_drag_win.h"
#include "shell/folder_browser_win.h"
#include "app/message.h"
#include "shell/module_host_win.h"
#include "shell/qn_form_view_win.h"
#include "shell/report_list_win.h"
#include "shell/viewer/picture_viewer_win.h"

namespace {
class WaitCursor {
public:
    WaitCursor() : m_old(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_old); }

private:
    HCURSOR m_old;
};

bool PathExistsOnDisk(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Paths as the shell's file operation takes them: each ends with a zero, the list with another.
std::string ZeroSeparated(const std::vector<std::string>& paths)
{
    std::string list;
    for (const std::string& path : paths) {
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

HWND OwnerOf(CQnFormView& view) { return GetAncestor(view.Hwnd(), GA_ROOT); }

bool RunFileOperation(HWND owner, UINT operation, const std::vector<std::string>& from,
                      const std::vector<std::string>& to, FILEOP_FLAGS flags)
{
    const std::string fromList = ZeroSeparated(from);
    const std::string toList = to.empty() ? std::string(2, '\0') : ZeroSeparated(to);
    SHFILEOPSTRUCTA operationData{};
    operationData.hwnd = owner;
    operationData.wFunc = operation;
    operationData.pFrom = fromList.c_str();
    operationData.pTo = to.empty() ? nullptr : toList.c_str();
    operationData.fFlags = flags;
    return SHFileOperationA(&operationData) == 0 && !operationData.fAnyOperationsAborted;
}

bool PutOnClipboard(HWND owner, const std::vector<uint8_t>& block)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, block.size());
    if (!memory)
        return false;
    std::memcpy(GlobalLock(memory), block.data(), block.size());
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_HDROP, memory) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(memory);
    return placed;
}

// The shell's default verb; when no program opens the file, the shell's "open with" choice.
void OpenFile(HWND owner, const std::string& path)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&info))
        return;
    const std::string arguments = "shell32.dll,OpenAs_RunDLL " + path;
    ShellExecuteA(owner, nullptr, "rundll32.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

void RemoveRowsOfVanishedFiles(CReportList& list, const std::vector<int>& rows, const std::vector<std::string>& paths)
{
    std::vector<int> gone;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!PathExistsOnDisk(paths[i]))
            gone.push_back(rows[i]);
    list.RemoveRows(gone);
}

bool RenameFile(CQnFormView& view, CReportList& list, int row, const std::string& path, IFileRowRecords* records)
{
    const std::string folder = path.substr(0, path.size() - FileNamePart(path).size());
    std::string name = FileNamePart(path);
    for (;;) {
        CRenameDialog dialog(name);
        if (dialog.DoModal(OwnerOf(view)) != IDOK)
            return false;
        name = dialog.Name();
        if (name.empty())
            continue;
        const std::string target = folder + name;
        if (target == path)
            return false;
        // An existing name is refused before the shell is asked: not every shell refuses to
        // rename onto it (the other file would be replaced).
        const bool onlyCaseChanges = lstrcmpiA(target.c_str(), path.c_str()) == 0;
        if (!onlyCaseChanges && PathExistsOnDisk(target))
            continue;
        if (!RunFileOperation(OwnerOf(view), FO_RENAME, {path}, {target}, FOF_ALLOWUNDO))
            continue;
        list.SetCellText(row, 0, name);
        if (records)
            records->RefreshRow(row, target);
        return true;
    }
}

void ShowOrPrintPicture(CQnFormView& view, const std::string& path, bool print, bool preview)
{
    std::unique_ptr<CPicture> picture;
    {
        CBusyScope busy;
        if (IModuleHost* host = ModuleHost())
            host->SetStatusText(FormatText(IDS_LOADING_PICTURE, FileNamePart(path)));
        picture.reset(LoadPictureOrComplain(path, &busy.Progress(), true));
    }
    if (!picture) {
        ShowMessage(FormatText(IDS_CANNOT_LOAD_PICTURE, path));
        return;
    }
    if (print)
        view.PrintPicture(picture.get(), preview);
    else
        ShowPicture(std::move(picture), path);
}
} // namespace

std::string RowPathInFolder(const std::string& folder, const std::string& firstCell)
{
    const size_t lineBreak = firstCell.find('\n');
    const std::string name = lineBreak == std::string::npos ? firstCell : firstCell.substr(lineBreak + 1);
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + '\\' + name;
}

bool TransferFilesKeepingBoth(const std::vector<std::string>& paths, const std::string& folder, bool move)
{
    const std::vector<std::string> targets = FreeTargetPaths(paths, folder, PathExistsOnDisk);
    return RunFileOperation(GetActiveWindow(), move ? FO_MOVE : FO_COPY, paths, targets,
                            FOF_ALLOWUNDO | FOF_RENAMEONCOLLISION | FOF_MULTIDESTFILES);
}

bool DoFileAction(CQnFormView& view, CReportList& list, const std::string& folder, int action, int argument,
                  IFileRowRecords* records)
{
    WaitCursor wait;
    const std::vector<int> rows = list.SelectedRowsOfControl();
    if (rows.empty())
        return false;
    std::vector<std::string> paths;
    for (int row : rows)
        paths.push_back(records ? records->PathOfRow(row) : RowPathInFolder(folder, list.StoredText(row, 0)));
    const HWND owner = OwnerOf(view);
    switch (action) {
    case kFileActionCopy:
    case kFileActionDrag: {
        if (action == kFileActionDrag) {
            DragFilesOut(paths, true);
            return true;
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        return PutOnClipboard(owner, BuildDropFilesBlock(paths, cursor.x, cursor.y));
    }
    case kFileActionMove: {
        const std::string target = BrowseForFolder(owner, LoadText(IDS_MOVE_FOLDER_TITLE));
        if (target.empty())
            return false;
        TransferFilesKeepingBoth(paths, target, true);
        RemoveRowsOfVanishedFiles(list, rows, paths); // also after a move stopped half-way
        return true;
    }
    case kFileActionDelete:
        RunFileOperation(owner, FO_DELETE, paths, {}, FOF_ALLOWUNDO);
        RemoveRowsOfVanishedFiles(list, rows, paths);
        return true;
    case kFileActionOpen: OpenFile(owner, paths.front()); return true;
    case kFileActionRename: return RenameFile(view, list, rows.front(), paths.front(), records);
    case kFileActionProperties:
        ShowFileProperties(paths.front(), owner);
        if (records) // the dialog can change the attributes
            records->RefreshRow(rows.front(), paths.front());
        return true;
    case kFileActionView:
    case kFileActionPrint:
        ShowOrPrintPicture(view, paths.front(), action == kFileActionPrint, argument != 0);
        return true;
    default: return false; // Edit does nothing yet
    }
}
