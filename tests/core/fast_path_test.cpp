// The scan's fast path (decodeLine, the raw-line filter, the cell builders)
// against the plain definition written out here: cut the line at commas,
// decode "%20" in the rest after every cut, trim, turn "&gt" into "＞", then
// test the criteria one by one. Both must give the same rows, byte for byte,
// and leave the same current record behind.

#include "app/core/match_record.h"
#include "app/core/result_columns.h"
#include "app/core/scan.h"
#include "app/core/search_criteria.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/formatting.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/vocabulary.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <vector>

using namespace vornik;
using vornik::test::TempProgramDir;
using vornik::test::writeFileBytes;

namespace {

// ---- the plain definition ---------------------------------------------------

std::string plainSplitField(std::string& rest)
{
    const std::size_t comma = rest.find(',');
    std::string field = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    rest = sjis::replaceAll(rest, "%20", " ");
    return field;
}

RecipeRecord plainDecode(const std::string& line)
{
    RecipeRecord record;
    std::string rest = line;
    for (std::string& field : record.fields()) {
        field = plainSplitField(rest);
        field = std::string(sjis::trimmed(field));
        field = sjis::replaceAll(field, "&gt", "＞"_sj);
    }
    return record;
}

bool plainNameEquals(const std::string& name, const std::string& query)
{
    const std::size_t blank = name.find(' ');
    return (blank == std::string::npos ? name : name.substr(0, blank)) == query;
}

bool plainMatch(const SearchCriteria& c, const RecipeRecord& r)
{
    const std::string skill = skillName(textToInt(r.skill()));
    if (!c.skillQuery.empty() && !sjis::contains(skill, c.skillQuery))
        return false;
    if (c.rankIndex != 0 && textToInt(r.rank()) != c.rankIndex)
        return false;
    if (!c.classQuery.empty() && !sjis::contains(r.description(), c.classQuery))
        return false;
    if (c.crystalIndex != 0
        && (textToInt(r.crystal()) != c.crystalIndex || (c.crystalIndex == 1 && skill.size() < 3)))
        return false;
    const std::string& d = r.description();
    if (!c.jobQuery.empty() && !sjis::contains(d, "All Job")
        && !((sjis::contains(d, "（"_sj) || sjis::contains(d, "【"_sj) || sjis::contains(d, "Lv"))
            && sjis::contains(d, c.jobQuery)))
        return false;
    if (c.levelFrom != -1 || c.levelTo != -1) {
        const std::size_t lv = sjis::find(d, "Lv");
        const std::size_t tilde = lv == std::string::npos ? lv : sjis::find(d, "～"_sj, lv + 2);
        if (tilde == std::string::npos)
            return false;
        const int level = textToInt(d.substr(lv + 2, tilde - lv - 2));
        if ((c.levelTo != -1 && level > c.levelTo) || (c.levelFrom != -1 && level < c.levelFrom))
            return false;
    }
    std::vector<const std::string*> others;
    for (int k = 1; k <= kMaterialSlots; ++k)
        others.push_back(&r.material(k));
    others.insert(others.end(), { &r.hq(), &r.desynth(), &r.description() });
    if (c.exactOnly) {
        if (plainNameEquals(r.name(), c.nameQuery))
            return true;
        if (c.includeMaterials) {
            for (const std::string* f : others)
                if (*f == c.nameQuery)
                    return true;
        }
        return false;
    }
    if (sjis::contains(r.name(), c.nameQuery))
        return true;
    if (c.includeMaterials) {
        for (const std::string* f : others)
            if (sjis::contains(*f, c.nameQuery))
                return true;
    }
    return false;
}

// Cells as the summaries and a whole-string replace give them.
ResultRow plainRow(const ColumnLayout& layout, const RecipeRecord& r)
{
    const std::string skill = skillName(textToInt(r.skill()));
    const bool hasSkill = skill != "-";
    const int crystal = textToInt(r.crystal());
    const int icon = hasSkill && crystal >= 0 && crystal < 10 ? crystal : 0;
    std::vector<std::string> cells;
    for (const ListColumn& column : layout.columns) {
        std::string cell;
        switch (column.kind) {
        case ColumnKind::Skill:
            cell = skill;
            break;
        case ColumnKind::Rank:
            cell = rankName(textToInt(r.rank()));
            break;
        case ColumnKind::Need:
            cell = skillLevelSummary(LevelKind::Need, r);
            break;
        case ColumnKind::Cap:
            cell = skillLevelSummary(LevelKind::Cap, r);
            break;
        case ColumnKind::Materials:
            cell = materialSummary(MaterialForm::Display, r);
            if (layout.crystalPrefix && hasSkill && crystalName(crystal) != "-")
                cell = "(" + crystalName(crystal) + ") " + cell;
            break;
        case ColumnKind::Description:
            cell = sjis::replaceAll(r.description(), "<br>", " ");
            break;
        case ColumnKind::HighQuality:
            cell = hqSummary(r);
            break;
        case ColumnKind::Desynth:
            cell = sjis::replaceAll(r.desynth(), " ", "×"_sj);
            break;
        case ColumnKind::Stackable:
            cell = r.stackable() == "1" ? "○"_sj : "";
            break;
        case ColumnKind::Ex:
            cell = r.ex() == "1" ? "○"_sj : "";
            break;
        case ColumnKind::Rare:
            cell = r.rare() == "1" ? "○"_sj : "";
            break;
        case ColumnKind::Name:
            cell = " " + sjis::replaceAll(r.name(), " ", "×"_sj);
            break;
        }
        cells.push_back(cell);
    }
    return ResultRow(r.id(), icon, cells);
}

// ---- the data -------------------------------------------------------------------

std::string lineOf(std::vector<std::string> fields)
{
    fields.resize(50);
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? "," : "") + fields[i];
    return out;
}

