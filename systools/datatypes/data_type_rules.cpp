#include "systools/datatypes/data_type_rules.h"

#include <cmath>

std::string NormaliseExtension(const std::string& text)
{
    const size_t dot = text.find('.');
    return dot == std::string::npos ? "." + text : text.substr(dot);
}

bool IsUsableExtension(const std::string& extension)
{
    return extension.size() > 1 && extension[0] == '.' && extension.find('\\') == std::string::npos;
}

size_t FillStepWidth(size_t keyCount)
{
    return static_cast<size_t>(std::sqrt(static_cast<double>(keyCount)) + 1.0);
}

std::string WithUpperFirstLetter(std::string description)
{
    // Only a to z: other bytes (braces, accented letters) have no upper case 32 below them.
    if (!description.empty() && description[0] >= 'a' && description[0] <= 'z')
        description[0] = static_cast<char>(description[0] - 32);
    return description;
}

std::string NewTypeKeyName(const std::string& extension)
{
    return "Quenta_" + (extension.empty() || extension[0] != '.' ? extension : extension.substr(1)) + "_file";
}

std::string DefaultIconKey(const std::string& typeKey) { return typeKey + "DefaultIcon\\"; }

std::string OpenCommandKey(const std::string& typeKey) { return typeKey + "Shell\\Open\\Command\\"; }

