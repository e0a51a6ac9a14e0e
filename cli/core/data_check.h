#pragma once
// A read-only check of a data file and its memo file, one line at a time:
// memory stays the same however large the file (one read buffer, and one bit
// per record id number in use for the duplicate and memo tests).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vornik::cli {

struct CheckFinding {
    bool inMemoFile = false;
    std::uint64_t line = 0; // 1-based; 0 for the file as a whole
    std::string text; // UTF-8
};

struct CheckSummary {
    std::uint64_t dataLines = 0;
    std::uint64_t memoLines = 0;
    std::uint64_t findings = 0;
    bool unreadable = false; // the data file could not be read (to its end)
    std::string error; // UTF-8, when unreadable
};

// Checks `dataPath` and then `memoPath` (a missing memo file is no finding),
// handing every finding to `report` as it is found, in line order.
CheckSummary checkDataFile(const std::string& dataPath, const std::string& memoPath,
    const std::function<void(const CheckFinding&)>& report);

} // namespace vornik::cli
