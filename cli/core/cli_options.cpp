#include "cli/core/cli_options.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace vornik::cli {
namespace {

// "N" (exactly N), "N-M", "N-" (from N), "-M" (up to M).
bool readLevelRange(std::string_view text, SearchInputs& inputs)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        if (!isDecimalDigits(text))
            return false;
        inputs.levelFrom = inputs.levelTo = std::string(text);
        return true;
    }
    const std::string_view from = text.substr(0, dash);
    const std::string_view to = text.substr(dash + 1);
    if ((from.empty() && to.empty()) || (!from.empty() && !isDecimalDigits(from))
        || (!to.empty() && !isDecimalDigits(to)))
        return false;
    inputs.levelFrom = std::string(from);
    inputs.levelTo = std::string(to);
    return true;
}

template <typename Enum, std::size_t N>
std::optional<Enum> lookUp(
    const std::array<std::pair<std::string_view, Enum>, N>& table, std::string_view name)
{
    for (const auto& [text, value] : table) {
        if (text == name)
            return value;
    }
    return std::nullopt;
}

constexpr std::array<std::pair<std::string_view, Command>, 7> kCommands { {
    { "search", Command::Search },
    { "plan", Command::Plan },
    { "export", Command::Export },
    { "check", Command::Check },
    { "--help", Command::Help },
    { "-h", Command::Help },
    { "--version", Command::Version },
} };

constexpr std::array<std::pair<std::string_view, OutputFormat>, 4> kFormats { {
    { "text", OutputFormat::Text },
    { "tsv", OutputFormat::Tsv },
    { "csv", OutputFormat::Csv },
    { "json", OutputFormat::Json },
} };

constexpr std::array<std::pair<std::string_view, OutputEncoding>, 4> kEncodings { {
    { "utf-8", OutputEncoding::Utf8 },
    { "utf8", OutputEncoding::Utf8 },
    { "cp932", OutputEncoding::Cp932 },
    { "shift_jis", OutputEncoding::Cp932 },
} };

constexpr std::array<std::pair<std::string_view, ExportKind>, 3> kExportKinds { {
    { "--csv", ExportKind::Csv },
    { "--html", ExportKind::Html },
    { "--ime", ExportKind::Ime },
} };

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments)
        : m_arguments(arguments)
    {
        m_result.options.command = commandOf(arguments);
    }

    ParsedOptions run()
    {
        for (m_next = 1; m_next < m_arguments.size() && m_result.error.empty();)
            readOne(m_arguments[m_next++]);
        if (m_result.error.empty())
            checkCombination();
        return std::move(m_result);
    }

