#pragma once
// Turning a data-file line into the 50 fields of a record and back.
//
// On a line, fields are separated by single half-width commas without quoting.
// Inside a field a line break is stored as "<br>", "＞" as "&gt" and a typed ","
// as "，"; in every field but the id "%20" reads as a space.

#include "storage/record.h"

#include <string>
#include <string_view>

namespace vornik {

// Takes the next field off the front of `rest`: the text before the first
// comma (all of rest when there is none). Every "%20" in what remains is then
// replaced by a space. The field is not trimmed.
std::string splitField(std::string& rest);

// Trims each field (single-byte white space only) and turns "&gt" into "＞".
void decodeFields(RecipeRecord& record = currentRecord());

// Prepares the fields for writing: trimmed, "＞" as "&gt", "," as "，", line
// breaks as "<br>"; "×" and "%20" as a space in name, hq and desynth; a
// capLevel that is not all digits is emptied.
void encodeFields(RecipeRecord& record = currentRecord());

// True for the empty text and for a text made only of "0" to "9".
bool isDigits(std::string_view text);

// splitField for all 50 fields followed by decodeFields. The record keeps the
// line and decodes each field when it is first read: this is run for every
// line of every search, and a search reads only a few fields of most lines.
void decodeLine(std::string_view line, RecipeRecord& record = currentRecord());

// The 50 fields joined by commas (no line end).
std::string joinFields(const RecipeRecord& record);

} // namespace vornik
