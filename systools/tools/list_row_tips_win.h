#pragma once
// A tip over a list view that names the row under the cursor (the launcher's program paths).
// A short timer follows the cursor: after it has rested half a second on a row, a tracking
// tooltip shows that row's text beside it and the status line shows it too; leaving the row
// hides both. The list's rows move with scrolling, so fixed tool rectangles would not do.
#include <windows.h>

#include <functional>
#include <string>

class CListRowTips {
public:
    using TextOfRow = std::function<std::string(int row)>;
    using StatusCallback = std::function<void(const std::string& text)>;

    CListRowTips() = default;
    ~CListRowTips();
    CListRowTips(const CListRowTips&) = delete;
    CListRowTips& operator=(const CListRowTips&) = delete;

    // Follows the cursor over `list`; the tip belongs to `owner`.
    bool Attach(HWND owner, HWND list, TextOfRow text, StatusCallback status = {});
    void Detach();
    // Hides the tip and forgets the row (the list was refilled).
    void Reset();
    // The tooltip window (for tests).
    HWND TipWindow() const { return m_tip; }

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Tick();
    int RowUnderCursor(POINT& cursor) const;
    void Hide();

    HWND m_owner = nullptr;
    HWND m_list = nullptr;
    HWND m_tip = nullptr;
    TextOfRow m_text;
    StatusCallback m_status;
    int m_row = -1;
    int m_wait = 0;
    bool m_shown = false;
};
