#pragma once
// Command line of "qnpic convert".
#include <string>
#include <vector>

struct ConvertCommand {
    std::string to;       // codec short name
    int depth = 0;        // 0 keeps each picture's depth
    bool option = true;   // the codec's write option
    int quality = -1;     // 1..100, -1 when not given
    bool overwrite = false;
    int jobs = 0;         // worker processes; 0 picks one per processor
    std::string output;
    std::vector<std::string> inputs;
};

// Parses the arguments after "convert"; false with a message in `error` on a usage error.
bool ParseConvertCommand(const std::vector<std::string>& args, ConvertCommand& command, std::string& error);
