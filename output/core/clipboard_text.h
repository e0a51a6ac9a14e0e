#pragma once
// One recipe as plain text for the clipboard: eleven labelled lines joined
// by CR LF, no line end after the last.

#include "storage/record.h"

#include <optional>
#include <string>

namespace vornik {

std::string buildClipboardText(const RecipeRecord& record);

// Scans the data file for records whose id text is exactly `id`; the text of the
// last one found (ids are not guaranteed unique). Nothing when no record
// matches or the file cannot be opened (the open-error handler has run).
std::optional<std::string> clipboardTextForId(const std::string& id);

} // namespace vornik
