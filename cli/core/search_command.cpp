#include "cli/core/search_command.h"

#include "app/core/scan.h"
#include "cli/core/table_output.h"
#include "output/core/csv_export.h"
#include "output/core/html_export.h"
#include "output/core/ime_dictionary.h"
#include "storage/data_file.h"

#include <vector>

namespace vornik::cli {
namespace {

// The rows the window would list for these criteria, in its order: the
// scan, then (for a search, not for "all") the search's two sort passes as
// a fresh window does them. False after telling the user.
bool findRows(
    Session& session, const Options& options, const SearchInputs& inputs, std::vector<ResultRow>& rows)
{
    StorageError error;
    if (!scanForMatches(readCriteria(inputs), session.layout(), rows, error)) {
        session.reportOpenError();
        return false;
    }
    // A read error part way through must not pass for a complete result.
    if (error.failed()) {
        session.errorSjis(error.text);
        return false;
    }
    if (!options.all)
        sortAfterSearch(rows, session.layout(), !inputs.skill.empty());
    return true;
}

int exportTable(Session& session, const Options& options)
{
    const std::optional<SearchInputs> inputs = session.searchInputs();
    const std::optional<std::string> path = session.programPath(options.exportPath);
    if (!inputs || !path)
        return kExitError;
    std::vector<ResultRow> rows;
    if (!findRows(session, options, *inputs, rows))
        return kExitError;
    const std::vector<std::string> headings = session.layout().headings();
    const DisplayedTable table { headings, rows };
    std::string error;
    bool written = false;
    if (options.exportKind == ExportKind::Csv) {
        written = writeCsvFile(table, *path, error);
    } else {
        TableExportPage page;
        page.heading = buildSearchHeading(*inputs);
        written = writeHtmlFile(table, *path, page, error);
    }
    if (!written) {
        session.errorSjis(error);
        return kExitError;
    }
    return kExitFound;
}

int exportIme(Session& session, const Options& options)
{
    const std::optional<std::string> path = session.programPath(options.exportPath);
    if (!path)
        return kExitError;
    std::string error;
    switch (writeImeDictionaryFile(*path, error)) {
    case ImeExportResult::Written:
        return kExitFound;
    case ImeExportResult::CannotCreate:
        session.error("辞書ファイルの作成に失敗しました。");
        break;
    case ImeExportResult::DataFileNotOpened:
        session.reportOpenError();
        session.error("データファイルが開けませんでした。");
        break;
    case ImeExportResult::DataFileUnreadable:
    case ImeExportResult::WriteFailed:
        session.error("辞書ファイルの作成に失敗しました。");
        session.errorSjis(error);
        break;
    }
    return kExitError;
}

} // namespace

int runSearch(Session& session, const Options& options, std::ostream& out)
{
    const std::optional<SearchInputs> inputs = session.searchInputs();
    if (!inputs)
        return kExitError;
    std::vector<ResultRow> rows;
    if (!findRows(session, options, *inputs, rows))
        return kExitError;
    const std::vector<std::string> headings = session.layout().headings();
    ConsoleOutput console(out, options.encoding);
    writeTable(console, DisplayedTable { headings, rows }, options.format);
    if (!console.flush()) {
        session.error("結果を書き出せませんでした。");
        return kExitError;
    }
    return rows.empty() ? kExitNone : kExitFound;
}

int runExport(Session& session, const Options& options)
{
    if (options.exportKind == ExportKind::Ime)
        return exportIme(session, options);
    return exportTable(session, options);
}

} // namespace vornik::cli
