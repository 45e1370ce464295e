#pragma once
// Module 0: the product information panel (its row in the program's module table).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateStartPanelView();
