#pragma once
// The program a command line starts, as the registry stores commands ("C:\Program Files\x.exe" /u,
// %SystemRoot%\notepad.exe %1, MsiExec.exe /X{...}).
#include <functional>
#include <string>

using FileExistsCheck = std::function<bool(const std::string& path)>;

// "%SystemRoot%" (any case) becomes `windowsFolder`; a leading double quote is dropped and every
// other double quote becomes a blank. When the whole text names an existing file, that is the
// program; otherwise the text up to and including the first ".exe" (any case) that a blank
// follows; otherwise empty.
std::string ProgramFromCommandLine(const std::string& command, const std::string& windowsFolder,
                                   const FileExistsCheck& fileExists);

// "%SystemRoot%" (any case) becomes `windowsFolder`, and every "/dde" (any case) is removed.
std::string CommandWithoutDde(const std::string& command, const std::string& windowsFolder);
