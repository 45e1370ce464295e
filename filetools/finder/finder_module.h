#pragma once
// The finder's entry in the program's module table (module 8).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateFinderView();
