#include "output/core/csv_export.h"
#include "output/core/export_file.h"
#include "platform/sjis_literal.h"
#include "tests/support/fault_injection.h"
#include "tests/support/refusing_buffer.h"
#include "tests/support/sample_export_table.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace vornik;
using vornik::test::fixture;
using vornik::test::row;
using vornik::test::SampleTable;

namespace {

// A stream buffer whose device is gone: every write is refused.
} // namespace

TEST(CsvField, QuotesSeparatorsAndLineBreaksAndDisarmsFormulas)
{
    struct Case {
        const char* why;
        std::string cell;
        std::string field;
    };
    const std::vector<Case> cases = {
        { "plain", "plain", "plain" },
        { "empty", "", "" },
        { "comma", "a,b", "\"a,b\"" },
        { "quote (RFC 4180)", "say \"hi\"", "\"say \"\"hi\"\"\"" },
        { "comma and quote", "x,\"y\"", "\"x,\"\"y\"\"\"" },
        { "LF", "a\nb", "\"a\nb\"" },
        { "CR inside", "a\rb", "\"a\rb\"" },
        { "circled digits", "①②③"_sj, "(1)(2)(3)" },
        { "digits and comma", "③,①"_sj, "\"(3),(1)\"" },
        // "①" is 0x87 0x40; a trail byte 0x87 of another character followed
        // by '@' must not be taken for it.
        { "trail byte 0x87", "\x88\x87@", "\x88\x87@" },
        // OWASP: a leading apostrophe inside quotes makes it text.
        { "=", "=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\"" },
        { "+", "+1+1", "\"'+1+1\"" },
        { "-", "-2+3+cmd|' /C calc'!A0", "\"'-2+3+cmd|' /C calc'!A0\"" },
        { "@", "@SUM(A1)", "\"'@SUM(A1)\"" },
        { "tab", "\t=1", "\"'\t=1\"" },
        { "CR first", "\r=1", "\"'\r=1\"" },
        { "formula with a comma", "=1,2", "\"'=1,2\"" },
        // Texts the list shows every day stay byte for byte.
        { "placeholder", "-", "-" },
        { "lone sign", "=", "=" },
        { "level text of an unnamed skill", "-: 12 鍛冶:?  "_sj, "-: 12 鍛冶:?  "_sj },
        { "name column", " =1"_sj, " =1" },
        { "HQ summary", "(1)A×2　(2) -　(3) -　"_sj, "(1)A×2　(2) -　(3) -　"_sj },
        { "sign after a character", "鉄-1"_sj, "鉄-1"_sj },
    };
    for (const Case& c : cases)
        EXPECT_EQ(csvField(c.cell), c.field) << c.why;
}

TEST(WriteCsv, WritesHeadingAndRowsWithCrLf)
{
    const SampleTable sample;
    std::ostringstream out;
    ASSERT_TRUE(writeCsv(out, sample.table()));
    EXPECT_EQ(out.str(), fixture("output_table.csv"));
    EXPECT_EQ(sample.rows[1].cell(3), "A,B ②"_sj) << "the list itself is not changed";
}

TEST(WriteCsv, EmptyListGivesTheHeadingLineOnly)
{
    const std::vector<std::string> headings = { "名前"_sj, "Ex" };
    const std::vector<ResultRow> rows;
    std::ostringstream out;
    ASSERT_TRUE(writeCsv(out, { headings, rows }));
    EXPECT_EQ(out.str(), "名前,Ex\r\n"_sj);
}

TEST(WriteCsv, LongTextsAreCutWithoutSplittingACharacter)
{
    // 198 ASCII bytes then a double-byte character: the 199-byte limit falls
    // inside it, so the whole character goes.
    const std::vector<std::string> headings = { std::string(198, 'h') + "名"_sj };
    const std::vector<ResultRow> rows = { row(1, { std::string(999, 'c') + "x" }) };
    std::ostringstream out;
    ASSERT_TRUE(writeCsv(out, { headings, rows }));
    EXPECT_EQ(out.str(), std::string(198, 'h') + "\r\n" + std::string(999, 'c') + "\r\n");
}

