#pragma once
// A batch run of the pictures translator: the working window shows it, the user is asked
// before an existing file is overwritten, and Cancel stops it at the next check.
#include <windows.h>

#include <string>
#include <vector>

#include "picturetools/translator/batch_convert.h"

BatchSummary RunTranslatorBatch(HWND owner, const std::vector<std::string>& sources, const ConvertSettings& settings);
