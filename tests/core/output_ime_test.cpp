#include "output/core/ime_dictionary.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/vocabulary.h"
#include "tests/support/fault_injection.h"
#include "tests/support/refusing_buffer.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace vornik;

namespace {

class ImeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        crystalVocabulary().clear();
        crystalVocabulary().set(3, "K");
        crystalVocabulary().set(4, "土"_sj);
        imeVocabulary().clear();
        imeVocabulary().set(1, "＠かじ"_sj);
    }
    void TearDown() override { setOpenErrorHandler({}); }

    static RecipeRecord recipe(std::string id, std::string name, std::vector<std::string> materials,
        std::string skill = "1", std::string rank = "12")
    {
        RecipeRecord r;
        r.id() = std::move(id);
        r.name() = std::move(name);
        for (std::size_t i = 0; i < materials.size(); ++i)
            r.material(static_cast<int>(i) + 1) = materials[i];
        r.crystal() = "3";
        r.skill() = std::move(skill);
        r.rank() = std::move(rank);
        return r;
    }

    static void writeDataFile(const test::TempProgramDir& dir, const std::vector<RecipeRecord>& records)
    {
        std::string bytes;
        for (const RecipeRecord& r : records)
            bytes += joinFields(r) + "\r\n";
        test::writeFileBytes(dir.file("vornik.txt"), bytes);
    }
};

} // namespace

TEST_F(ImeTest, WordIsNameCrystalAndCompactMaterials)
{
    EXPECT_EQ(imeWord(recipe("1", "N", { "A", "A", "B" })), "NKA2B1");
    EXPECT_EQ(imeWord(recipe("1", "N", { "A", "B", "A" })), "NKA1B1A1");
    RecipeRecord earth = recipe("1", "土鍋"_sj, { "粘土"_sj });
    earth.crystal() = "4";
    EXPECT_EQ(imeWord(earth), "土鍋土粘土1"_sj);
}

TEST_F(ImeTest, WordOver60BytesIsCutAtACharacter)
{
    // name + "K" + "A1": 57 name bytes give exactly 60.
    EXPECT_EQ(imeWord(recipe("1", std::string(57, 'x'), { "A" })), std::string(57, 'x') + "KA1");
    EXPECT_EQ(imeWord(recipe("1", std::string(58, 'x'), { "A" })), std::string(58, 'x') + "K.");
    // Byte 59 is the lead byte of "鉄": the character goes whole.
    EXPECT_EQ(imeWord(recipe("1", std::string(58, 'x') + "鉄"_sj, { "A" })), std::string(58, 'x') + ".");
    // Bytes 58 and 59 hold "鉄": it stays.
    EXPECT_EQ(imeWord(recipe("1", std::string(57, 'x') + "鉄"_sj, { "A" })), std::string(57, 'x') + "鉄."_sj);
    // All double-byte: 30 characters fit in 60 bytes, 31 are cut to 29 + ".".
    std::string name;
    for (int i = 0; i < 31; ++i)
        name += "銀"_sj;
    EXPECT_EQ(imeWord(recipe("1", name, { "A" })), name.substr(0, 58) + ".");
}

TEST_F(ImeTest, TwoLinesPerRecipeReadingFirst)
{
    EXPECT_EQ(imeDictionaryLines(recipe("1", "N", { "A", "A", "B" })),
        "＠かじ\tNKA2B1\t顔文字\t【ユーザー】\r\n＠かじ12\tNKA2B1\t顔文字\t【ユーザー】\r\n"_sj);
    // A skill without a reading still gets its lines, under "-".
    EXPECT_EQ(imeDictionaryLines(recipe("1", "N", { "A" }, "5", "3")),
        "-\tNKA1\t顔文字\t【ユーザー】\r\n-3\tNKA1\t顔文字\t【ユーザー】\r\n"_sj);
}

