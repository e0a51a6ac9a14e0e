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

// Index of each character in the column flags text.
namespace columnflag {
inline constexpr int Skill = 0;
inline constexpr int Rank = 1;
inline constexpr int Need = 2;
inline constexpr int Cap = 3;
inline constexpr int Materials = 4;
inline constexpr int Description = 5;
inline constexpr int HighQuality = 6;
inline constexpr int Desynth = 7;
inline constexpr int Stackable = 8;
inline constexpr int Ex = 9;
inline constexpr int Rare = 10;
inline constexpr int CrystalPrefix = 11; // no column: the crystal in front of the materials
inline constexpr int ColumnKinds = 11; // flags 0 .. 10 are columns
inline constexpr int DialogFlags = 12; // flags 0 .. 11 have a check box
} // namespace columnflag

inline constexpr int kNameColumnFlag = -1;
inline constexpr std::size_t kWidthPositions = 21;
inline constexpr int kDefaultColumnWidth = 100;

struct ListColumn {
    std::string heading; // Shift-JIS
    int flag = kNameColumnFlag;
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

// Status text after a search: n followed by "件のデータが一致しました。".
std::string matchCountText(std::size_t n);

} // namespace vornik
