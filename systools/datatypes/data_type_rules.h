#pragma once
// The small rules of data types: how a typed extension addresses its key, how the fill steps
// its progress, how a type name is shown and what a new type's key is called.
#include <cstddef>
#include <string>

// The extension key a typed text addresses: from its first dot on ("a.b" -> ".b", ".txt"
// stays), or the text with a dot in front ("txt" -> ".txt").
std::string NormaliseExtension(const std::string& text);

// Whether a normalised extension can name one key directly below the class root: something
// after the dot and no key separator. Anything else would write to another key than the one
// the user named.
bool IsUsableExtension(const std::string& extension);

// Progress is reported every trunc(sqrt(n) + 1) keys of n.
size_t FillStepWidth(size_t keyCount);

// A type name as the list shows it: its first letter raised to upper case.
std::string WithUpperFirstLetter(std::string description);

// The key of a type the program creates: "Quenta_%s_file" with the extension without its dot.
std::string NewTypeKeyName(const std::string& extension);

// Key paths below a type key ("Quenta_abc_file\", always ending with "\").
std::string DefaultIconKey(const std::string& typeKey);
std::string OpenCommandKey(const std::string& typeKey);

