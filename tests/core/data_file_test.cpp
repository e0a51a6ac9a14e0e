#include "storage/data_file.h"

#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "storage/field_codec.h"
#include "storage/file_encoding.h"
#include "storage/line_reader.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "tests/support/fault_injection.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace vornik {
namespace {

using test::namedRecord;
using test::readAllRecords;
using test::readFileBytes;
using test::setCurrent;
using test::TempProgramDir;
using test::writeFileBytes;

std::string commas(int n)
{
    return std::string(static_cast<std::size_t>(n), ',');
}

StorageError error;
std::vector<std::string> ids(const std::vector<RecipeRecord>& records)
{
    std::vector<std::string> out;
    for (const RecipeRecord& record : records)
        out.push_back(record.id());
    return out;
}

std::vector<std::string> linesOf(const std::string& path, std::size_t bufferSize)
{
    LineReader reader(bufferSize);
    std::vector<std::string> lines;
    if (!reader.open(path))
        return lines;
    std::string_view line;
    while (reader.readLine(line))
        lines.emplace_back(line);
    return lines;
}

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOpenErrorHandler([this](const std::string& path) { m_openErrors.push_back(path); });
    }
    void TearDown() override { setOpenErrorHandler(nullptr); }

    std::string dataPath() const { return m_dir.file("vornik.txt"); }
    std::string data() const { return readFileBytes(dataPath()); }
    void writeData(const std::string& bytes) const { writeFileBytes(dataPath(), bytes); }
    bool tempLeft() const { return std::filesystem::exists(m_dir.path() / "temp.dat"); }

    TempProgramDir m_dir;
    std::vector<std::string> m_openErrors;
};

TEST_F(DataFileTest, LineEndsOfEveryKindReadTheSame)
{
    const std::string a = namedRecord("1", "Alpha");
    const std::string b = namedRecord("2", "Beta");
    std::vector<std::vector<std::string>> seen;
    for (const std::string& bytes : { a + "\r\n" + b + "\r\n", a + "\n" + b + "\n", a + "\r\n" + b }) {
        writeData(bytes);
        std::vector<std::string> names;
        for (const RecipeRecord& record : readAllRecords())
            names.push_back(record.id() + ":" + record.name());
        seen.push_back(names);
    }
    const std::vector<std::string> expected = { "1:Alpha", "2:Beta" };
    for (const auto& names : seen)
        EXPECT_EQ(names, expected);
}

TEST_F(DataFileTest, LineReaderHandlesLinesAcrossItsBuffer)
{
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; i < 200; ++i) {
        // Never empty: a lone CR before an empty line's LF would be a CR LF.
        std::string line(static_cast<std::size_t>(i * 7 % 53 + 1), static_cast<char>('a' + i % 26));
        if (i % 7 == 0)
            line += std::string("\0\x83", 2); // NUL and a stray lead byte stay
        expected.push_back(line);
        // LF, CR LF and a lone CR each end a line.
        bytes += line + (i % 5 != 0 ? "\n" : (i % 3 != 0 ? "\r\n" : "\r"));
    }
    bytes += "last\rline"; // the last line has no line end
    expected.push_back("last");
    expected.push_back("line");
    writeData(bytes);
    for (std::size_t bufferSize : { 16u, 17u, 64u, 4096u })
        EXPECT_EQ(linesOf(dataPath(), bufferSize), expected) << "buffer " << bufferSize;

    writeData("");
    EXPECT_TRUE(linesOf(dataPath(), 16).empty());
    writeData("\n\r\n");
    EXPECT_EQ(linesOf(dataPath(), 16), (std::vector<std::string> { "", "" }));
}

TEST_F(DataFileTest, ReadsLinesOfManyMegabytes)
{
    const std::string huge(5 * 1024 * 1024, 'm');
    writeData(namedRecord("1", "a") + "\r\n2," + huge + ",x\r\n" + namedRecord("3", "c"));
    const std::vector<RecipeRecord> records = readAllRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].name(), huge);
    EXPECT_EQ(records[1].material(1), "x");
    EXPECT_EQ(records[2].name(), "c");
}

