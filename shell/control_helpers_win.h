#pragma once
// Small helpers over the standard controls that every module form uses.
#include <windows.h>

#include <string>

std::string WindowText(HWND window);
// Appends an item to a drop-down list with a number kept as its item data.
void AddComboItem(HWND combo, const std::string& text, int data);
// The item data of the selected item, or `none` without a selection.
int SelectedComboData(HWND combo, int none);
// Selects the item whose data is `data`, else the first item; false when `data` is not there.
bool SelectComboData(HWND combo, int data);
// Shows or hides the controls of `ids`.
void ShowControls(HWND form, std::initializer_list<int> ids, bool show);
