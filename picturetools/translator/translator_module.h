#pragma once
// The pictures translator's entry in the program's module table (module 14).
#include <memory>

class CQnFormView;

std::unique_ptr<CQnFormView> CreateTranslatorView();