TEST_F(DataFileTest, EndOfFileLeavesTheCurrentRecordAlone)
{
    StorageError error;
    writeData(namedRecord("4", "Only"));
    ASSERT_TRUE(openDataFile(error));
    ASSERT_TRUE(readNextRecord(error));
    EXPECT_FALSE(readNextRecord(error));
    closeDataFile();
    EXPECT_EQ(currentRecord().id(), "4");
    EXPECT_EQ(currentRecord().name(), "Only");
}

TEST_F(DataFileTest, MissingFileCallsTheOpenErrorHandler)
{
    StorageError error;
    EXPECT_FALSE(openDataFile(error));
    ASSERT_EQ(m_openErrors.size(), 1u);
    EXPECT_EQ(m_openErrors[0], dataPath());
    EXPECT_FALSE(error.text.empty());

    setCurrent("1", "New");
    EXPECT_FALSE(saveRecord(error));
    EXPECT_FALSE(deleteRecord(error));
    EXPECT_EQ(m_openErrors.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(dataPath()));
    EXPECT_FALSE(tempLeft());

    EXPECT_EQ(nextRecordId(), "1");
}

// The error of each call says whether the handler already told the user, so
// the caller shows no second message; without a handler nobody has.
TEST_F(DataFileTest, AnOpenErrorIsMarkedShownOnlyWhenAHandlerToldIt)
{
    const std::function<bool(StorageError&)> calls[] = {
        [](StorageError& error) { return openDataFile(error); },
        [](StorageError& error) { return saveRecord(error); }, // told after the locks are released
        [](StorageError& error) { return saveNewRecord(error); },
    };
    for (const bool handler : { true, false }) {
        if (!handler)
            setOpenErrorHandler(nullptr);
        for (const auto& call : calls) {
            StorageError error;
            EXPECT_FALSE(call(error));
            EXPECT_FALSE(error.text.empty());
            EXPECT_EQ(error.shown, handler);
        }
    }
    EXPECT_EQ(m_openErrors.size(), 3u);
}

TEST_F(DataFileTest, SaveReplacesEveryLineWithTheIdAndCopiesTheRestByteForByte)
{
    StorageError error;
    const std::string odd = std::string("8,odd\0name\x83", 12) + commas(3) + ",%20x";
    writeData(namedRecord("7", "Old") + "\n" + namedRecord("07", "Other") + "\n" + odd + "\n"
        + namedRecord("7", "Dup") + "\n" + namedRecord("9", "Last"));
    setCurrent("7", "New×2"_sj);
    ASSERT_TRUE(saveRecord(error)) << error.text;

    const std::string newLine = "7,New 2" + commas(kFieldCount - 2);
    EXPECT_EQ(data(),
        newLine + "\r\n" + namedRecord("07", "Other") + "\r\n" + odd + "\r\n" + newLine + "\r\n"
            + namedRecord("9", "Last") + "\r\n");
    EXPECT_FALSE(tempLeft());
}

TEST_F(DataFileTest, FilesInAnotherEncodingAreNeverWritten)
{
    StorageError error;
    // "1,A" and the rest of a line as an editor saves it in other encodings.
    std::string utf16;
    for (const char c : namedRecord("1", "A") + "\r\n")
        utf16 += std::string { c, '\0' };
    const std::string files[]
        = { "\xFF\xFE" + utf16, utf16, "\xEF\xBB\xBF" + namedRecord("1", "A") + "\r\n" };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 4));
        writeData(bytes);
        setCurrent("1", "B");
        EXPECT_FALSE(saveRecord(error));
        // The message says how to convert it with the tools of this system.
        const std::string_view encoding = foreignEncodingOfFile(dataFilePath()).value_or("?");
        EXPECT_NE(error.text.find(sjisConversionHint(encoding)), std::string::npos) << error.text;
        setCurrent("", "C");
        EXPECT_FALSE(saveNewRecord(error));
        setCurrent("1", "");
        EXPECT_FALSE(deleteRecord(error));
        EXPECT_EQ(data(), bytes);
        EXPECT_FALSE(tempLeft());
    }
}