// Lines the generator does not make: encoded blanks and "&gt", white space
// at field edges, trail bytes equal to ASCII ("ソ" ends in '\', "ァ" in '@',
// "＃" in 0x94), damaged lines with too few or too many fields.
std::vector<std::string> awkwardLines()
{
    std::vector<std::string> lines;
    lines.push_back(lineOf({ "900001", "蒼鋼%20の剣 2"_sj, "ソ塊"_sj, "ソ塊"_sj, "", "", "", "", "", "", "2",
        "1", "", "", "", "", "", "", "", "", "", "15", "", "", "", "", "", "", "", "", "", "20", "", "", "",
        "", "", "", "", "", "", "蒼鋼%20の剣 4<><>"_sj, "1", "3",
        "（片手剣） 強化段階：壱&gt弐<br>Lv20～ 戦ナ"_sj, "0", "1", "0", "ソ塊 2"_sj, "" }));
    lines.push_back(lineOf({ "900002", "  ｸﾞﾛｳの表 ", " ァ@石 "_sj, "", "", "", "", "", "", "", " 3 ", "",
        "1", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "x", "", "", "", "",
        "", "", "", "", "<>表&gt裏<>"_sj, " 2 ", "5", " 【指】 品質：並&gt上 Lv7～ 白 "_sj, "", "", "",
        "表 3"_sj, "gt%20" }));
    lines.push_back("900003,＃＃の欠片 3,&gt&gt,&g,%2,%,20"_sj); // too few fields
    lines.push_back(lineOf({ "900004", "壱＞弐の盾"_sj, "gt" }) + ",extra,fields,蒼鋼"_sj); // too many
    lines.push_back(std::string());
    lines.push_back(lineOf({ "900005", "&gt蒼鋼&gt"_sj, "", "", "", "", "", "", "", "", "1" }));
    return lines;
}

template <std::size_t N> const std::string& pickFrom(std::mt19937& rng, const std::string (&pool)[N])
{
    return pool[rng() % N];
}

