#pragma once
// Reading back the lines and fields of a file a test made the program write.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vornik::test {

// The pieces of text between separators, and after the last separator the
// rest, empty when the text ends with one: "a,b," gives "a", "b", "".
std::vector<std::string> split(std::string_view text, std::string_view separator);

// The fields of a data-file line. A comma is never the second byte of a
// Shift-JIS character, so splitting the bytes is safe.
std::vector<std::string> fieldsOf(std::string_view line);

// The lines of a file whose every line ends in CR LF, without their line
// ends. A last line without CR LF comes back with "<no line end>" after it,
// so that it equals no line a test expects.
std::vector<std::string> crlfLines(std::string_view bytes);

// crlfLines of a file's bytes; none when the file is missing.
std::vector<std::string> fileLines(const std::filesystem::path& path);

} // namespace vornik::test
