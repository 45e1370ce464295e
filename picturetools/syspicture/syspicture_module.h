#pragma once
// The system pictures' entry in the program's module table (module 1).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateSysPictureView();