// A record drawn from small pools of names, materials and descriptions,
// mixed so that every kind of awkward text meets every field.
std::string randomLine(std::uint32_t id, std::mt19937& rng)
{
    static const std::string names[] = { "蒼鋼の剣"_sj, "蒼鋼の剣 2"_sj, "ｸﾞﾛｳの盾"_sj, "紅玉の水薬 2"_sj,
        "ソの表 12"_sj, "ァ@の指輪"_sj, "壱&gt弐の槍"_sj, "蒼鋼%20の剣"_sj, " 灰銅塊 "_sj, "" };
    static const std::string materials[]
        = { "蒼鋼塊"_sj, "ソ塊"_sj, "ｸﾞﾛｳ鉱"_sj, "表"_sj, "gt", "&gt", "%20", " 綿糸"_sj, "", "", "" };
    static const std::string descriptions[] = { "（片手剣） 威力12<br>Lv20～ 戦ナ"_sj,
        "【指】 防3<br>Lv7～ 白"_sj, "品質：並&gt上<br>Lv35～ All Job"_sj, "各地で手に入る。"_sj,
        "Lv40 戦"_sj, " 【盾】 Lv12～ ナ "_sj, "" };
    static const std::string numbers[] = { "", "0", "1", "2", "3", "9", " 4 ", "12", "x" };
    std::vector<std::string> fields(50);
    fields[field::Id] = std::to_string(id);
    fields[field::Name] = pickFrom(rng, names);
    for (int k = 2; k <= 9; ++k)
        fields[static_cast<std::size_t>(k)] = pickFrom(rng, materials);
    for (int k = 10; k <= 40; ++k)
        fields[static_cast<std::size_t>(k)] = pickFrom(rng, numbers);
    fields[field::Hq] = pickFrom(rng, names) + "<>" + pickFrom(rng, materials) + "<>";
    fields[field::Skill] = pickFrom(rng, numbers);
    fields[field::Rank] = pickFrom(rng, numbers);
    fields[field::Description] = pickFrom(rng, descriptions);
    for (int k = 45; k <= 47; ++k)
        fields[static_cast<std::size_t>(k)] = pickFrom(rng, numbers);
    fields[field::Desynth] = pickFrom(rng, materials);
    return lineOf(fields);
}

// The random records with the awkward ones spread among them; the last line
// is left without a line end and matches hardly any query.
std::string dataFileContent(std::vector<std::string>& lines)
{
    std::mt19937 rng(7);
    const std::vector<std::string> awkward = awkwardLines();
    for (std::uint32_t id = 1; id <= 3000; ++id) {
        lines.push_back(randomLine(id, rng));
        if (id % 500 == 0)
            lines.insert(lines.end(), awkward.begin(), awkward.end());
    }
    lines.push_back(lineOf({ "999999", "ｿﾞﾝﾋﾞの置物"_sj }));
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i)
        content += lines[i] + (i + 1 < lines.size() ? "\r\n" : "");
    return content;
}

SearchInputs nameInputs(const std::string& name, bool materials, bool exact)
{
    SearchInputs in;
    in.name = name;
    in.includeMaterials = materials;
    in.exactOnly = exact;
    return in;
}

class FastPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadSettings();
        writeFileBytes(m_dir.path() / "vornik.txt", dataFileContent(m_lines));
        for (const std::string& line : m_lines)
            m_plainRecords.push_back(plainDecode(line));
    }

    // Every line decoded and matched the plain way.
    std::vector<ResultRow> plainScan(const SearchCriteria& criteria, const ColumnLayout& layout) const
    {
        std::vector<ResultRow> rows;
        for (const RecipeRecord& record : m_plainRecords) {
            if (plainMatch(criteria, record))
                rows.push_back(plainRow(layout, record));
        }
        return rows;
    }

    void expectSameScan(const SearchInputs& inputs, const ColumnLayout& layout)
    {
        const SearchCriteria criteria = readCriteria(inputs);
        std::vector<ResultRow> rows;
        StorageError error;
        ASSERT_TRUE(scanForMatches(criteria, layout, rows, error));
        const std::vector<ResultRow> expected = plainScan(criteria, layout);
        ASSERT_EQ(rows.size(), expected.size()) << "name query " << inputs.name;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].id(), expected[i].id());
            EXPECT_EQ(rows[i].icon, expected[i].icon);
            EXPECT_EQ(rows[i].cellTexts(), expected[i].cellTexts())
                << "row " << i << " query " << inputs.name;
        }
        // The scan leaves the last line in the current record, whether or
        // not that line was decoded on the way.
        EXPECT_EQ(currentRecord().fields(), m_plainRecords.back().fields());

        // The list keeps the lines and writes the same cells when asked; the
        // worker's scan keeps the same lines; sorted, both stand as the
        // made rows do after the search's sort.
        ResultList list;
        ASSERT_TRUE(scanForMatches(criteria, list, error));
        ResultList live;
        const std::atomic<bool> running = false;
        ASSERT_EQ(scanFileForMatches({ dataFilePath(), memoFilePath() }, criteria, live, running),
            ScanResult::Complete);
        ASSERT_EQ(list.size(), expected.size());
        ASSERT_EQ(live.size(), expected.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            const ResultRow row = list.formatRow(layout, i);
            EXPECT_EQ(row.id(), expected[i].id());
            EXPECT_EQ(row.icon, expected[i].icon);
            EXPECT_EQ(row.cellTexts(), expected[i].cellTexts()) << "row " << i << " query " << inputs.name;
            EXPECT_EQ(live.line(i), list.line(i));
        }
        const bool skillChosen = !inputs.skill.empty();
        sortAfterSearch(rows, layout, skillChosen);
        if (searchSortsRows(list.size()))
            list.sort(layout, searchSortPasses(layout, skillChosen, 0));
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list.id(i), rows[i].id()) << "sorted row " << i << " query " << inputs.name;
    }

    // The data file again with `lineEnd` after every line but the last and,
    // as its first line, a record long enough to move a "蒼鋼" across the
    // end of the worker's first read (256 KiB).
    void rewriteAcrossTheFirstRead(const std::string& lineEnd)
    {
        const std::size_t blockEnd = 256 * 1024;
        const std::string name = "蒼鋼"_sj;
        std::string content;
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            content += m_lines[i] + (i + 1 < m_lines.size() ? lineEnd : "");
        const std::size_t found = content.rfind(name, blockEnd - 64);
        ASSERT_NE(found, std::string::npos);
        const std::string head = "800000,先頭行の品 "_sj;
        const std::string first
            = head + std::string(blockEnd - 1 - found - lineEnd.size() - head.size(), 'x');
        m_lines.insert(m_lines.begin(), first);
        m_plainRecords.insert(m_plainRecords.begin(), plainDecode(first));
        writeFileBytes(m_dir.path() / "vornik.txt", first + lineEnd + content);
    }

    TempProgramDir m_dir;
    std::vector<std::string> m_lines;
    std::vector<RecipeRecord> m_plainRecords;
};

TEST_F(FastPathTest, DecodeLineEqualsThePlainDefinitionOnEveryLine)
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        RecipeRecord fast;
        fast.fields().fill("stale");
        decodeLine(m_lines[i], fast);
        ASSERT_EQ(fast.fields(), m_plainRecords[i].fields()) << m_lines[i];
    }
}

TEST_F(FastPathTest, NameSearchesGiveThePlainRowsInEveryMode)
{
    const ColumnLayout layout = buildColumnLayout("1111111111111", "");
    const std::vector<std::string> queries = {
        "蒼鋼"_sj, // common, also in materials
        "ｸﾞﾛｳ"_sj, // half-width katakana
        "水薬 2"_sj, // a stored yield count after a blank
        "蒼鋼 の剣"_sj, // the blank was stored as "%20"
        "×"_sj, // never stored: the user's "×" is a blank on file
        "壱＞弐"_sj, // "＞" is stored as "&gt"
        "＞"_sj,
        "gt", // only there as part of "&gt"
        "&g", // present raw and after decoding
        "%20", // gone after decoding
        "\\", // the trail byte of "ソ" and "表"
        "@", // the trail byte of "ァ"
        "ソ塊"_sj, "表"_sj, "20",
        "ｿﾞﾝﾋﾞの置物"_sj, // only on the last line
        "どこにもない名前"_sj,
        "", // every record, or with 完全一致のみ the empty names only
    };
    for (const std::string& query : queries) {
        for (const bool materials : { false, true }) {
            for (const bool exact : { false, true })
                expectSameScan(nameInputs(query, materials, exact), layout);
        }
    }
}

