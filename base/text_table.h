#pragma once
// Texts of the native build: tables generated from the .rc string tables at build time
// (make_text_table.cmake), one per language, each sorted by id. Texts are in the ANSI code page
// (Windows-1252), as LoadText gives them on Windows.
#include <span>

struct TextEntry {
    unsigned id;
    const char* text;
};

struct TextTables {
    std::span<const TextEntry> english;
    std::span<const TextEntry> french;
};

// The program's own texts (strings_en.rc and strings_fr.rc).
extern const TextTables kQuentaTexts;

// The text of `id` in `langId` (0x040C French, anything else English), falling back to English
// when the language has no text for it; nullptr when neither has.
const char* LookupText(const TextTables& tables, unsigned id, unsigned langId);
