#pragma once
// The program's module table (app/module_table_win.cpp, part of quenta.exe only).
#include <span>

struct ModuleRow;

// The rows in button order.
std::span<const ModuleRow> ProgramModules();
// Hands the table to the shell; called once before the main window is created.
void InstallProgramModules();
