#include "tests/support/run_program.h"

#include "tests/support/temp_program_dir.h"

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace vornik::test {
namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace

ProgramRun runWithoutDisplay(const std::string& program, const std::vector<std::string>& arguments)
{
    const TempProgramDir outputs; // only a place for the two output files
    const std::string outPath = outputs.file("stdout");
    const std::string errPath = outputs.file("stderr");
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + shellQuoted(program);
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    command += " >" + shellQuoted(outPath) + " 2>" + shellQuoted(errPath);
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readFileBytes(outPath);
    run.err = readFileBytes(errPath);
    return run;
}

} // namespace vornik::test
