// The shell's context menu: the items' folder from the desktop folder, the menu object from
// GetUIObjectOf, the menu filled by the object, shown with TrackPopupMenu and the choice
// handed back to the object. Owner-drawn submenus ("Send To", "Open With") need the menu
// messages passed to the object, so the owner is subclassed while the menu is up.
#include "filetools/common/shell_context_menu_win.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "filetools/common/shell_item_paths.h"
#include "shell/com_ptr_win.h"

namespace {

// Item id lists returned by the shell, freed together.
class ItemIdLists {
public:
    ItemIdLists() = default;
    ~ItemIdLists()
    {
        for (LPITEMIDLIST id : m_ids)
            CoTaskMemFree(id);
    }
    ItemIdLists(const ItemIdLists&) = delete;
    ItemIdLists& operator=(const ItemIdLists&) = delete;
    void Add(LPITEMIDLIST id) { m_ids.push_back(id); }
    UINT Count() const { return static_cast<UINT>(m_ids.size()); }
    LPCITEMIDLIST* Data() { return const_cast<LPCITEMIDLIST*>(reinterpret_cast<const LPCITEMIDLIST*>(m_ids.data())); }

private:
    std::vector<LPITEMIDLIST> m_ids;
};

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

bool ParseName(IShellFolder* folder, HWND owner, const std::string& name, LPITEMIDLIST& id)
{
    std::wstring wide = Wide(name);
    id = nullptr;
    return SUCCEEDED(folder->ParseDisplayName(owner, nullptr, wide.data(), nullptr, &id, nullptr)) && id;
}

constexpr UINT_PTR kMenuSubclassId = 0x51434D; // "QCM"
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

// Passes the menu messages of the shell's owner-drawn items to the menu object.
LRESULT CALLBACK MenuOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* menu2 = reinterpret_cast<IContextMenu2*>(data);
    switch (message) {
    case WM_INITMENUPOPUP:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_MENUCHAR: {
        IContextMenu3* menu3 = nullptr;
        if (SUCCEEDED(menu2->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&menu3)))) {
            LRESULT result = 0;
            HRESULT handled = menu3->HandleMenuMsg2(message, wParam, lParam, &result);
            menu3->Release();
            if (SUCCEEDED(handled))
                return message == WM_INITMENUPOPUP ? 0 : (message == WM_MENUCHAR ? result : TRUE);
        } else if (message != WM_MENUCHAR && SUCCEEDED(menu2->HandleMenuMsg(message, wParam, lParam))) {
            return message == WM_INITMENUPOPUP ? 0 : TRUE;
        }
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The language-independent verb of a command of the menu object; empty when it has none.
std::string VerbOf(IContextMenu* menu, UINT offset)
{
    char verb[256] = {};
    if (SUCCEEDED(menu->GetCommandString(offset, GCS_VERBA, nullptr, verb, sizeof verb - 1)) && verb[0])
        return verb;
    wchar_t wide[256] = {};
    if (FAILED(menu->GetCommandString(offset, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(wide), 255)) || !wide[0])
        return {};
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, verb, sizeof verb, nullptr, nullptr);
    return n > 1 ? std::string(verb, static_cast<size_t>(n - 1)) : std::string();
}
} // namespace

void ShowShellContextMenu(HWND owner, const std::vector<std::string>& paths, POINT screenPoint)
{
    ShowShellContextMenu(owner, paths, screenPoint, ShellVerbHandler());
}

void ShowShellContextMenu(HWND owner, const std::vector<std::string>& paths, POINT screenPoint,
                          const ShellVerbHandler& takeVerb)
{
    std::optional<ShellItemsInFolder> items = SplitIntoOneFolder(paths);
    if (!items)
        return;
    bool comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    {
        ComPtr<IShellFolder> desktop;
        ComPtr<IShellFolder> folder;
        ComPtr<IContextMenu> menu;
        ItemIdLists folderId;
        ItemIdLists itemIds;
        LPITEMIDLIST id = nullptr;
        bool ready = SUCCEEDED(SHGetDesktopFolder(desktop.Out())) && ParseName(desktop.Get(), owner, items->folder, id);
        if (id)
            folderId.Add(id);
        ready = ready && SUCCEEDED(desktop->BindToObject(id, nullptr, IID_IShellFolder, folder.OutVoid()));
        for (size_t i = 0; ready && i < items->names.size(); ++i) {
            ready = ParseName(folder.Get(), owner, items->names[i], id);
            if (id)
                itemIds.Add(id);
        }
        ready = ready && SUCCEEDED(folder->GetUIObjectOf(owner, itemIds.Count(), itemIds.Data(), IID_IContextMenu,
                                                         nullptr, menu.OutVoid()));
        HMENU popup = ready ? CreatePopupMenu() : nullptr;
        if (popup && SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_NORMAL))) {
            ComPtr<IContextMenu2> menu2;
            bool subclassed = owner && SUCCEEDED(menu->QueryInterface(IID_IContextMenu2, menu2.OutVoid())) &&
                              SetWindowSubclass(owner, MenuOwnerProc, kMenuSubclassId,
                                                reinterpret_cast<DWORD_PTR>(menu2.Get()));
            UINT command = static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x,
                                                            screenPoint.y, 0, owner, nullptr));
            if (subclassed)
                RemoveWindowSubclass(owner, MenuOwnerProc, kMenuSubclassId);
            const bool chosen = command >= kFirstCommand && command <= kLastCommand;
            const bool takenByCaller = chosen && takeVerb && takeVerb(VerbOf(menu.Get(), command - kFirstCommand));
            if (chosen && !takenByCaller) {
                CMINVOKECOMMANDINFO invoke = {};
                invoke.cbSize = sizeof invoke;
                invoke.hwnd = owner;
                invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
                invoke.lpDirectory = items->folder.c_str();
                invoke.nShow = SW_SHOWNORMAL;
                menu->InvokeCommand(&invoke);
            }
        }
        if (popup)
            DestroyMenu(popup);
    }
    if (comStarted)
        CoUninitialize();
}
