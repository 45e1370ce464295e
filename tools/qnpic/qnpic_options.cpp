#include "tools/qnpic/qnpic_options.h"

#include <cstdlib>

namespace {

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 6)
        return false;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0')
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseSwitch(const std::string& text, const char* on, const char* off, bool& value)
{
    if (text == on) {
        value = true;
        return true;
    }
    if (text == off) {
        value = false;
        return true;
    }
    return false;
}

} // namespace

bool ParseConvertCommand(const std::vector<std::string>& args, ConvertCommand& command, std::string& error)
{
    bool endOfOptions = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (endOfOptions || arg.empty() || arg[0] != '-' || arg == "-") {
            command.inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            endOfOptions = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "option " + arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--to") {
            command.to = value;
        } else if (arg == "--depth") {
            int d = -1;
            if (!ParseInt(value, d) || (d != 0 && d != 1 && d != 2 && d != 4 && d != 8 && d != 24 && d != 32)) {
                error = "--depth must be 0, 1, 2, 4, 8, 24 or 32";
                return false;
            }
            command.depth = d;
        } else if (arg == "--option") {
            if (!ParseSwitch(value, "on", "off", command.option)) {
                error = "--option must be on or off";
                return false;
            }
        } else if (arg == "--quality") {
            int q = 0;
            if (!ParseInt(value, q) || q < 1 || q > 100) {
                error = "--quality must be a number from 1 to 100";
                return false;
            }
            command.quality = q;
        } else if (arg == "--overwrite") {
            if (!ParseSwitch(value, "yes", "no", command.overwrite)) {
                error = "--overwrite must be yes or no";
                return false;
            }
        } else if (arg == "--jobs") {
            int j = 0;
            if (!ParseInt(value, j) || j < 1 || j > 64) {
                error = "--jobs must be a number from 1 to 64";
                return false;
            }
            command.jobs = j;
        } else if (arg == "-o" || arg == "--output") {
            command.output = value;
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    if (command.to.empty()) {
        error = "convert needs --to SHORT (see qnpic formats)";
        return false;
    }
    if (command.output.empty()) {
        error = "convert needs -o OUT";
        return false;
    }
    if (command.inputs.empty()) {
        error = "convert needs at least one input file";
        return false;
    }
    return true;
}
