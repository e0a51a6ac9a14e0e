#pragma once
// One search: read the data file from the top and keep a row per match.

#include "app/core/result_columns.h"
#include "app/core/result_sort.h"
#include "app/core/search_criteria.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace vornik {

// Appends a row for every matching record to `rows`, in file order. Calls
// `progress` with the running count now and then. False when the data file
// could not be opened (the open-error handler has been told).
bool scanForMatches(const SearchCriteria& criteria, const ColumnLayout& layout, std::vector<ResultRow>& rows,
    const std::function<void(std::size_t)>& progress = {});

} // namespace vornik
