#pragma once
// The "Windows Colors" module's entry in the program's module table (module 4).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateWinColorView();
