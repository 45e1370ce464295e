#pragma once
// The type name the shell gives a file ("Text Document"), for lists and the properties dialog.
#include <string>

// The shell's type name of `path`; for a path that does not exist, that of a one-byte
// placeholder "ostreltemporaryfile.<extension>" in the system temporary folder (so the name
// follows the extension). "Unknown" (string table) when the shell gives none.
std::string GetFileTypeName(const std::string& path);

// The platform part: the shell's own answer, empty when it has none (file_type_name_win.cpp;
// the native build has no shell and answers empty).
std::string ShellTypeName(const std::string& path);

// The extension of the path's file name without its dot ("" when none): "a.b\c.TXT" gives "TXT".
std::string ExtensionOf(const std::string& path);
