#include "tests/support/file_lines.h"

#include "tests/support/temp_program_dir.h"

namespace vornik::test {

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        pieces.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return pieces;
        start = end + separator.size();
    }
}

std::vector<std::string> fieldsOf(std::string_view line)
{
    return split(line, ",");
}

std::vector<std::string> crlfLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(std::string(bytes.substr(start)) + "<no line end>");
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> fileLines(const std::filesystem::path& path)
{
    return crlfLines(readFileBytes(path));
}

} // namespace vornik::test
