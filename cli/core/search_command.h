#pragma once
// `vornik search` and `vornik export`: the window's search, sort and column
// texts without the window.

#include "cli/core/cli_session.h"

#include <iosfwd>

namespace vornik::cli {

int runSearch(Session& session, const Options& options, std::ostream& out);
int runExport(Session& session, const Options& options);

} // namespace vornik::cli
