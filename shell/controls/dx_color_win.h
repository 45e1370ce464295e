#pragma once
// CDxColor: a colour button showing a swatch of its colour, hatched when it has none. A left
// click (or Space) opens the system colour dialog; a colour taken there becomes the
// control's colour and the change callback is called.
#include <windows.h>

#include "framework/window.h"

class CDxColor : public CWindow {
public:
    using ChangeCallback = void (*)(void* argument);

    bool CreateControl(HWND parent, UINT id, const RECT& rect, DWORD extraStyle = 0);
    // Takes over an existing control (for example one of a dialog template).
    bool AttachControl(HWND control) { return Subclass(control); }

    void SetColor(COLORREF color);
    void ClearColor(); // no colour: the swatch is hatched
    bool HasColor() const { return m_hasColor; }
    COLORREF Color() const { return m_color; }
    void SetChangeCallback(ChangeCallback callback, void* argument);

    // Opens the colour dialog as the click does; true when a colour was taken.
    bool ChooseNewColor();

    // The 16 custom colours of the colour dialog, shared by every colour control of the
    // process and kept for the whole run (all black at first).
    static COLORREF* CustomColors();

protected:
    WindowClassSpec ClassSpec() const override { return {"DxColor"}; }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc) const;

    COLORREF m_color = 0;
    bool m_hasColor = false;
    ChangeCallback m_callback = nullptr;
    void* m_argument = nullptr;
};
