#pragma once
// A text file for the input method's user dictionary: for every recipe with
// materials, typing the skill's reading (or the reading and the rank number)
// offers a one-line summary of the recipe as a conversion candidate.

#include "storage/record.h"

#include <iosfwd>
#include <string>

namespace vornik {

// Name, crystal name and the materials with counts, without separators; a
// word over 60 bytes is cut to at most 59 bytes (never inside a double-byte
// character) plus ".".
std::string imeWord(const RecipeRecord& record);

// The two dictionary lines of one record, each ended by CR LF.
std::string imeDictionaryLines(const RecipeRecord& record);

enum class ImeExportResult {
    Written,
    CannotCreate, // the dictionary file could not be created
    DataFileNotOpened, // the open-error handler has run; the file stays empty
    DataFileUnreadable, // reading stopped part way
    WriteFailed, // the dictionary file could not be written completely
};

// Writes the lines of every record of the data file that has a first
// material, in file order. `error` tells why for DataFileUnreadable.
ImeExportResult writeImeDictionary(std::ostream& out, std::string& error);
// The same into `path` (created or emptied first). `error` holds a message
// naming the file and the cause for CannotCreate, DataFileUnreadable and
// WriteFailed.
ImeExportResult writeImeDictionaryFile(const std::string& path, std::string& error);

} // namespace vornik