TEST(WriteCsv, ReportsARefusingStream)
{
    const SampleTable sample;
    test::RefusingBuffer refusing;
    std::ostream out(&refusing);
    EXPECT_FALSE(writeCsv(out, sample.table()));
}

TEST(WriteCsvFile, TruncatesAnExistingFileAndReportsFailures)
{
    test::TempProgramDir dir;
    const SampleTable sample;
    const std::string path = dir.file("out.csv");
    test::writeFileBytes(path, std::string(5000, 'z'));
    std::string error;
    ASSERT_TRUE(writeCsvFile(sample.table(), path, error)) << error;
    EXPECT_EQ(test::readFileBytes(path), fixture("output_table.csv"));

    const std::string missingFolder = dir.file("no-such-folder/out.csv");
    EXPECT_FALSE(writeCsvFile(sample.table(), missingFolder, error));
    EXPECT_NE(error.find(missingFolder), std::string::npos) << "the message names the file";

    if (std::filesystem::exists("/dev/full")) {
        // Created fine, then the disk is full: no success may be reported.
        error.clear();
        EXPECT_FALSE(writeCsvFile(sample.table(), "/dev/full", error));
        EXPECT_NE(error.find("/dev/full"), std::string::npos);
    }
}

TEST(WriteCsvFile, AFailureAtAnyFileStepIsReportedAndKeepsTheOldFile)
{
    test::TempProgramDir dir;
    // Large enough for several writes of the export's buffer.
    const std::vector<std::string> headings = { "名前"_sj };
    std::vector<ResultRow> rows(3000, row(1, { std::string(60, 'n') }));
    const DisplayedTable table { headings, rows };
    const std::string path = dir.file("out.csv");
    const std::string old = "an earlier export\r\n";
    std::ostringstream expected;
    writeCsv(expected, table);

    for (const bool shortWrite : { false, true }) {
        for (int failAt = 1;; ++failAt) {
            test::writeFileBytes(path, old);
            test::FaultInjector injector(failAt, ENOSPC, shortWrite);
            std::string error;
            bool written;
            {
                test::ScopedFileOps installed(injector);
                written = writeCsvFile(table, path, error);
            }
            if (!injector.fired()) {
                EXPECT_TRUE(written) << error;
                EXPECT_EQ(test::readFileBytes(path), expected.str());
                EXPECT_GT(failAt, 6)
                    << "probe, temporary file, writes, sync, close and rename were all tried";
                break;
            }
            // Once the rename is done the new file is in place; only the
            // folder flush after it may fail unnoticed.
            const bool afterRename = injector.failedCall() == "syncFolder";
            EXPECT_EQ(written, afterRename) << "failing " << injector.failedCall() << " at call " << failAt;
            EXPECT_EQ(test::readFileBytes(path), afterRename ? expected.str() : old) << injector.failedCall();
            if (!written) {
                EXPECT_NE(error.find(path), std::string::npos);
            }
            const auto entries = std::distance(
                std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator());
            EXPECT_EQ(entries, 1) << "no temporary file is left after failing " << injector.failedCall();
        }
    }
}

TEST(ExportFormat, OnlyACsvExtensionInAnyCaseWritesCsv)
{
    EXPECT_EQ(exportFormatForPath("C:\\out\\list.csv"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatForPath("/home/u/list.CSV"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatForPath("list.Csv"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatForPath("list.htm"), ExportFormat::Html);
    EXPECT_EQ(exportFormatForPath("list.txt"), ExportFormat::Html);
    EXPECT_EQ(exportFormatForPath("list.csv.txt"), ExportFormat::Html);
    EXPECT_EQ(exportFormatForPath("list"), ExportFormat::Html);
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(exportFormatForPath("C:\\data.csv\\list"), ExportFormat::Html);
    EXPECT_EQ(exportFormatForPath("/data.csv/list"), ExportFormat::Html);
    EXPECT_EQ(exportFormatForPath("表.csv"_sj), ExportFormat::Csv);
}
