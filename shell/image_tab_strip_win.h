#pragma once
// A tab control whose tabs show 16 x 16 images: pictures from bitmap resources drawn without
// their key colour (the explorer's and the tool launcher's tabs), icons (drive tabs) or
// bitmaps made at run time (capture thumbnails). The strip owns its image list and tells its
// owner when the user picks another tab.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "shell/controls/parent_hook_win.h"

class CImageTabStrip {
public:
    static constexpr int kImageSize = 16;
    // Called with the newly selected tab after the user chose it (not after Select).
    using SelectionCallback = std::function<void(int tab)>;

    CImageTabStrip() = default;
    ~CImageTabStrip();
    CImageTabStrip(const CImageTabStrip&) = delete;
    CImageTabStrip& operator=(const CImageTabStrip&) = delete;

    // Creates a tab control as child `id` of `parent`.
    bool Create(HWND parent, UINT id, const RECT& rect);
    // Takes a tab control that a dialog template created.
    bool Attach(HWND tabControl);
    HWND Hwnd() const { return m_tabs; }
    void SetSelectionCallback(SelectionCallback callback) { m_onSelect = std::move(callback); }

    // Images. Each returns the new image's index, or -1 when it cannot be added.
    // A 16 x 16 bitmap resource of the program; its pixels of colour `key` stay transparent.
    int AddBitmapResource(UINT bitmapId, COLORREF key);
    // A bitmap (copied: the caller keeps it); CLR_NONE draws every pixel.
    int AddBitmap(HBITMAP bitmap, COLORREF key = CLR_NONE);
    int AddIcon(HICON icon);
    bool ReplaceImage(int image, HBITMAP bitmap);
    // Removes an image; tabs showing later images keep showing theirs.
    void RemoveImage(int image);
    int ImageCount() const;
    HIMAGELIST Images() const { return m_images; }

    // Tabs. Each returns the new tab's index, or -1.
    int AddTab(const std::string& text, int image);
    // A tab titled with string `textId` showing bitmap resource `bitmapId` keyed by `key`.
    int AddTab(UINT textId, UINT bitmapId, COLORREF key);
    int InsertTab(int position, const std::string& text, int image);
    bool RemoveTab(int tab);
    void RemoveAllTabs();
    int Count() const;
    std::string TabText(int tab) const;
    int TabImage(int tab) const;
    int Selection() const;
    bool Select(int tab);
    // The page area below the tabs, in the parent's client coordinates.
    RECT PageRect() const;

private:
    bool Prepare(HWND tabControl);
    std::optional<LRESULT> OnParentMessage(UINT message, LPARAM lParam);

    HWND m_tabs = nullptr;
    HIMAGELIST m_images = nullptr;
    CParentHook m_parentHook;
    SelectionCallback m_onSelect;
};
