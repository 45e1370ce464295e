#pragma once
// Windows build: other resources in the language of the texts. LoadMenu, DialogBox and the like
// follow the system's user-interface language on NT 6 and later, not the thread locale, so
// windows that must switch with SetLanguage take their templates from here.
#include <windows.h>

// Resource `id` of `type` in TextLanguage(), else in English, else in any language present.
HRSRC FindResourceInTextLanguage(HMODULE module, LPCWSTR type, UINT id);

// Menu `id` in the language of the texts (nullptr when missing); the caller destroys it.
HMENU LoadMenuInTextLanguage(HMODULE module, UINT id);
