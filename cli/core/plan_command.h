#pragma once
// `vornik plan`: the crafting planner's totals and craft order without the
// window.

#include "cli/core/cli_session.h"

#include <iosfwd>

namespace vornik::cli {

// 0 planned, 1 some wanted name is made by no record (still listed), 2 error.
int runPlan(Session& session, const Options& options, std::ostream& out);

} // namespace vornik::cli
