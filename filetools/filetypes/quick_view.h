#pragma once
// The system's quick viewer: the program registered under the class root's
// "QuickView\shell\open\command\" key.
#include <string>

class CRegistryAccess;

// The registered viewer program with "%SystemRoot%" (any case) expanded; empty when none.
std::string QuickViewProgram(CRegistryAccess& registry, const std::string& windowsFolder);

// Shows `path` in the quick viewer when its program exists (Windows): started with the short
// forms of the program and the path. False when there is no viewer.
bool QuickView(const std::string& path);
