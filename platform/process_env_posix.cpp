#include "platform/process_env.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace vornik {
namespace {

std::string_view environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// The plugin named by "-platform NAME" (or "--platform"), else by
// QT_QPA_PLATFORM; options after a ':' are not part of the name.
std::string_view chosenPlatform(int argc, char* argv[])
{
    std::string_view name = environmentValue("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-platform" || argument == "--platform")
            name = argv[i + 1];
    }
    return name.substr(0, name.find(':'));
}

} // namespace

std::filesystem::path executablePath()
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

std::vector<std::string> utf8Arguments(int argc, char* argv[])
{
    // The terminals this program meets pass UTF-8.
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

bool displayAvailable(int argc, char* argv[])
{
#ifdef __APPLE__
    (void)argc;
    (void)argv;
    return true;
#else
    const std::string_view platform = chosenPlatform(argc, argv);
    const bool x11 = !environmentValue("DISPLAY").empty();
    const bool wayland = !environmentValue("WAYLAND_DISPLAY").empty();
    if (platform.empty())
        return x11 || wayland;
    if (platform == "xcb")
        return x11;
    if (platform.starts_with("wayland"))
        return wayland;
    // offscreen, minimal, vnc, eglfs, linuxfb and the like draw without a
    // display server.
    return true;
#endif
}

void prepareConsoleOutput()
{
}

} // namespace vornik
