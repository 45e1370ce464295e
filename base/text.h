#pragma once
// Every user-visible text comes from the string table by id, in the chosen language
// (English or French), falling back to English.
#include <initializer_list>
#include <string>

// The text of string `id`, or an empty text when the table has none.
std::string LoadText(unsigned id);

// printf-style formatting of a loaded text with string arguments ("%s" and "%d" conversions
// are both filled from the argument list in order; extra conversions stay empty).
std::string FormatText(unsigned id, const std::string& arg1 = {}, const std::string& arg2 = {});
// The same filling for a pattern in hand: "%s" and "%d" take the arguments in order (missing
// ones stay empty), "%%" gives "%".
std::string FillConversions(const std::string& pattern, std::initializer_list<std::string> arguments);

// Language of the texts: 0x0409 English, 0x040C French. SetLanguage sets the thread locale on
// Windows and calls this; LoadText finds each text in this language, falling back to English.
// Until a language is chosen, the system's stands (SystemTextLanguage).
void SetTextLanguage(unsigned langId);
unsigned TextLanguage();

// The user's own language where texts exist for it: French on a French system (Windows: the
// user-interface language), English otherwise and in the native build.
unsigned SystemTextLanguage();
