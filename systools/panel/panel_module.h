#pragma once
// The online news panel's entry in the program's module table (module 18).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreatePanelView();
