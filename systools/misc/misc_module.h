#pragma once
// The Misc module's entry in the program's module table (module 6).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateMiscView();
