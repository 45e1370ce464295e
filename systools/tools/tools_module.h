#pragma once
// The tool launcher's entry in the program's module table (module 5).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateToolsView();
