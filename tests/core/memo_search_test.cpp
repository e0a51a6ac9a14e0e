#include "app/core/match_record.h"
#include "app/core/result_columns.h"
#include "app/core/scan.h"
#include "app/core/search_criteria.h"
#include "platform/sjis_literal.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

using namespace vornik;
using namespace vornik::field;
using namespace vornik::test;

namespace {

class MemoSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadSettings();
        writeFileBytes(m_dir.path() / "vornik.txt",
            recordLine({ { Id, "1" }, { Name, "銅の剣"_sj }, { Skill, "1" } })
                + recordLine({ { Id, "2" }, { Name, "絹の服"_sj }, { Skill, "2" } })
                + recordLine({ { Id, "3" }, { Name, "木の盾"_sj }, { Skill, "1" } })
                + recordLine({ { Id, "4" }, { Name, "銀の指輪"_sj }, { Skill, "1" } }));
        // Record 3 has two memo lines: the first counts, as when it is shown.
        // "007" is record 7 (ids are numbers), which is not in the file.
        writeFileBytes(m_dir.path() / "vornik_memo.txt",
            "2,競売で買う<br>安い\r\n3,倉庫にある\r\n3,競売\r\n007,競売\r\n4,\r\nnocomma\r\n"_sj);
    }

    std::vector<int> idsFound(const SearchInputs& inputs) const
    {
        std::vector<ResultRow> rows;
        StorageError error;
        EXPECT_TRUE(scanForMatches(readCriteria(inputs), loadColumnLayout(), rows, error));
        std::vector<int> ids;
        for (const ResultRow& row : rows)
            ids.push_back(textToInt(row.id()));
        return ids;
    }

    TempProgramDir m_dir;
};

TEST_F(MemoSearchTest, NameQueryAlsoLooksAtTheMemoOnlyWhenAsked)
{
    struct Case {
        std::string name;
        bool memo;
        bool exact;
        std::string skill;
        std::vector<int> ids;
    };
    const std::vector<Case> cases {
        { "競売"_sj, false, false, "", {} },
        { "競売"_sj, true, false, "", { 2 } }, // record 3's second line does not count
        { "倉庫"_sj, true, false, "", { 3 } },
        { "安い"_sj, true, false, "", { 2 } }, // after a stored line break
        { "の"_sj, true, false, "", { 1, 2, 3, 4 } },
        { "剣"_sj, true, false, "", { 1 } }, // names still match
        { "倉庫にある"_sj, true, true, "", { 3 } },
        { "倉庫"_sj, true, true, "", {} }, // exact compares the whole memo
        { "", true, true, "鍛冶"_sj, {} }, // an empty query finds no (empty) memo
        { "倉庫"_sj, true, false, "裁縫"_sj, {} }, // other criteria still apply
        { "競売"_sj, true, false, "裁縫"_sj, { 2 } },
    };
    for (const Case& c : cases) {
        SearchInputs in;
        in.name = c.name;
        in.includeMemo = c.memo;
        in.exactOnly = c.exact;
        in.skill = c.skill;
        EXPECT_EQ(idsFound(in), c.ids) << c.name << " memo " << c.memo << " exact " << c.exact;
    }
}

TEST_F(MemoSearchTest, WithoutAMemoFileTheNameSearchIsUnchanged)
{
    std::filesystem::remove(m_dir.path() / "vornik_memo.txt");
    SearchInputs in;
    in.name = "銀"_sj;
    in.includeMemo = true;
    EXPECT_EQ(idsFound(in), std::vector<int> { 4 });
}

} // namespace
