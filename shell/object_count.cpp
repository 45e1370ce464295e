#include "shell/object_count.h"

#include "base/text.h"
#include "res/resource.h"

std::string ObjectCountText(int rows, int selected)
{
    if (selected <= 0)
        return FormatText(rows <= 1 ? IDS_OBJECT_COUNT_ONE : IDS_OBJECT_COUNT_MANY, std::to_string(rows));
    return FormatText(selected == 1 ? IDS_SELECTED_COUNT_ONE : IDS_SELECTED_COUNT_MANY, std::to_string(selected),
                      std::to_string(rows));
}
