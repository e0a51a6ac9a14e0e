// Files as users' editors and accidents leave them, in place of the data
// file, the memo file and the memo pad: reading never crashes, a refused or
// failed write says why, and no byte the user did not change is changed.
#include "app/core/scan.h"
#include "platform/native_path.h"
#include "platform/sjis_codec.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/file_encoding.h"
#include "storage/memo_file.h"
#include "storage/memo_pad.h"
#include "storage/paths.h"
#include "tests/support/encoded_text.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace vornik {
namespace {

using test::readFileBytes;
using test::recordLine;
using test::TempProgramDir;
using test::utf16;
using test::utf8;
using test::writeFileBytes;

enum class Outcome {
    Refused, // another encoding: nothing written, the message says how to convert
    Failed, // cannot be written at all: a file error
    Kept, // written; every line that was there is still there byte for byte
};

struct HostileFile {
    const char* what;
    std::string bytes; // ignored for a folder
    bool folder;
    Outcome outcome;
};

enum class Target { DataFile, MemoFile, MemoPad };

std::string targetPath(Target target)
{
    switch (target) {
    case Target::DataFile:
        return dataFilePath();
    case Target::MemoFile:
        return memoFilePath();
    case Target::MemoPad:
        return memoPadPath();
    }
    return {};
}

// Reads every file as the program does when it opens or searches, twice.
void readAsTheProgramDoes()
{
    for (int i = 0; i < 2; ++i) {
        StorageError ignored;
        if (openDataFile(ignored)) {
            while (readNextRecord(ignored)) { }
            closeDataFile();
        }
        readMemo("1");
        noticeForeignFile(memoPadPath());
        loadMemoPadText();
    }
}

// Writes as the user's change would: a new record, a memo, the pad.
bool writeAsTheUserDoes(Target target, StorageError& error)
{
    switch (target) {
    case Target::DataFile: {
        RecipeRecord& record = currentRecord();
        record = RecipeRecord();
        record.id() = "5";
        record.name() = "New";
        return saveRecord(error);
    }
    case Target::MemoFile:
        return saveMemo("5", "note", error);
    case Target::MemoPad:
        return saveMemoPadLines({ "pad" }, error);
    }
    return false;
}

TEST(HostileFiles, ReadSafelyAndNeverDamaged)
{
    const std::string line = "1,"_sj + "鋼の剣"_sj + ",,,";
    const HostileFile files[] = {
        { "UTF-8 without byte-order mark", utf8(u8"1,鋼の剣,アイアンインゴット\r\n2,銅の盾\r\n"), false,
            Outcome::Refused },
        { "UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8(u8"1,鋼の剣\r\n"), false, Outcome::Refused },
        { "UTF-16LE", "\xFF\xFE" + utf16("1,A\r\n", false), false, Outcome::Refused },
        { "UTF-16BE", "\xFE\xFF" + utf16("1,A\r\n", true), false, Outcome::Refused },
        { "UTF-16LE without byte-order mark", utf16("1,A\r\n", false), false, Outcome::Refused },
        { "invalid Shift-JIS bytes", line + "\x80\xFF\x81\r\n", false, Outcome::Kept },
        { "empty file", "", false, Outcome::Kept },
        { "last line without an end", "3,x\r\n" + line, false, Outcome::Kept },
        { "a folder in place of the file", "", true, Outcome::Failed },
    };
    for (const Target target : { Target::DataFile, Target::MemoFile, Target::MemoPad }) {
        for (const HostileFile& file : files) {
            SCOPED_TRACE(std::string(file.what) + " as file " + std::to_string(static_cast<int>(target)));
            TempProgramDir dir;
            std::map<std::string, int> told;
            setForeignFileHandler([&told](const std::string& path, std::string_view) { ++told[path]; });
            setOpenErrorHandler([](const std::string&) {});
            // The data file holds one record unless it is the one tested.
            if (target != Target::DataFile)
                writeFileBytes(dataFilePath(), recordLine({ { 0, "1" }, { 1, "A" } }));
            const std::string path = targetPath(target);
            if (file.folder)
                std::filesystem::create_directory(path);
            else
                writeFileBytes(path, file.bytes);

            readAsTheProgramDoes();
            StorageError error;
            const bool written = writeAsTheUserDoes(target, error);
            setForeignFileHandler(nullptr);
            setOpenErrorHandler(nullptr);

            EXPECT_EQ(told.size(), file.outcome == Outcome::Refused ? 1u : 0u);
            if (file.outcome == Outcome::Refused) {
                EXPECT_EQ(told[path], 1) << "told once, not at every search";
            }
            EXPECT_EQ(written, file.outcome == Outcome::Kept) << error.text;
            EXPECT_TRUE(std::filesystem::is_directory(path) == file.folder);
            const std::string now = file.folder ? std::string() : readFileBytes(path);
            switch (file.outcome) {
            case Outcome::Refused:
                EXPECT_NE(error.text.find(sjisConversionHint(foreignEncodingOfFile(path).value_or("?"))),
                    std::string::npos)
                    << error.text;
                EXPECT_EQ(now, file.bytes);
                break;
            case Outcome::Failed:
                EXPECT_NE(error.text.find(pathForMessage(path)), std::string::npos) << error.text;
                break;
            case Outcome::Kept:
                // The pad is the user's text as a whole; the other files keep
                // every line they had, a last line only gains its line end.
                if (target != Target::MemoPad) {
                    std::string kept = file.bytes;
                    if (!kept.empty() && !kept.ends_with("\n"))
                        kept += "\r\n";
                    EXPECT_EQ(now.substr(0, kept.size()), kept);
                    EXPECT_GT(now.size(), kept.size());
                }
                break;
            }
            EXPECT_FALSE(std::filesystem::exists(dir.path() / "temp.dat"));
            EXPECT_FALSE(std::filesystem::exists(dir.path() / "temp2.dat"));
        }
    }
}

} // namespace
} // namespace vornik

