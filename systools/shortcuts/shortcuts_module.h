#pragma once
// The applications shortcuts' entry in the program's module table (module 17).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateShortcutsView();