TEST_F(ImeTest, ExportsEveryRecipeWithAFirstMaterialInFileOrder)
{
    test::TempProgramDir dir;
    RecipeRecord noFirst = recipe("2", "Q", { "", "A" });
    writeDataFile(dir, { recipe("1", "N", { "A", "A", "B" }), noFirst, recipe("3", "M", { "C" }, "5", "3") });
    const std::string path = dir.file("dict.txt");
    test::writeFileBytes(path, std::string(3000, 'z'));

    std::string error;
    ASSERT_EQ(writeImeDictionaryFile(path, error), ImeExportResult::Written) << error;
    EXPECT_EQ(test::readFileBytes(path),
        "＠かじ\tNKA2B1\t顔文字\t【ユーザー】\r\n＠かじ12\tNKA2B1\t顔文字\t【ユーザー】\r\n"
        "-\tMKC1\t顔文字\t【ユーザー】\r\n-3\tMKC1\t顔文字\t【ユーザー】\r\n"_sj);

    writeDataFile(dir, { noFirst });
    ASSERT_EQ(writeImeDictionaryFile(path, error), ImeExportResult::Written);
    EXPECT_EQ(test::readFileBytes(path), "");
}

TEST_F(ImeTest, FailuresAreToldApart)
{
    test::TempProgramDir dir;
    std::string error;
    bool openErrorShown = false;
    setOpenErrorHandler([&openErrorShown](const std::string&) { openErrorShown = true; });
    // Without a data file an earlier dictionary is kept as it was.
    const std::string path = dir.file("dict.txt");
    test::writeFileBytes(path, "earlier");
    EXPECT_EQ(writeImeDictionaryFile(path, error), ImeExportResult::DataFileNotOpened);
    EXPECT_TRUE(openErrorShown);
    EXPECT_EQ(test::readFileBytes(path), "earlier");

    writeDataFile(dir, { recipe("1", "N", { "A" }) });
    error.clear();
    EXPECT_EQ(writeImeDictionaryFile(dir.file("missing/dict.txt"), error), ImeExportResult::CannotCreate);
    EXPECT_NE(error.find("missing"), std::string::npos);

    if (std::filesystem::exists("/dev/full")) {
        error.clear();
        EXPECT_EQ(writeImeDictionaryFile("/dev/full", error), ImeExportResult::WriteFailed);
        EXPECT_FALSE(error.empty());
    }

    test::RefusingBuffer refusing;
    std::ostream broken(&refusing);
    EXPECT_EQ(writeImeDictionary(broken, error), ImeExportResult::WriteFailed);
    // The scan was closed: the next export can open the data file again.
    std::ostringstream good;
    EXPECT_EQ(writeImeDictionary(good, error), ImeExportResult::Written);
    EXPECT_EQ(
        good.str(), "＠かじ\tNKA1\t顔文字\t【ユーザー】\r\n＠かじ12\tNKA1\t顔文字\t【ユーザー】\r\n"_sj);
}

TEST_F(ImeTest, AReadErrorPartWayIsNoSuccess)
{
    test::TempProgramDir dir;
    writeDataFile(dir, { recipe("1", "N", { "A" }) });
    bool sawReadFailure = false;
    for (int failAt = 1;; ++failAt) {
        test::FaultInjector injector(failAt, EIO);
        std::ostringstream out;
        ImeExportResult result;
        std::string error;
        {
            test::ScopedFileOps installed(injector);
            result = writeImeDictionary(out, error);
        }
        if (!injector.fired()) {
            EXPECT_EQ(result, ImeExportResult::Written);
            break;
        }
        if (injector.failedCall() == "open") {
            EXPECT_EQ(result, ImeExportResult::DataFileNotOpened);
        } else if (injector.failedCall() == "read") {
            sawReadFailure = true;
            EXPECT_EQ(result, ImeExportResult::DataFileUnreadable) << "call " << failAt;
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_TRUE(sawReadFailure);
}
