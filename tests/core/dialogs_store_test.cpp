// The edit dialog's OK without the dialog: rebuild the record, store it and
// its memo; refuse before writing anything; never store a new record twice.

#include "dialogs/core/edit_store.h"
#include "dialogs/core/record_display.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/formatting.h"
#include "storage/numbers.h"
#include "storage/paths.h"
#include "storage/vocabulary.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace vornik;
using namespace std::string_literals;
using test::namedRecord;
using test::readFileBytes;
using test::writeFileBytes;

namespace {

class DialogsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOpenErrorHandler([this](const std::string&) { ++m_openErrors; });
        loadSettings();
        m_original = namedRecord("3", "灰樫材"_sj) + "\r\n" + namedRecord("7", "霜草"_sj) + "\r\n";
        writeFileBytes(dataPath(), m_original);
    }
    void TearDown() override { setOpenErrorHandler(nullptr); }

    std::string dataPath() const { return m_dir.file("vornik.txt"); }
    std::string memoPath() const { return m_dir.file("vornik_memo.txt"); }
    std::string data() const { return readFileBytes(dataPath()); }

    EditedRecord swordInputs() const
    {
        EditedRecord edited;
        edited.name = "星鉄の剣×2"_sj;
        edited.materialEntries = { "霜草×3"_sj, "月光石"_sj };
        edited.crystalName = "炎"_sj;
        edited.skillName = "鍛冶"_sj;
        edited.rankName = "見習い"_sj;
        edited.description = "（片手剣）\r\nLv10"_sj;
        edited.stackable = true;
        edited.desynth = "霜草×1"_sj;
        return edited;
    }

    test::TempProgramDir m_dir;
    std::string m_original;
    int m_openErrors = 0;
};

} // namespace

TEST_F(DialogsStore, NewRecordGetsTheNextIdAndItsMemo)
{
    StorageError error;
    currentRecord() = RecipeRecord();
    currentRecord().id() = "3"; // left over from an earlier scan
    StoreTarget target;
    ASSERT_EQ(storeEditedRecord(swordInputs(), "一行目\r\n二行目"_sj, target, error), StoreOutcome::Stored);
    EXPECT_FALSE(target.isNew);
    EXPECT_EQ(target.id, "8");

    const std::string expected = "8,"s + "星鉄の剣 2"_sj + "," + "霜草,霜草,霜草,"_sj + "月光石"_sj
        + ",,,,,1," + std::string(30, ',') + "<><>,1,2," + "（片手剣）<br>Lv10"_sj + ",0,0,1," + "霜草 1"_sj
        + ",\r\n";
    EXPECT_EQ(data(), m_original + expected);
    EXPECT_EQ(readFileBytes(memoPath()), "8,"s + "一行目<br>二行目"_sj + "\r\n");
}

TEST_F(DialogsStore, EditRewritesInPlaceAndKeepsTheLevels)
{
    StorageError error;
    RecipeRecord& record = currentRecord();
    record = RecipeRecord();
    record.id() = "3";
    record.name() = "灰樫材"_sj;
    record.material(1) = "old";
    record.needLevel(2) = "?";
    record.capLevel(2) = "?";
    record.skillUsed(2) = "1";
    record.reserved() = "kept?";

    EditedRecord edited = swordInputs();
    edited.materialEntries = { "A", "B×2"_sj };
    edited.hq = { "a×2"_sj, "", "c" };
    edited.skillName = "";
    StoreTarget target;
    target.isNew = false;
    target.id = "3";
    ASSERT_EQ(storeEditedRecord(edited, "", target, error), StoreOutcome::Stored);

    // The cap "?" is not a number and is emptied; the needed "?" stays.
    const std::string expected = "3,"s + "星鉄の剣 2"_sj
        + ",A,B,B,,,,,,1,,1,,,,,,,,,,?,,,,,,,,,,,,,,,,,,,a 2<><>c,0,2," + "（片手剣）<br>Lv10"_sj + ",0,0,1,"
        + "霜草 1"_sj + ",\r\n";
    EXPECT_EQ(data(), expected + namedRecord("7", "霜草"_sj) + "\r\n");
    EXPECT_EQ(readFileBytes(memoPath()), "3,\r\n");
}

TEST_F(DialogsStore, RefusalsComeBeforeAnyWrite)
{
    StorageError error;
    RecipeRecord& record = currentRecord();
    record = RecipeRecord();
    record.id() = "3";
    record.name() = "灰樫材"_sj;
    const RecipeRecord before = record;
    StoreTarget target;
    target.isNew = false;
    target.id = "3";

    EditedRecord tooMany = swordInputs();
    tooMany.materialEntries = { "A×8"_sj, "B" };
    EXPECT_EQ(storeEditedRecord(tooMany, "", target, error), StoreOutcome::TooManyMaterials);
    EXPECT_EQ(
        storeEditedRecord(swordInputs(), std::string(1001, 'm'), target, error), StoreOutcome::MemoTooLong);
    EXPECT_EQ(data(), m_original);
    EXPECT_FALSE(std::filesystem::exists(memoPath()));
    EXPECT_EQ(currentRecord().fields(), before.fields());

    // Exactly at the limits is fine; a count below 1 takes no slot.
    EditedRecord eight = swordInputs();
    eight.materialEntries = { "A×7"_sj, "B", "C×0"_sj };
    EXPECT_EQ(storeEditedRecord(eight, std::string(1000, 'm'), target, error), StoreOutcome::Stored);
    EXPECT_EQ(currentRecord().material(8), "B");
}

