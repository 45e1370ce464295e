#pragma once
// CDxCombo: an owner-drawn combo box whose items carry an icon and a data value. The icons
// stay the caller's; the combo box only draws them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/window.h"
#include "shell/controls/parent_hook_win.h"

class CDxCombo : public CWindow {
public:
    ~CDxCombo() override;

    // `style` chooses the kind: CBS_DROPDOWN (text can be typed) or CBS_DROPDOWNLIST; the
    // rectangle's height includes the drop-down list.
    bool CreateControl(HWND parent, UINT id, const RECT& rect, DWORD style = CBS_DROPDOWN);

    // Adds an item at the end (or in order with CBS_SORT); returns its index, -1 on failure.
    int AddItem(const std::string& text, LPARAM data, HICON icon = nullptr);
    // Index of the item with exactly this text, ignoring letter case; -1 when none.
    int FindItem(const std::string& text) const;
    int Count() const;
    void Clear();
    std::string ItemText(int index) const;
    LPARAM ItemData(int index) const;

    int Selection() const;
    void Select(int index);
    // The data of the selected item, or nothing when no item is selected.
    std::optional<LPARAM> SelectedData() const;
    // The edit field's text: the selected item's text, or what was typed.
    std::string CurrentText() const { return Text(); }

private:
    struct Item {
        LPARAM data;
        HICON icon;
    };
    std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    const Item* RecordOf(int index) const;

    UINT m_id = 0;
    CParentHook m_parentHook;
    std::vector<Item> m_items; // records; a list item's item data is its record's index
};
