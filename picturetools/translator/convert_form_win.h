#pragma once
// The pictures translator's form, built in memory with the texts of the current language.
#include <memory>

class CDialogTemplate;

std::unique_ptr<CDialogTemplate> BuildConvertForm();
