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

std::optional<std::string> savedSearchFromArguments(const std::vector<std::string>& arguments)
{
    constexpr std::string_view kOption = "--saved";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == kOption && i + 1 < arguments.size())
            return arguments[i + 1];
        if (argument.starts_with(kOption) && argument.size() > kOption.size()
            && argument[kOption.size()] == '=')
            return argument.substr(kOption.size() + 1);
    }
    return std::nullopt;
}

} // namespace vornik
