#include "app/core/command_line.h"

#include "platform/sjis_text.h"

namespace vornik {

std::optional<std::string> searchNameFromArguments(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        line += argument;
    }
    const std::size_t at = sjis::find(line, "/i=");
    if (at == std::string::npos)
        return std::nullopt;
    return line.substr(at + 3);
}

} // namespace vornik
