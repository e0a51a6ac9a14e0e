#pragma once
// Running the built program as a user runs it from a shell, without a
// display, and collecting what it printed.

#include <string>
#include <vector>

namespace vornik::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` (each passed as one argument) and DISPLAY
// and WAYLAND_DISPLAY removed from its environment.
ProgramRun runWithoutDisplay(const std::string& program, const std::vector<std::string>& arguments);

} // namespace vornik::test
