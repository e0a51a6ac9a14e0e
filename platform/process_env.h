#pragma once
// What the command line needs to know about its own process: where the
// program file is, whether a window could be shown, and how to hand bytes
// to the console unchanged.

#include <filesystem>
#include <string>
#include <vector>

namespace vornik {

// The running program's own file; empty when the platform cannot tell.
std::filesystem::path executablePath();

// The arguments after the program's name as UTF-8.
std::vector<std::string> utf8Arguments(int argc, char* argv[]);

// Whether Qt can reach a display: false on X11/Wayland systems when the
// chosen platform plugin (the "-platform" argument, else QT_QPA_PLATFORM,
// else the desktop's own) needs a display server that none of DISPLAY and
// WAYLAND_DISPLAY names. Qt itself aborts the process in that case.
bool displayAvailable(int argc, char* argv[]);

// Standard output and error write bytes as given (no line-end translation)
// and, where the program has no console of its own, reach the console it
// was started from.
void prepareConsoleOutput();

} // namespace vornik
