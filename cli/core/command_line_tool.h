#pragma once
// The program without its window: `vornik search`, `export`, `check`,
// `--help` and `--version`. Plain C++, so every one of them runs where no
// display exists; main() calls it before anything of Qt is created.

#include <iosfwd>
#include <string>
#include <vector>

namespace vornik {

// True when the arguments (after the program's name) ask for the command
// line rather than the window.
bool isCommandLineRequest(const std::vector<std::string>& arguments);

// Runs the command and returns the process's exit status. Arguments are
// UTF-8; `programDir` is the program's folder as the program spells paths
// (Shift-JIS), where vornik.ini is read unless --program-dir says otherwise.
int runCommandLine(const std::vector<std::string>& arguments, const std::string& programDir,
    std::ostream& out, std::ostream& err);

// What to say instead of starting the window when no display can be
// reached (UTF-8, Japanese and English).
std::string noDisplayMessage();

} // namespace vornik
