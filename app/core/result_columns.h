#pragma once
// The result list's columns and the texts of its cells. The name column is
// always at position 0; the optional columns follow in a fixed order, each
// shown when its character in the column flags is "1". Widths belong to
// positions, not to column kinds, so showing a column shifts the widths of
// the columns after it.

#include "app/core/result_sort.h"
#include "storage/record.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class ProfileFile;

// The result list's columns in the order they are shown. Each is one row of
// the column table (result_columns.cpp): its flag, its heading, its check box
// in 表示設定 and the writer of its cells. Code that treats the kinds one by
// one switches over this enum without a default, so the compiler names every
// place a new column has to be added.
enum class ColumnKind {
    Name,
    Skill,
    Rank,
    Need,
    Cap,
    Materials,
    Description,
    HighQuality,
    Desynth,
    Stackable,
    Ex,
    Rare
};
inline constexpr std::size_t kColumnKindCount = 12;

// Index of a column's character in the column flags text; the name column
// has none, it is always shown.
inline constexpr int kNameColumnFlag = -1;
// The last flag is no column: it puts the crystal in front of the materials.
inline constexpr int kCrystalPrefixFlag = 11;
// Flags 0 .. 11 have a check box in 表示設定.
inline constexpr int kColumnFlagCount = 12;

// What a cell writer reads: the record, and what several cells share.
struct CellSource {
    const RecipeRecord& record;
    const std::string& skill; // the record's skill name, "-" for none
    bool hasSkill;
    bool crystalPrefix; // the crystal prefix flag is set
};
// Appends the cell's text (Shift-JIS) to `out`.
using CellWriter = void (*)(std::string& out, const CellSource& source);

struct ColumnDefinition {
    ColumnKind kind;
    int flag;
    std::string_view heading; // UTF-8, as written here; shown in Shift-JIS
    std::string_view dialogLabel; // UTF-8; empty for the name, which has no box
    CellWriter writeCell;
};

const ColumnDefinition& columnDefinition(ColumnKind kind);
// The check box label of flag 0 .. kColumnFlagCount - 1 (UTF-8).
std::string_view columnFlagLabel(int flag);

inline constexpr std::size_t kWidthPositions = 21;
inline constexpr int kDefaultColumnWidth = 100;

struct ListColumn {
    std::string heading; // Shift-JIS
    ColumnKind kind = ColumnKind::Name;
    int width = kDefaultColumnWidth;
};

struct ColumnLayout {
    std::vector<ListColumn> columns; // by visible position; [0] is the name
    std::array<int, kWidthPositions> widthsByPosition {};
    int rankColumn = 0; // 0 when hidden
    int capColumn = 0; // 0 when hidden
    bool crystalPrefix = false;

    std::vector<std::string> headings() const;
};

// flags: one character per flag index, "1" shows (any other or a missing
// character hides). widthsText: decimal widths separated by ",".
ColumnLayout buildColumnLayout(std::string_view flags, std::string_view widthsText);

// Each width in decimal followed by "," (so the text ends with a comma).
std::string columnWidthsText(const std::vector<int>& widthsByPosition);

// The layout stored in the settings (keys `column` and `columnsize` of
// section `window`), and the widths written back at shutdown.
ColumnLayout loadColumnLayout();
ColumnLayout loadColumnLayout(const ProfileFile& settings);
bool saveColumnWidths(const std::vector<int>& widthsByPosition);

// The row shown for one record: cells of the visible columns, the record's
// id and the crystal image (0, a blank, when the record has no skill or its
// crystal number has no image).
ResultRow makeResultRow(const ColumnLayout& layout, const RecipeRecord& record);
// A row of only the cells at `positions` (in that order; a position past the
// last column gives an empty cell): what a sort compares.
ResultRow makeCellsRow(
    const ColumnLayout& layout, const RecipeRecord& record, const std::vector<std::size_t>& positions);

// Status text after a search: n followed by "件のデータが一致しました。".
std::string matchCountText(std::size_t n);

} // namespace vornik
