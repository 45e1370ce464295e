// The build machine has no shell to name file types.
#include "filetools/properties/file_type_name.h"

std::string ShellTypeName(const std::string&) { return {}; }
