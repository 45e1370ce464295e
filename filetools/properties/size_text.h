#pragma once
// Size texts of the file tools: the program's one set lives in base/.
#include "base/size_text.h"

inline std::string ThousandsText(uint64_t value) { return GroupThousands(value); }