namespace vornik {
namespace {

// A file saved as UTF-8 or UTF-16 is searched and read as the text it holds;
// a character Shift-JIS lacks shows as "?" and the file keeps its bytes.
TEST(HostileFiles, ForeignTextIsReadAsItsText)
{
    const std::u16string text = u"1,鋼の剣,x\r\n2,銅の盾😀\r\n";
    const std::string utf8Text = utf8(u8"1,鋼の剣,x\r\n2,銅の盾😀\r\n");
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        { "UTF-8", utf8Text },
        { "UTF-8 with byte-order mark", "\xEF\xBB\xBF" + utf8Text },
        { "UTF-16LE with byte-order mark", "\xFF\xFE" + utf16(text, false) },
        { "UTF-16BE with byte-order mark", "\xFE\xFF" + utf16(text, true) },
        { "UTF-16LE without byte-order mark", utf16(text, false) },
        { "UTF-16BE without byte-order mark", utf16(text, true) },
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        TempProgramDir dir;
        writeFileBytes(dataFilePath(), file.bytes);
        writeFileBytes(memoFilePath(), file.bytes);
        EXPECT_EQ(readMemo("1"), "鋼の剣,x"_sj);
        EXPECT_EQ(readAllMemos()[2], "銅の盾?"_sj);
        StorageError error;
        ASSERT_TRUE(openDataFile(error));
        ASSERT_TRUE(readNextRecord(error));
        EXPECT_EQ(currentRecord().name(), "鋼の剣"_sj);
        ASSERT_TRUE(readNextRecord(error));
        EXPECT_EQ(currentRecord().id(), "2");
        EXPECT_EQ(currentRecord().name(), "銅の盾?"_sj);
        EXPECT_FALSE(readNextRecord(error));
        closeDataFile();
        // The search while typing reads the file with a reader of its own.
        SearchInputs inputs;
        inputs.name = "銅"_sj;
        ResultList rows;
        const std::atomic<bool> cancelled { false };
        EXPECT_EQ(
            scanFileForMatches({ dataFilePath(), memoFilePath() }, readCriteria(inputs), rows, cancelled),
            ScanResult::Complete);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows.line(0), "2,銅の盾?"_sj);
        EXPECT_EQ(readFileBytes(dataFilePath()), file.bytes);
        EXPECT_EQ(readFileBytes(memoFilePath()), file.bytes);
    }
}

} // namespace
} // namespace vornik
