#pragma once
// The data types' entry in the program's module table (module 12).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateDataTypeView();
