// Windows build: texts from the executable's string table, in the chosen language.
// LoadString follows the thread locale only on older systems and under Wine; NT 6 and later pick
// the user-interface language instead. So the string block is found with FindResourceEx in the
// language of TextLanguage(), falling back to English.
#include "base/text.h"
#include "base/text_win.h"

#include <windows.h>

#include <optional>
#include <string_view>

namespace {

constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// String `id` of the block in `language`: each block holds 16 counted UTF-16 strings.
// Nothing when the block is missing, the text is empty, or the block is damaged.
std::optional<std::wstring_view> FindString(HMODULE module, unsigned id, WORD language)
{
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                  MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, block);
    const auto* p = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!p) return std::nullopt;
    const WCHAR* end = p + SizeofResource(module, block) / sizeof(WCHAR);
    for (unsigned i = 0; i < id % 16; ++i) {
        if (p >= end) return std::nullopt;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || *p > end - p - 1) return std::nullopt;
    return std::wstring_view(p + 1, *p);
}

}  // namespace

std::string LoadText(unsigned id)
{
    if (id > 0xFFFF) return {};
    HMODULE module = GetModuleHandleW(nullptr);
    std::optional<std::wstring_view> text = FindString(module, id, static_cast<WORD>(TextLanguage()));
    if (!text && TextLanguage() != kEnglish) text = FindString(module, id, kEnglish);
    if (!text) return {};
    const int wide = static_cast<int>(text->size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text->data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text->data(), wide, out.data(), n, nullptr, nullptr);
    return out;
}

unsigned SystemTextLanguage()
{
    const LANGID ui = GetUserDefaultUILanguage();
    return PRIMARYLANGID(ui) == LANG_FRENCH ? MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH) : kEnglish;
}

HRSRC FindResourceInTextLanguage(HMODULE module, LPCWSTR type, UINT id)
{
    const auto language = static_cast<WORD>(TextLanguage());
    if (HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), language)) return found;
    if (HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(id), kEnglish)) return found;
    return FindResourceW(module, MAKEINTRESOURCEW(id), type);
}

HMENU LoadMenuInTextLanguage(HMODULE module, UINT id)
{
    HRSRC found = FindResourceInTextLanguage(module, MAKEINTRESOURCEW(4) /* RT_MENU */, id);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* menu = loaded ? LockResource(loaded) : nullptr;
    return menu ? LoadMenuIndirectW(menu) : nullptr;
}
