#include "systools/misc/tips_store.h"

#include "systools/misc/stored_value.h"

namespace {
ValueAddress TipValue(size_t index) { return {RegRoot::LocalMachine, kTipsKey, std::to_string(index)}; }
} // namespace

std::vector<std::string> ReadTips()
{
    std::vector<std::string> tips;
    while (tips.size() + 1 < kMaxTips) {
        std::string text = ReadStoredValue(TipValue(tips.size())).TextOr("");
        if (text.empty())
            break;
        tips.push_back(std::move(text));
    }
    tips.emplace_back();
    return tips;
}

void WriteTips(const std::vector<std::string>& tips, const std::vector<std::string>& opened)
{
    for (size_t i = 0; i < tips.size(); ++i)
        if (tips[i] != (i < opened.size() ? opened[i] : std::string()))
            WriteStoredValue(TipValue(i), StoredValue::Text(tips[i]));
}

void ReplaceTip(std::vector<std::string>& tips, size_t index, const std::string& text)
{
    if (index >= tips.size())
        return;
    tips[index] = text;
    if (index + 1 == tips.size() && !text.empty() && tips.size() < kMaxTips)
        tips.emplace_back();
}
