#include "filetools/finder/combo_history_win.h"

#include <vector>

#include "filetools/finder/finder_settings.h"
#include "shell/control_helpers_win.h"

namespace {
std::vector<std::string> ComboTexts(HWND combo)
{
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        if (length == CB_ERR)
            continue;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        texts.push_back(std::move(text));
    }
    return texts;
}
} // namespace

void LoadComboHistory(const std::string& section, HWND combo)
{
    for (const std::string& text : HistoryTextsToAdd(ReadComboHistory(section), ComboTexts(combo)))
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SaveComboHistory(const std::string& section, HWND combo) { PushComboHistory(section, WindowText(combo)); }
