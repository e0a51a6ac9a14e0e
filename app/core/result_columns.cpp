#include "app/core/result_columns.h"

#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/formatting.h"
#include "storage/numbers.h"
#include "storage/profile.h"
#include "storage/profile_file.h"
#include "storage/vocabulary.h"

#include <algorithm>
#include <cstdint>

namespace vornik {
namespace {

constexpr int kCrystalImages = 10;

bool flagSet(std::string_view flags, int index)
{
    return static_cast<std::size_t>(index) < flags.size() && flags[static_cast<std::size_t>(index)] == '1';
}

// The data file's field rule: the text up to the next ","; "%20" in what
// remains after a comma reads as a blank.
std::string takePiece(std::string& rest)
{
    const std::size_t comma = rest.find(',');
    if (comma == std::string::npos) {
        std::string piece = std::move(rest);
        rest.clear();
        return piece;
    }
    std::string piece = rest.substr(0, comma);
    rest.erase(0, comma + 1);
    sjis::replaceAllInPlace(rest, "%20", " ");
    return piece;
}

int widthOfPiece(const std::string& piece)
{
    if (piece.empty() || piece == "0")
        return kDefaultColumnWidth;
    // A negative width has no meaning for a column; treat it like any other
    // unusable number.
    return std::max(0, static_cast<int>(textToInt(piece)));
}

std::array<int, kWidthPositions> parseWidths(std::string_view widthsText)
{
    std::array<int, kWidthPositions> widths {};
    std::string rest(widthsText);
    for (int& width : widths)
        width = widthOfPiece(takePiece(rest));
    return widths;
}

bool isFlagOne(const std::string& value)
{
    return value == "1";
}

const std::string& mark(const std::string& flag)
{
    static const std::string none;
    return isFlagOne(flag) ? "○"_sj : none;
}

// sjis::replaceAll appended to `out`: a cell is built in one string instead
// of being copied out of a temporary (the all-records list makes 100,000s).
void appendReplaced(std::string& out, std::string_view text, std::string_view from, std::string_view to)
{
    std::size_t start = 0;
    for (std::size_t pos = sjis::find(text, from); pos != std::string_view::npos;
         pos = sjis::find(text, from, start)) {
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(text.substr(start));
}

// ---- the column table -------------------------------------------------------
//
// Cell writers append straight to the row's buffer: "すべてのデータを表示" and the
// sort after a search write hundreds of thousands of cells, so no temporaries.

void writeName(std::string& out, const CellSource& in)
{
    out += ' ';
    appendReplaced(out, in.record.name(), " ", "×"_sj);
}

void writeSkill(std::string& out, const CellSource& in)
{
    out += in.skill;
}

void writeRank(std::string& out, const CellSource& in)
{
    out += rankName(textToInt(in.record.rank()));
}

void writeNeed(std::string& out, const CellSource& in)
{
    appendSkillLevelSummary(out, LevelKind::Need, in.record);
}

void writeCap(std::string& out, const CellSource& in)
{
    appendSkillLevelSummary(out, LevelKind::Cap, in.record);
}

void writeMaterials(std::string& out, const CellSource& in)
{
    if (in.crystalPrefix && in.hasSkill) {
        const std::string& crystal = crystalName(textToInt(in.record.crystal()));
        if (crystal != "-") {
            out += '(';
            out += crystal;
            out += ") ";
        }
    }
    appendMaterialSummary(out, MaterialForm::Display, in.record);
}

void writeDescription(std::string& out, const CellSource& in)
{
    appendReplaced(out, in.record.description(), "<br>", " ");
}

void writeHighQuality(std::string& out, const CellSource& in)
{
    out += hqSummary(in.record);
}

void writeDesynth(std::string& out, const CellSource& in)
{
    appendReplaced(out, in.record.desynth(), " ", "×"_sj);
}

void writeStackable(std::string& out, const CellSource& in)
{
    out += mark(in.record.stackable());
}

void writeEx(std::string& out, const CellSource& in)
{
    out += mark(in.record.ex());
}

void writeRare(std::string& out, const CellSource& in)
{
    out += mark(in.record.rare());
}

// In the order of ColumnKind, which is the order of the flags.
constexpr std::array<ColumnDefinition, kColumnKindCount> kColumns { {
    { ColumnKind::Name, kNameColumnFlag, "名前", "", writeName },
    { ColumnKind::Skill, 0, "ｽｷﾙ", "スキル(&M)", writeSkill },
    { ColumnKind::Rank, 1, "ﾗﾝｸ", "ランク(&S)", writeRank },
    { ColumnKind::Need, 2, "必要", "必要(&L)", writeNeed },
    { ColumnKind::Cap, 3, "限界", "限界(&U)", writeCap },
    { ColumnKind::Materials, 4, "素材", "素材(&R)", writeMaterials },
    { ColumnKind::Description, 5, "説明", "説明(&E)", writeDescription },
    { ColumnKind::HighQuality, 6, "ﾊｲｸｫﾘﾃｨ", "ハイクォリティ(&H)", writeHighQuality },
    { ColumnKind::Desynth, 7, "分解", "分解(&B)", writeDesynth },
    { ColumnKind::Stackable, 8, "ｽﾀｯｸ", "スタック(&T)", writeStackable },
    { ColumnKind::Ex, 9, "Ex", "Ex(&E)", writeEx },
    { ColumnKind::Rare, 10, "Rare", "Rare(&A)", writeRare },
} };

constexpr bool tableFollowsTheFlags()
{
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (static_cast<std::size_t>(kColumns[i].kind) != i || kColumns[i].flag != static_cast<int>(i) - 1)
            return false;
    }
    return true;
}
static_assert(tableFollowsTheFlags(), "one row per ColumnKind, in flag order");
static_assert(kColumns.size() == static_cast<std::size_t>(kCrystalPrefixFlag) + 1);

constexpr std::string_view kCrystalPrefixLabel = "クリスタル(&C)";

int iconFor(bool hasSkill, const RecipeRecord& record)
{
    if (!hasSkill)
        return 0;
    const int crystal = textToInt(record.crystal());
    return (crystal >= 0 && crystal < kCrystalImages) ? crystal : 0;
}

} // namespace

std::vector<std::string> ColumnLayout::headings() const
{
    std::vector<std::string> result;
    result.reserve(columns.size());
    for (const ListColumn& column : columns)
        result.push_back(column.heading);
    return result;
}

ColumnLayout buildColumnLayout(std::string_view flags, std::string_view widthsText)
{
    ColumnLayout layout;
    layout.widthsByPosition = parseWidths(widthsText);
    for (const ColumnDefinition& column : kColumns) {
        if (column.flag != kNameColumnFlag && !flagSet(flags, column.flag))
            continue;
        const int position = static_cast<int>(layout.columns.size());
        layout.columns.push_back({ utf8ToSjis(column.heading), column.kind,
            layout.widthsByPosition[static_cast<std::size_t>(position)] });
        switch (column.kind) {
        case ColumnKind::Rank:
            layout.rankColumn = position;
            break;
        case ColumnKind::Cap:
            layout.capColumn = position;
            break;
        case ColumnKind::Name:
        case ColumnKind::Skill:
        case ColumnKind::Need:
        case ColumnKind::Materials:
        case ColumnKind::Description:
        case ColumnKind::HighQuality:
        case ColumnKind::Desynth:
        case ColumnKind::Stackable:
        case ColumnKind::Ex:
        case ColumnKind::Rare:
            break;
        }
    }
    layout.crystalPrefix = flagSet(flags, kCrystalPrefixFlag);
    return layout;
}

std::string columnWidthsText(const std::vector<int>& widthsByPosition)
{
    std::string text;
    const std::size_t count = std::min(widthsByPosition.size(), kWidthPositions);
    for (std::size_t i = 0; i < count; ++i) {
        text += intToText(widthsByPosition[i]);
        text += ',';
    }
    return text;
}

ColumnLayout loadColumnLayout()
{
    const std::string flags = readIniString(ini::ColumnFlags);
    const std::string widths = readIniString(ini::ColumnWidths);
    return buildColumnLayout(flags, widths);
}

ColumnLayout loadColumnLayout(const ProfileFile& settings)
{
    const std::string flags = settings.readString(ini::ColumnFlags);
    const std::string widths = settings.readString(ini::ColumnWidths);
    return buildColumnLayout(flags, widths);
}

bool saveColumnWidths(const std::vector<int>& widthsByPosition)
{
    return writeIniString(ini::ColumnWidths, columnWidthsText(widthsByPosition));
}

namespace {

// Writes the cells at `positions` into the builder kept between rows.
template <typename Positions>
ResultRow writeRow(const ColumnLayout& layout, const RecipeRecord& record, const Positions& positions)
{
    const std::string& skill = skillName(textToInt(record.skill()));
    const CellSource source { record, skill, skill != "-", layout.crystalPrefix };
    static_assert(kColumnKindCount <= ResultRow::kMaxCells);
    thread_local ResultRowBuilder builder;
    for (const std::size_t position : positions) {
        if (position < layout.columns.size())
            columnDefinition(layout.columns[position].kind).writeCell(builder.openCell(), source);
        builder.closeCell();
    }
    return builder.take(record.storedId(), iconFor(source.hasSkill, record));
}

// 0, 1, .., n - 1 without a vector.
struct FirstPositions {
    std::size_t n;
    struct Iterator {
        std::size_t at;
        std::size_t operator*() const { return at; }
        Iterator& operator++()
        {
            ++at;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at != other.at; }
    };
    Iterator begin() const { return { 0 }; }
    Iterator end() const { return { n }; }
};

} // namespace

const ColumnDefinition& columnDefinition(ColumnKind kind)
{
    return kColumns[static_cast<std::size_t>(kind)];
}

std::string_view columnFlagLabel(int flag)
{
    if (flag == kCrystalPrefixFlag)
        return kCrystalPrefixLabel;
    if (flag < 0 || flag >= kCrystalPrefixFlag)
        return {};
    return kColumns[static_cast<std::size_t>(flag) + 1].dialogLabel;
}

ResultRow makeResultRow(const ColumnLayout& layout, const RecipeRecord& record)
{
    return writeRow(layout, record, FirstPositions { layout.columns.size() });
}

ResultRow makeCellsRow(
    const ColumnLayout& layout, const RecipeRecord& record, const std::vector<std::size_t>& positions)
{
    return writeRow(layout, record, positions);
}

std::string matchCountText(std::size_t n)
{
    std::string text = intToText(static_cast<std::int32_t>(std::min<std::size_t>(n, INT32_MAX)));
    text += "件のデータが一致しました。"_sj;
    return text;
}

} // namespace vornik
