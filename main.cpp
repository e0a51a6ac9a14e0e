#include "app/vornik_app.h"
#include "cli/core/command_line_tool.h"
#include "platform/native_path.h"
#include "platform/process_env.h"

#include <iostream>

int main(int argc, char* argv[])
{
    // The command line runs before anything of Qt exists: it needs no
    // display, and Qt would take its options for its own.
    const std::vector<std::string> arguments = vornik::utf8Arguments(argc, argv);
    if (vornik::isCommandLineRequest(arguments)) {
        vornik::prepareConsoleOutput();
        std::ios::sync_with_stdio(false);
        const std::string programDir = vornik::programPath(vornik::executablePath().parent_path());
        return vornik::runCommandLine(arguments, programDir, std::cout, std::cerr);
    }
    // Qt aborts the process (a core dump) when it finds no display.
    if (!vornik::displayAvailable(argc, argv)) {
        vornik::prepareConsoleOutput();
        std::cerr << vornik::noDisplayMessage();
        return 2;
    }
    return vornik::CVornikApp::run(argc, argv);
}
