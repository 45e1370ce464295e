#pragma once
// The explorer's entry in the program's module table (module 13).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateExplorerView();