TEST_F(DataFileTest, SaveAppendsAnUnknownId)
{
    StorageError error;
    writeData(namedRecord("1", "A"));
    setCurrent("12", "B");
    ASSERT_TRUE(saveRecord(error));
    EXPECT_EQ(data(), namedRecord("1", "A") + "\r\n" + namedRecord("12", "B") + "\r\n");
}

TEST_F(DataFileTest, DeleteRemovesEveryLineWithTheIdOnly)
{
    StorageError error;
    writeData(namedRecord("3", "A") + "\n" + namedRecord("03", "B") + "\n" + namedRecord("3", "C") + "\n"
        + namedRecord(" 8", "D") + "\n" + namedRecord("abc", "E") + "\n" + namedRecord("99999999999", "F"));
    const std::string before = data();
    std::size_t removed = 9;
    for (const char* absent : { "8", "03 ", "99999999998" }) {
        setCurrent(absent, "");
        ASSERT_TRUE(deleteRecord(removed, error)) << absent;
        EXPECT_EQ(removed, 0u) << absent;
        EXPECT_EQ(data(), before) << "not even rewritten for " << absent;
    }
    setCurrent("3", "");
    ASSERT_TRUE(deleteRecord(removed, error));
    EXPECT_EQ(removed, 2u);
    EXPECT_EQ(data(),
        namedRecord("03", "B") + "\r\n" + namedRecord(" 8", "D") + "\r\n" + namedRecord("abc", "E") + "\r\n"
            + namedRecord("99999999999", "F") + "\r\n");
    for (const char* id : { " 8", "abc", "99999999999", "03" }) {
        setCurrent(id, "");
        ASSERT_TRUE(deleteRecord(removed, error)) << id;
        EXPECT_EQ(removed, 1u) << id;
    }
    EXPECT_EQ(data(), "");
    EXPECT_FALSE(tempLeft());
}

TEST_F(DataFileTest, NextRecordIdNeverHandsOutAnIdInUse)
{
    struct Case {
        std::vector<std::string> firstFields;
        std::string expected;
    };
    const std::vector<Case> cases = {
        { {}, "1" },
        { { "3", "10", "2" }, "11" },
        { { "-1" }, "1" },
        { { "-1", "5" }, "6" },
        { { "abc", "" }, "1" },
        { { " 12", "7x" }, "13" },
        // Too large for an int: the smallest positive id no line uses.
        { { "4294967295", "1", "2" }, "3" },
        { { "99999999999", "2" }, "1" },
        { { "2147483647", "1", "3" }, "2" },
        { { "2147483646" }, "2147483647" },
    };
    for (const Case& c : cases) {
        std::string bytes;
        for (const std::string& id : c.firstFields)
            bytes += id + ",name\r\n";
        writeData(bytes);
        EXPECT_EQ(nextRecordId(), c.expected) << bytes;
    }
}

TEST_F(DataFileTest, SaveNewRecordTakesTheNextIdAndAppends)
{
    StorageError error;
    writeData(namedRecord("5", "A") + "\r\n" + namedRecord("-1", "Broken") + "\r\n" + namedRecord("2", "B"));
    setCurrent("", "C");
    ASSERT_TRUE(saveNewRecord(error)) << error.text;
    EXPECT_EQ(currentRecord().id(), "6");
    setCurrent("", "D");
    ASSERT_TRUE(saveNewRecord(error));
    EXPECT_EQ(ids(readAllRecords()), (std::vector<std::string> { "5", "-1", "2", "6", "7" }));

    writeData(namedRecord("2147483647", "Max") + "\r\n" + namedRecord("1", "One") + "\r\n");
    setCurrent("", "E");
    ASSERT_TRUE(saveNewRecord(error));
    EXPECT_EQ(currentRecord().id(), "2");
}