TEST_F(DialogsStore, FailedStoresAreReportedAndANewRecordIsStoredOnce)
{
    StorageError error;
    // A folder where the temporary file should go makes the rewrite fail.
    std::filesystem::create_directory(m_dir.path() / "temp.dat");
    StoreTarget target;
    currentRecord().assignLine(namedRecord("7", "霜草"_sj));
    const RecipeRecord shown = currentRecord();
    EXPECT_EQ(storeEditedRecord(swordInputs(), "memo", target, error), StoreOutcome::RecordFailed);
    EXPECT_FALSE(error.text.empty());
    EXPECT_TRUE(target.isNew);
    EXPECT_EQ(data(), m_original);
    // Closing the dialog now asks only about what the user typed.
    EXPECT_EQ(currentRecord().fields(), shown.fields());
    StoreTarget edit;
    edit.isNew = false;
    edit.id = "7";
    error = StorageError();
    EXPECT_EQ(storeEditedRecord(swordInputs(), "", edit, error), StoreOutcome::RecordFailed);
    EXPECT_EQ(currentRecord().fields(), shown.fields());
    std::filesystem::remove(m_dir.path() / "temp.dat");

    std::filesystem::create_directory(m_dir.path() / "temp2.dat");
    error = StorageError();
    EXPECT_EQ(storeEditedRecord(swordInputs(), "memo", target, error), StoreOutcome::MemoFailed);
    EXPECT_FALSE(error.text.empty());
    EXPECT_FALSE(target.isNew);
    EXPECT_EQ(target.id, "8");
    std::filesystem::remove(m_dir.path() / "temp2.dat");

    // The second OK stores the same record again, not a second copy.
    EXPECT_EQ(storeEditedRecord(swordInputs(), "memo", target, error), StoreOutcome::Stored);
    const std::string stored = data();
    EXPECT_EQ(stored.find("\r\n8,"), stored.rfind("\r\n8,"));
    EXPECT_EQ(stored.find("\r\n9,"), std::string::npos);
    EXPECT_EQ(readFileBytes(memoPath()), "8,memo\r\n");

    // An unreadable data file: the open error is reported, nothing is added.
    std::filesystem::remove(dataPath());
    StoreTarget fresh;
    EXPECT_EQ(storeEditedRecord(swordInputs(), "", fresh, error), StoreOutcome::RecordFailed);
    EXPECT_GE(m_openErrors, 1);
    EXPECT_FALSE(std::filesystem::exists(dataPath()));
}

namespace {

// What the edit dialog's inputs show for a stored line, as it fills them.
EditedRecord shownInputs(const std::string& storedLine)
{
    RecipeRecord record;
    record.assignLine(storedLine.substr(0, storedLine.size() - 2));
    EditedRecord shown;
    shown.name = blanksAsTimes(record.name());
    shown.materialEntries = materialEntries(materialSummary(MaterialForm::Display, record));
    shown.skillName = skillName(textToInt(record.skill()));
    shown.crystalName = showsCrystal(shown.skillName) ? crystalName(textToInt(record.crystal())) : "";
    shown.rankName = rankName(textToInt(record.rank()));
    for (int n = 1; n <= 3; ++n)
        shown.hq[static_cast<std::size_t>(n - 1)] = blanksAsTimes(hqPart(n, record));
    shown.description = descriptionForDisplay(record.description());
    shown.ex = record.ex() == "1";
    shown.rare = record.rare() == "1";
    shown.stackable = record.stackable() == "1";
    shown.desynth = blanksAsTimes(record.desynth());
    return shown;
}

} // namespace

TEST_F(DialogsStore, UntouchedFieldsKeepTheirStoredBytes)
{
    StorageError error;
    // 0x85 0x40 is no Shift-JIS character: the name box gives it back as "?".
    // A slot "月光石×2" reads like two units of 月光石 in the list, and an hq
    // without "<>" shows in all three boxes.
    using namespace field;
    const std::vector<test::Field> fields { { Id, "03" }, { Name, "灰"_sj + "\x85\x40" + "樫 2"_sj },
        { Material1, "霜草"_sj }, { Material1 + 2, "霜草"_sj }, { Material1 + 1, "月光石×2"_sj },
        { Crystal, "1" }, { SkillUsed1, "1" }, { NeedLevel1, " 10" }, { Hq, "アクアリング+1"_sj },
        { Skill, "1" }, { Description, "&gt%20説明"_sj }, { Desynth, "霜草%201"_sj },
        { Reserved, "予備"_sj } };
    auto lineWith = [&fields](int pos, const std::string& value) {
        std::vector<test::Field> changed = fields;
        if (pos >= 0)
            changed.emplace_back(pos, value);
        return test::recordLine(changed);
    };
    const std::string stored = lineWith(-1, "");

    struct Case {
        const char* what;
        std::function<void(EditedRecord&)> change;
        std::string expected;
    };
    const Case cases[] = {
        { "nothing changed", [](EditedRecord&) {}, stored },
        { "only the rank", [](EditedRecord& e) { e.rankName = "見習い"_sj; }, lineWith(Rank, "2") },
        { "only the name", [](EditedRecord& e) { e.name = "灰樫"_sj; }, lineWith(Name, "灰樫"_sj) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFileBytes(dataPath(), stored + namedRecord("7", "霜草"_sj) + "\r\n");
        StoreTarget target;
        target.isNew = false;
        target.id = "03";
        target.storedLine = findStoredLine("03");
        target.shown = shownInputs(stored);
        target.shown->name = "灰?樫×2"_sj;
        currentRecord().assignLine(*target.storedLine);
        EditedRecord edited = *target.shown;
        c.change(edited);
        ASSERT_EQ(storeEditedRecord(edited, "", target, error), StoreOutcome::Stored);
        EXPECT_EQ(data(), c.expected + namedRecord("7", "霜草"_sj) + "\r\n");
    }
}
