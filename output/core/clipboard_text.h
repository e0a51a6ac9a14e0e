#pragma once
// One recipe as plain text for the clipboard: eleven labelled lines joined
// by CR LF, no line end after the last.

#include "storage/record.h"
#include "storage/storage_error.h"

#include <optional>
#include <string>

namespace vornik {

std::string buildClipboardText(const RecipeRecord& record);

// Scans the data file for records whose id text is exactly `id`; the text of the
// last one found (ids are not guaranteed unique). Nothing when no record
// matches. Nothing, with `error` set, when the file cannot be opened (the
// open-error handler has run) or a read fails part way: a later record with
// the same id may lie behind the failure, so a text found before it is not
// trustworthy.
std::optional<std::string> clipboardTextForId(const std::string& id, StorageError& error);

} // namespace vornik
