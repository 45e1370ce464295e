#include "framework/dialog_template.h"

#include <cstring>

CDialogTemplate::CDialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy,
                                 const std::string& title, WORD pointSize, const std::string& face)
{
    DLGTEMPLATE header{};
    header.style = style | DS_SETFONT;
    header.dwExtendedStyle = exStyle;
    header.x = x;
    header.y = y;
    header.cx = cx;
    header.cy = cy;
    m_bytes.resize(sizeof header);
    std::memcpy(m_bytes.data(), &header, sizeof header);
    AddWord(0); // no menu
    AddWord(0); // standard dialog class
    AddText(title);
    AddWord(pointSize);
    AddText(face);
}

void CDialogTemplate::AlignTo(size_t boundary)
{
    while (m_bytes.size() % boundary)
        m_bytes.push_back(0);
}

void CDialogTemplate::AddWord(WORD value)
{
    m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void CDialogTemplate::AddText(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    for (int i = 0; i < length; ++i)
        AddWord(static_cast<WORD>(wide[i]));
    AddWord(0);
}

void CDialogTemplate::AddItemHeader(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id)
{
    AlignTo(4);
    DLGITEMTEMPLATE item{};
    item.style = style;
    item.dwExtendedStyle = exStyle;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    const size_t at = m_bytes.size();
    m_bytes.resize(at + sizeof item);
    std::memcpy(m_bytes.data() + at, &item, sizeof item);
    // Item count lives in the template header.
    auto* header = reinterpret_cast<DLGTEMPLATE*>(m_bytes.data());
    header->cdit++;
}

void CDialogTemplate::AddControl(WORD classAtom, const std::string& text, WORD id, DWORD style, short x, short y,
                                 short cx, short cy, DWORD exStyle)
{
    AddItemHeader(style, exStyle, x, y, cx, cy, id);
    AddWord(0xFFFF);
    AddWord(classAtom);
    AddText(text);
    AddWord(0); // no creation data
}

void CDialogTemplate::AddControl(const std::string& className, const std::string& text, WORD id, DWORD style,
                                 short x, short y, short cx, short cy, DWORD exStyle)
{
    AddItemHeader(style, exStyle, x, y, cx, cy, id);
    AddText(className);
    AddText(text);
    AddWord(0);
}
