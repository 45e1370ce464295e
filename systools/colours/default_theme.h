#pragma once
// The default theme: the theme text the module writes to "qndef.thm" in the temporary folder
// and applies to restore the default look (shell icons, colours, cursors, desktop, sounds,
// metrics with the font "MS Sans Serif").
#include <span>
#include <string>

constexpr int kDefaultThemeLines = 105;
inline constexpr const char* kDefaultThemeFileName = "qndef.thm";

std::span<const char* const, kDefaultThemeLines> DefaultTheme();
// The file's bytes: every line followed by CR LF.
std::string DefaultThemeFileText();