TEST_F(DataFileTest, WorksWithPathsLongerThan260Bytes)
{
    StorageError error;
    std::filesystem::path folder = m_dir.path();
    for (int i = 0; i < 6; ++i)
        folder /= std::string(60, static_cast<char>('a' + i));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "long.txt").string();
    ASSERT_GT(path.size(), 260u);
    ASSERT_TRUE(writeIniString("system", "file", path));
    ASSERT_EQ(dataFilePath(), path);
    writeFileBytes(path, namedRecord("1", "Far"));

    setCurrent("2", "Away");
    ASSERT_TRUE(saveRecord(error)) << error.text;
    EXPECT_EQ(ids(readAllRecords()), (std::vector<std::string> { "1", "2" }));
    EXPECT_TRUE(m_openErrors.empty());
}

// Every file call of a save made to fail in turn: the save reports it, the
// data file keeps its old content, and a partial temporary file is not left
// behind. When the new content was complete, it stays in temp.dat.
TEST_F(DataFileTest, FailureAtEveryStepKeepsTheOldFile)
{
    const std::string old = namedRecord("1", "A") + "\r\n" + namedRecord("2", "B") + "\r\n";
    const std::string updated = namedRecord("1", "A") + "\r\n" + namedRecord("2", "Changed") + "\r\n";
    for (const bool shortWrite : { false, true }) {
        for (int k = 1;; ++k) {
            writeData(old);
            std::filesystem::remove(m_dir.path() / "temp.dat");
            test::FaultInjector injector(k, ENOSPC, shortWrite);
            bool saved = false;
            StorageError error;
            {
                test::ScopedFileOps installed(injector);
                setCurrent("2", "Changed");
                saved = saveRecord(error);
            }
            if (!injector.fired()) {
                EXPECT_TRUE(saved);
                EXPECT_GT(k, 8); // lock, create, read, write, sync, close, rename ...
                break;
            }
            const std::string at = "call " + std::to_string(k) + " (" + injector.failedCall() + ")";
            if (saved) {
                // Only what follows the rename may fail without failing the save.
                EXPECT_EQ(data(), updated) << at;
                EXPECT_FALSE(tempLeft()) << at;
                continue;
            }
            EXPECT_EQ(data(), old) << at;
            EXPECT_FALSE(error.text.empty()) << at;
            if (tempLeft()) {
                EXPECT_EQ(readFileBytes(m_dir.path() / "temp.dat"), updated) << at;
            }
            if (injector.failedCall() == "rename") {
                EXPECT_TRUE(tempLeft()) << at;
            }

            setCurrent("2", "Changed");
            StorageError nextError;
            ASSERT_TRUE(saveRecord(nextError)) << at << ": " << nextError.text;
            EXPECT_EQ(data(), updated) << at;
            EXPECT_FALSE(tempLeft()) << at;
            EXPECT_TRUE(nextError.text.empty()) << at;
        }
    }
}

TEST_F(DataFileTest, ReplacesAcrossFileSystemsThroughATempBesideTheTarget)
{
    StorageError error;
    writeData(namedRecord("1", "A") + "\r\n");
    test::FaultInjector counter;
    {
        test::ScopedFileOps installed(counter);
        setCurrent("2", "B");
        ASSERT_TRUE(saveRecord(error));
    }
    const auto& log = counter.log();
    const auto rename = std::find(log.begin(), log.end(), "rename");
    ASSERT_NE(rename, log.end());

    writeData(namedRecord("1", "A") + "\r\n");
    test::FaultInjector crossDevice(static_cast<int>(rename - log.begin()) + 1, EXDEV);
    {
        test::ScopedFileOps installed(crossDevice);
        setCurrent("2", "B");
        ASSERT_TRUE(saveRecord(error)) << error.text;
    }
    EXPECT_EQ(crossDevice.failedCall(), "rename");
    EXPECT_EQ(data(), namedRecord("1", "A") + "\r\n" + namedRecord("2", "B") + "\r\n");
    EXPECT_FALSE(tempLeft());
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.path()))
        EXPECT_TRUE(entry.path().extension() != ".tmp") << entry.path();
}

} // namespace
} // namespace vornik
