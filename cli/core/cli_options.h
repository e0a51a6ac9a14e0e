#pragma once
// The command line of the program's command-line half: which command, its
// criteria and options. Texts are as typed (UTF-8); turning them into the
// program's Shift-JIS happens when the command runs.

#include "app/core/search_criteria.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik::cli {

enum class Command { Window, Help, Version, Search, Export, Check, Plan };
enum class OutputFormat { Text, Tsv, Csv, Json };
enum class OutputEncoding { Utf8, Cp932 };
enum class ExportKind { Csv, Html, Ime };

struct Options {
    Command command = Command::Window;
    SearchInputs inputs; // UTF-8 here
    bool all = false;
    // --saved: the criteria of a search saved in the window (UTF-8 name).
    std::optional<std::string> savedSearch;
    OutputFormat format = OutputFormat::Text;
    OutputEncoding encoding = OutputEncoding::Utf8;
    std::optional<std::string> dataFile;
    std::optional<std::string> programDir;
    std::optional<ExportKind> exportKind;
    std::string exportPath;
    std::optional<std::string> checkFile;
    std::vector<std::string> planItems; // "名前", "名前×3" or "名前 3"
    std::vector<std::string> buyItems; // --buy: bought instead of crafted
};

struct ParsedOptions {
    Options options;
    std::string error; // UTF-8; empty when the arguments were understood
};

// The command named by the first argument: a subcommand, --help/-h or
// --version. Anything else (no argument, "/i=…", Qt's own options) is the
// window.
Command commandOf(const std::vector<std::string>& arguments);

// True for a non-empty text of the digits 0 to 9 alone.
bool isDecimalDigits(std::string_view text);

// Reads every argument after the command. Options take their value as the
// next argument or after "=" ("--name=鋼").
ParsedOptions parseOptions(const std::vector<std::string>& arguments);

} // namespace vornik::cli
