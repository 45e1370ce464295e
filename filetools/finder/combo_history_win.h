#pragma once
// The text history of an editable combo box in the settings store: values "File0" (newest)
// to "File9" of a section.
#include <windows.h>

#include <string>

// Adds each non-empty history text that the combo box does not hold yet, newest first.
void LoadComboHistory(const std::string& section, HWND combo);
// Moves every value one place down (the oldest is lost) and stores the combo's current text as
// the newest.
void SaveComboHistory(const std::string& section, HWND combo);
