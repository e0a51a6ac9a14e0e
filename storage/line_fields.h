#pragma once
// Cutting a data-file line into its fifty fields and decoding one field, for
// records that decode their fields only when they are first read.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vornik {

inline constexpr int kLineFieldCount = 50;

// Where the fields of one line end. Field k runs from just after the end of
// field k - 1 (from 0 for the first) to ends[k]; fields past the end of the
// line are empty and end at the line's size. Nothing after the fiftieth
// field's comma belongs to any field.
struct LineFieldBounds {
    // Room past the fiftieth entry: the search writes whole groups of commas
    // without checking each against the count.
    std::array<std::size_t, kLineFieldCount + 64> ends {};
    // A '%' or '&' somewhere on the line: only then can decoding do more
    // than trim a field.
    bool hasEscapes = false;

    std::string_view field(std::string_view line, int pos) const
    {
        const std::size_t begin = pos == 0 ? 0 : ends[static_cast<std::size_t>(pos - 1)] + 1;
        const std::size_t end = ends[static_cast<std::size_t>(pos)];
        return begin >= end ? std::string_view() : line.substr(begin, end - begin);
    }
};

void findFieldBounds(std::string_view line, LineFieldBounds& bounds);

// The decoded text of one field as cut from the line: trimmed, "&gt" as "＞"
// and, in every field but the id (position 0), "%20" as a blank. Reuses the
// capacity `out` has. `mayHaveEscapes` false promises that `raw` holds no
// '%' and no '&'.
void decodeFieldInto(std::string_view raw, int pos, bool mayHaveEscapes, std::string& out);

} // namespace vornik
