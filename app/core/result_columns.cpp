#include "app/core/result_columns.h"

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

const std::string& headingOf(int flag)
{
    switch (flag) {
    case columnflag::Skill:
        return "ｽｷﾙ"_sj;
    case columnflag::Rank:
        return "ﾗﾝｸ"_sj;
    case columnflag::Need:
        return "必要"_sj;
    case columnflag::Cap:
        return "限界"_sj;
    case columnflag::Materials:
        return "素材"_sj;
    case columnflag::Description:
        return "説明"_sj;
    case columnflag::HighQuality:
        return "ﾊｲｸｫﾘﾃｨ"_sj;
    case columnflag::Desynth:
        return "分解"_sj;
    case columnflag::Stackable:
        return "ｽﾀｯｸ"_sj;
    case columnflag::Ex:
        return "Ex"_sj;
    case columnflag::Rare:
        return "Rare"_sj;
    default:
        return "名前"_sj;
    }
}

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

void appendMaterialsCell(std::string& out, bool prefix, bool hasSkill, const RecipeRecord& record)
{
    if (prefix && hasSkill) {
        const std::string& crystal = crystalName(textToInt(record.crystal()));
        if (crystal != "-") {
            out += '(';
            out += crystal;
            out += ") ";
        }
    }
    appendMaterialSummary(out, MaterialForm::Display, record);
}

// Appends the text of one cell to `out`; hundreds of thousands of cells per
// search, so no temporaries.
void appendCell(std::string& out, int flag, const ColumnLayout& layout, bool hasSkill,
    const std::string& skill, const RecipeRecord& record)
{
    switch (flag) {
    case columnflag::Skill:
        out += skill;
        break;
    case columnflag::Rank:
        out += rankName(textToInt(record.rank()));
        break;
    case columnflag::Need:
        appendSkillLevelSummary(out, LevelKind::Need, record);
        break;
    case columnflag::Cap:
        appendSkillLevelSummary(out, LevelKind::Cap, record);
        break;
    case columnflag::Materials:
        appendMaterialsCell(out, layout.crystalPrefix, hasSkill, record);
        break;
    case columnflag::Description:
        appendReplaced(out, record.description(), "<br>", " ");
        break;
    case columnflag::HighQuality:
        out += hqSummary(record);
        break;
    case columnflag::Desynth:
        appendReplaced(out, record.desynth(), " ", "×"_sj);
        break;
    case columnflag::Stackable:
        out += mark(record.stackable());
        break;
    case columnflag::Ex:
        out += mark(record.ex());
        break;
    case columnflag::Rare:
        out += mark(record.rare());
        break;
    default:
        out += ' ';
        appendReplaced(out, record.name(), " ", "×"_sj);
        break;
    }
}

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
    layout.columns.push_back({ headingOf(kNameColumnFlag), kNameColumnFlag, layout.widthsByPosition[0] });
    for (int flag = 0; flag < columnflag::ColumnKinds; ++flag) {
        if (!flagSet(flags, flag))
            continue;
        const int position = static_cast<int>(layout.columns.size());
        layout.columns.push_back(
            { headingOf(flag), flag, layout.widthsByPosition[static_cast<std::size_t>(position)] });
        if (flag == columnflag::Rank)
            layout.rankColumn = position;
        else if (flag == columnflag::Cap)
            layout.capColumn = position;
    }
    layout.crystalPrefix = flagSet(flags, columnflag::CrystalPrefix);
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

ResultRow makeResultRow(const ColumnLayout& layout, const RecipeRecord& record)
{
    const std::string& skill = skillName(textToInt(record.skill()));
    const bool hasSkill = skill != "-";

    static_assert(1 + columnflag::ColumnKinds <= ResultRow::kMaxCells);
    thread_local ResultRowBuilder builder;
    for (const ListColumn& column : layout.columns) {
        appendCell(builder.openCell(), column.flag, layout, hasSkill, skill, record);
        builder.closeCell();
    }
    return builder.take(record.storedId(), iconFor(hasSkill, record));
}

std::string matchCountText(std::size_t n)
{
    std::string text = intToText(static_cast<std::int32_t>(std::min<std::size_t>(n, INT32_MAX)));
    text += "件のデータが一致しました。"_sj;
    return text;
}

} // namespace vornik
