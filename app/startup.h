#pragma once
// The decisions of start-up that need no window: the command-line switch, the run kind and
// program path, and the display depth.
#include <cstdint>
#include <string>

enum class CommandSwitch { None, Install, Uninstall, Debug, FirstTime };
enum class RunKind { Toolbox, Install, Uninstall };

// The arguments part of a whole process command line: the program name (quoted or not) and
// the blanks after it removed.
std::string CommandLineArguments(const std::string& processCommandLine);

// The switch the whole argument text is, compared in any letter case; surrounding blanks do
// not count, any other text ("/INSTALL now") is no switch.
CommandSwitch ParseCommandSwitch(const std::string& arguments);

struct StartDecision {
    RunKind kind = RunKind::Toolbox;
    std::string programPath;
};

// Without a switch the install record (when it names a readable file) is the program path;
// with no usable record the program installs itself from where it runs. "/DEBUG" runs the
// toolbox from the running executable whatever the record says.
StartDecision DecideStart(CommandSwitch commandSwitch, const std::string& runningExecutable,
                          const std::string& installRecord, bool installRecordReadable);

// Bits per pixel of the display. A 16-bit display is 16 (5-6-5) when a white pixel drawn
// into a compatible bitmap reads back as 0xFFFF, otherwise 15 (5-5-5).
int DisplayDepthFromProbe(int bitsPerPixel, uint16_t whitePixelWord);
