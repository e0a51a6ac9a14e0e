#pragma once
// What every command sets up before it reads a file: the program folder,
// the settings as a started window sees them (nothing is written), the data
// file, and errors collected for standard error instead of message boxes.

#include "app/core/result_columns.h"
#include "cli/core/cli_options.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace vornik::cli {

inline constexpr int kExitFound = 0;
inline constexpr int kExitNone = 1;
inline constexpr int kExitError = 2;

class Session {
public:
    Session(const Options& options, std::ostream& err);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Program folder, settings and data file; false after telling the user.
    bool open(const std::string& defaultProgramDir);
    const ColumnLayout& layout() const { return m_layout; }

    // A path typed on the command line in the program's Shift-JIS form;
    // nullopt (after telling the user) when it holds a character Shift-JIS
    // cannot, which would silently name another file.
    std::optional<std::string> programPath(const std::string& typed);
    // Criteria typed on the command line (or saved in the window under the
    // name given with --saved) in Shift-JIS, vocabulary names checked;
    // nullopt after telling the user.
    std::optional<SearchInputs> searchInputs();

    // "vornik: " and the text (UTF-8) on standard error.
    void error(std::string_view utf8);
    // The same for a Shift-JIS text of the program (a storage error).
    void errorSjis(std::string_view sjis);
    // The data file's open error as the window words it; false when there
    // was none.
    bool reportOpenError();

private:
    std::optional<SearchInputs> savedSearchInputs(const std::string& utf8Name);
    std::optional<SearchInputs> checkedListNames(const SearchInputs& inputs);

    const Options& m_options;
    std::ostream& m_err;
    ColumnLayout m_layout;
    std::optional<std::string> m_unopened; // the data file that failed to open
};

} // namespace vornik::cli
