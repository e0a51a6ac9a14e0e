#pragma once
// Standard output of the command line in the encoding the user chose. The
// program's own texts are Shift-JIS and this file's literals UTF-8; both go
// out in the chosen encoding, through one buffer written in large pieces.

#include "cli/core/cli_options.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace vornik::cli {

class ConsoleOutput {
public:
    ConsoleOutput(std::ostream& out, OutputEncoding encoding);
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void sjis(std::string_view text);
    void utf8(std::string_view text);
    // Writes what is buffered; false when the stream refused it (a closed
    // pipe, a full disk).
    bool flush();

private:
    std::ostream& m_out;
    OutputEncoding m_encoding;
    std::string m_sjis; // Shift-JIS bytes waiting for conversion
    std::string m_ready; // bytes in the output encoding
    bool m_failed = false;
};

} // namespace vornik::cli