TEST_F(FastPathTest, OtherCriteriaAndTheAllRecordsScanGiveThePlainRows)
{
    const ColumnLayout every = buildColumnLayout("1111111111111", "");
    const ColumnLayout fresh = buildColumnLayout("x1x111xxxxx1", "");
    SearchInputs all;
    expectSameScan(all, every);
    expectSameScan(all, fresh);

    SearchInputs byClass;
    byClass.itemClass = "【指】"_sj;
    expectSameScan(byClass, fresh);
    byClass.itemClass = "Lv";
    byClass.name = "蒼鋼"_sj;
    expectSameScan(byClass, fresh);

    SearchInputs mixed = nameInputs("の"_sj, true, false);
    mixed.skill = skillName(1);
    mixed.job = "戦士"_sj;
    mixed.levelFrom = "10";
    mixed.levelTo = "40";
    mixed.crystal = crystalName(1);
    expectSameScan(mixed, every);
}

// The worker's reader searches its whole buffer for the name: a find across
// the end of a read, the first and the last line (which has no line end),
// lone CRs as line ends.
TEST_F(FastPathTest, BufferWideSearchesGiveThePlainRowsAcrossReads)
{
    const ColumnLayout layout = buildColumnLayout("1111111111111", "");
    for (const std::string lineEnd : { "\r", "\n" }) {
        m_lines.clear();
        m_plainRecords.clear();
        dataFileContent(m_lines);
        for (const std::string& line : m_lines)
            m_plainRecords.push_back(plainDecode(line));
        rewriteAcrossTheFirstRead(lineEnd);
        for (const std::string& query :
            { "蒼鋼"_sj, "鋼"_sj, "先頭行"_sj, "ｿﾞﾝﾋﾞの置物"_sj, std::string("x") })
            expectSameScan(nameInputs(query, true, false), layout);
    }
}

// Texts around the sixteen bytes the sort reads ahead as numbers: equal
// starts, a text that is the start of another, zero bytes, high bytes; and
// rank names (the settings must be loaded), which the rank sort places by
// counting.
std::vector<ResultRow> sortableRows()
{
    std::vector<std::string> texts = { "", "-", "a", std::string("a\0", 2), "abcdefghijklmnop",
        "abcdefghijklmnopq", "abcdefghijklmno", std::string("abcdefghijklmnop\0", 17), "木工: 23 "_sj,
        "木工: 23 "_sj, "木工:105 "_sj, "革細工:  7 "_sj, "革細工:  7 彫金:?  "_sj, "革細工:  7 彫金: 12 "_sj,
        "\xff\xff", std::string("\0", 1), "ｸﾞﾛｳ"_sj };
    for (const int rank : { 1, 2, 5, 9 })
        texts.push_back(rankName(rank));
    std::mt19937 rng(11);
    std::vector<ResultRow> rows;
    for (int i = 0; i < 3000; ++i) {
        // Every 97th row is short: its last cell reads as empty.
        std::vector<std::string> cells(i % 97 == 0 ? 2 : 3);
        for (std::string& cell : cells)
            cell = texts[rng() % texts.size()];
        rows.emplace_back(std::to_string(i), 0, cells);
    }
    return rows;
}

TEST(SortTest, SortResultsEqualsAStableSortByCompareRows)
{
    TempProgramDir dir;
    loadSettings();
    const std::vector<ResultRow> rows = sortableRows();
    for (const bool byRank : { false, true }) {
        for (const bool ascending : { true, false }) {
            for (std::size_t sortColumn = 0; sortColumn < 3; ++sortColumn) {
                for (const std::size_t tieColumn : { std::size_t { 0 }, std::size_t { 2 } }) {
                    SortOrder order;
                    order.sortColumn = sortColumn;
                    order.tieColumn = tieColumn;
                    order.ascending = ascending;
                    order.byRank = byRank;
                    std::vector<ResultRow> fast = rows;
                    SortResults(fast, order);
                    std::vector<ResultRow> plain = rows;
                    std::stable_sort(plain.begin(), plain.end(), [&](const ResultRow& a, const ResultRow& b) {
                        const int c = CompareRows(a, b, order);
                        return ascending ? c < 0 : c > 0;
                    });
                    std::vector<std::string_view> fastIds;
                    std::vector<std::string_view> plainIds;
                    for (std::size_t i = 0; i < rows.size(); ++i) {
                        fastIds.push_back(fast[i].id());
                        plainIds.push_back(plain[i].id());
                    }
                    EXPECT_EQ(fastIds, plainIds) << "rank " << byRank << " ascending " << ascending
                                                 << " column " << sortColumn << " tie " << tieColumn;
                }
            }
        }
    }
}