private:
    void fail(std::string text) { m_result.error = std::move(text); }

    // The value of an option: after "=" in the same argument, else the next
    // argument.
    std::optional<std::string> value(std::string_view name, const std::optional<std::string>& inlineValue)
    {
        if (inlineValue)
            return inlineValue;
        if (m_next < m_arguments.size())
            return m_arguments[m_next++];
        fail("オプション " + std::string(name) + " には値が必要です。");
        return std::nullopt;
    }

    bool readCriterion(std::string_view name, const std::optional<std::string>& inlineValue)
    {
        Options& o = m_result.options;
        const std::array<std::pair<std::string_view, std::string*>, 6> texts { {
            { "--name", &o.inputs.name },
            { "--skill", &o.inputs.skill },
            { "--rank", &o.inputs.rank },
            { "--crystal", &o.inputs.crystal },
            { "--class", &o.inputs.itemClass },
            { "--job", &o.inputs.job },
        } };
        for (const auto& [option, target] : texts) {
            if (name == option) {
                if (const std::optional<std::string> text = value(name, inlineValue))
                    *target = *text;
                return true;
            }
        }
        if (name == "--level") {
            const std::optional<std::string> text = value(name, inlineValue);
            if (text && !readLevelRange(*text, o.inputs))
                fail("--level には N、N-M、N-、-M の形でレベルを指定してください: " + *text);
            return true;
        }
        const std::array<std::pair<std::string_view, bool*>, 4> flags { {
            { "--materials", &o.inputs.includeMaterials },
            { "--exact", &o.inputs.exactOnly },
            { "--memo", &o.inputs.includeMemo },
            { "--all", &o.all },
        } };
        for (const auto& [option, target] : flags) {
            if (name == option) {
                *target = true;
                return true;
            }
        }
        return false;
    }

    template <typename Enum, std::size_t N>
    void readChoice(std::string_view name, const std::optional<std::string>& inlineValue,
        const std::array<std::pair<std::string_view, Enum>, N>& table, Enum& target)
    {
        const std::optional<std::string> text = value(name, inlineValue);
        if (!text)
            return;
        if (const std::optional<Enum> choice = lookUp(table, *text))
            target = *choice;
        else
            fail(std::string(name) + " の値が正しくありません: " + *text);
    }

    void readOne(const std::string& argument)
    {
        Options& o = m_result.options;
        if (argument == "--help" || argument == "-h") {
            o.command = Command::Help;
            return;
        }
        if (!argument.starts_with("-")) {
            // The one plain argument a command takes.
            if (o.command == Command::Check && !o.checkFile)
                o.checkFile = argument;
            else if (o.command == Command::Plan)
                o.planItems.push_back(argument);
            else
                fail("余分な引数があります: " + argument);
            return;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const std::optional<std::string> inlineValue
            = equals == std::string::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
        if (name == "--data") {
            o.dataFile = value(name, inlineValue);
        } else if (name == "--saved" && o.command != Command::Check) {
            o.savedSearch = value(name, inlineValue);
        } else if (name == "--program-dir") {
            o.programDir = value(name, inlineValue);
        } else if (name == "--encoding") {
            readChoice(name, inlineValue, kEncodings, o.encoding);
        } else if (o.command == Command::Plan && name == "--buy") {
            if (const std::optional<std::string> item = value(name, inlineValue))
                o.buyItems.push_back(*item);
        } else if ((o.command == Command::Search || o.command == Command::Plan) && name == "--format") {
            readChoice(name, inlineValue, kFormats, o.format);
        } else if (o.command == Command::Export && lookUp(kExportKinds, name)) {
            if (o.exportKind)
                fail("--csv、--html、--ime はどれか一つだけ指定してください。");
            o.exportKind = lookUp(kExportKinds, name);
            if (const std::optional<std::string> path = value(name, inlineValue))
                o.exportPath = *path;
        } else if (o.command == Command::Check || o.command == Command::Plan
            || !readCriterion(name, inlineValue)) {
            fail("不明なオプションです: " + argument);
        }
    }

    void checkCombination()
    {
        const Options& o = m_result.options;
        if (o.command == Command::Help)
            return;
        if (o.command == Command::Plan && o.planItems.empty()) {
            fail("作るアイテムの名前を指定してください（例: vornik plan \"名前×3\"）。");
            return;
        }
        if (o.command == Command::Export && !o.exportKind) {
            fail("--csv、--html、--ime のどれかで出力ファイルを指定してください。");
            return;
        }
        if (o.command == Command::Export && o.exportKind == ExportKind::Ime) {
            // The dictionary holds every recipe; criteria would be ignored.
            if (o.all || o.savedSearch || hasAnyCriterion(o.inputs) || o.inputs.includeMaterials
                || o.inputs.exactOnly || o.inputs.includeMemo)
                fail("--ime はすべてのレシピを出力します。検索条件は指定できません。");
            return;
        }
        if (o.command != Command::Search && o.command != Command::Export)
            return;
        const bool criterionGiven = hasAnyCriterion(o.inputs) || o.inputs.includeMaterials
            || o.inputs.exactOnly || o.inputs.includeMemo;
        if (o.savedSearch && (o.all || criterionGiven))
            fail("--saved と --all、検索条件は一緒に指定できません。");
        else if (o.savedSearch)
            return;
        if (o.all && criterionGiven)
            fail("--all と検索条件は一緒に指定できません。");
        else if (!o.all && !hasAnyCriterion(o.inputs))
            fail("検索条件を指定してください。\nすべてのレシピを表示する場合は --all を指定してください。");
    }

    const std::vector<std::string>& m_arguments;
    std::size_t m_next = 1;
    ParsedOptions m_result;
};

} // namespace

bool isDecimalDigits(std::string_view text)
{
    return !text.empty()
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Command commandOf(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return Command::Window;
    return lookUp(kCommands, arguments.front()).value_or(Command::Window);
}

ParsedOptions parseOptions(const std::vector<std::string>& arguments)
{
    return Parser(arguments).run();
}

} // namespace vornik::cli
