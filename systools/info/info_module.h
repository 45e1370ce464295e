#pragma once
// The information modules' entries in the program's module table: Windows information
// (module 2), system information (module 7) and fonts (module 10).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateWindowsInfoView();
std::unique_ptr<CQnFormView> CreateSystemInfoView();
std::unique_ptr<CQnFormView> CreateFontsView();