TEST(LineFilterTest, OnlyTextsThatDecodingCannotFormAreRequired)
{
    SearchCriteria criteria;
    EXPECT_TRUE(LineFilter(criteria).passesAll());
    criteria.nameQuery = "壱＞弐"_sj; // may stand as "&gt" on the line
    EXPECT_TRUE(LineFilter(criteria).passesAll());
    criteria.nameQuery = "a b"; // may stand as "%20"
    EXPECT_TRUE(LineFilter(criteria).passesAll());
    criteria.nameQuery = "蒼鋼"_sj;
    criteria.classQuery = "Lv";
    const LineFilter filter(criteria);
    EXPECT_FALSE(filter.passesAll());
    EXPECT_TRUE(filter.mayMatch("1,蒼鋼の剣,Lv"_sj));
    EXPECT_FALSE(filter.mayMatch("1,蒼鋼の剣,L"_sj));
    EXPECT_FALSE(filter.mayMatch("1,蒼の剣,Lv"_sj));

    // The bytes a scan may search the whole file for: none when a memo can
    // let a line pass without the name.
    EXPECT_EQ(filter.bytesEveryMatchHolds(), "蒼鋼"_sj);
    const MemoHits hits { 7 };
    criteria.includeMemo = true;
    EXPECT_EQ(LineFilter(criteria, &hits).bytesEveryMatchHolds(), "Lv");
    criteria.classQuery.clear();
    EXPECT_EQ(LineFilter(criteria, &hits).bytesEveryMatchHolds(), "");
    EXPECT_TRUE(LineFilter(criteria, &hits).mayMatch("7,銅の剣"_sj));
}

TEST(ReadNextRecordWhereTest, LinesPassedOverStillLeaveTheLastOneCurrent)
{
    StorageError error;
    TempProgramDir dir;
    writeFileBytes(dir.path() / "vornik.txt", "1,first\r\n2,second\r\n3,third%20x,&gt\r\n");
    ASSERT_TRUE(openDataFile(error));
    const auto wantSecond = [](std::string_view line) { return line.substr(0, 2) == "2,"; };
    ASSERT_TRUE(readNextRecordWhere(wantSecond, error));
    EXPECT_EQ(currentRecord().name(), "second");
    EXPECT_FALSE(readNextRecordWhere(wantSecond, error));
    EXPECT_EQ(currentRecord().id(), "3");
    EXPECT_EQ(currentRecord().name(), "third x");
    EXPECT_EQ(currentRecord().material(1), "＞"_sj);
    closeDataFile();

    // Nothing wanted at all: the record still ends on the last line.
    currentRecord().fields().fill("stale");
    ASSERT_TRUE(openDataFile(error));
    EXPECT_FALSE(readNextRecordWhere([](std::string_view) { return false; }, error));
    closeDataFile();
    EXPECT_EQ(currentRecord().id(), "3");
    EXPECT_EQ(currentRecord().material(2), "");
}

} // namespace

namespace vornik {
namespace {

TEST(ScanRowsTest, RowsCarryTheIdTextAsTheLineHoldsIt)
{
    StorageError error;
    TempProgramDir dir;
    loadSettings();
    writeFileBytes(dir.path() / "vornik.txt", "7,a\r\n07,b\r\n 8 ,c\r\nabc,d\r\n99999999999,e\r\n%20,f\r\n");
    std::vector<ResultRow> rows;
    ASSERT_TRUE(scanForMatches(readCriteria(SearchInputs {}), buildColumnLayout("1", ""), rows, error));
    std::vector<std::string_view> ids;
    for (const ResultRow& row : rows)
        ids.push_back(row.id());
    EXPECT_EQ(ids, (std::vector<std::string_view> { "7", "07", " 8 ", "abc", "99999999999", "%20" }));
}

} // namespace
} // namespace vornik
