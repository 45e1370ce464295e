#pragma once
// The uninstaller's entry in the program's module table (module 9).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateUninstallView();
