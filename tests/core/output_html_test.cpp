#include "output/core/html_export.h"
#include "platform/sjis_literal.h"
#include "tests/support/file_lines.h"
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

TableExportPage pageWithHeading(std::string heading)
{
    TableExportPage page;
    page.heading = std::move(heading);
    return page;
}

} // namespace

TEST(SearchHeading, NamesTheFilledBoxesInOrder)
{
    SearchInputs in;
    EXPECT_EQ(buildSearchHeading(in), "");
    in.crystal = "炎"_sj;
    in.job = "戦"_sj;
    in.levelFrom = "10";
    in.includeMaterials = true;
    EXPECT_EQ(buildSearchHeading(in), "") << "other criteria are not named";

    in.itemClass = "片手剣"_sj;
    EXPECT_EQ(buildSearchHeading(in), "[検索条件]　片手剣"_sj);

    in.itemClass.clear();
    in.name = "銀"_sj;
    in.rank = "見習い"_sj;
    EXPECT_EQ(buildSearchHeading(in), "[検索条件]　銀 見習い "_sj);

    in.skill = "彫金"_sj;
    in.itemClass = "指輪"_sj;
    EXPECT_EQ(buildSearchHeading(in), "[検索条件]　銀 彫金 見習い 指輪"_sj);
}

TEST(HtmlCell, BreaksLinesInOrderThenFillsEmptyCellsAndSpellsOutDigits)
{
    EXPECT_EQ(htmlCell("上　下"_sj), "上<br>下"_sj);
    EXPECT_EQ(htmlCell("終わり。"_sj), "終わり。<br>"_sj);
    EXPECT_EQ(htmlCell("1～ 5"_sj), "1～<br>5"_sj);
    EXPECT_EQ(htmlCell("全種 可"_sj), "全種<br>可"_sj);
    EXPECT_EQ(htmlCell("(炎) 銀"_sj), "(炎)<br>銀"_sj);
    EXPECT_EQ(htmlCell(""), "　"_sj);
    EXPECT_EQ(htmlCell(" "), "　"_sj);
    EXPECT_EQ(htmlCell("  "), "  ");
    // Digits are spelled out last, so "① x" keeps its blank.
    EXPECT_EQ(htmlCell("① x"_sj), "(1) x");
    EXPECT_EQ(htmlCell("②　③"_sj), "(2)<br>(3)");
    // 0x88 0x81 is one character followed by 'B'; its trail byte and the 'B'
    // look like "。" (0x81 0x42) to a byte search.
    EXPECT_EQ(htmlCell("\x88\x81"
                       "B"),
        "\x88\x81"
        "B");

    EXPECT_EQ(htmlHeaderCell(""), "　"_sj);
    EXPECT_EQ(htmlHeaderCell("上　下①"_sj), "上　下(1)"_sj) << "headings are not broken into lines";
}

TEST(HtmlCell, EscapesMarkupBeforeInsertingLineBreaks)
{
    EXPECT_EQ(
        htmlCell("<script>alert(\"x\")</script>&"), "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;&amp;");
    EXPECT_EQ(htmlCell("a<b>　c"_sj), "a&lt;b&gt;<br>c");
    EXPECT_EQ(htmlHeaderCell("<i>"), "&lt;i&gt;");
    EXPECT_EQ(htmlEscaped("&amp;"), "&amp;amp;");
}

TEST(WriteHtml, WritesThePageLineByLine)
{
    const SampleTable sample;
    std::ostringstream out;
    TableExportPage page = pageWithHeading("[検索条件]　銀 見習い "_sj);
    page.pageColor = "#000000"; // the writer restores the fixed look
    page.showFooter = false;
    ASSERT_TRUE(writeHtml(out, sample.table(), page));

    const std::string expected = fixture("output_page.htm");
    const std::vector<std::string> got = test::split(out.str(), "\r\n");
    const std::vector<std::string> want = test::split(expected, "\r\n");
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
    EXPECT_EQ(out.str(), expected);
    EXPECT_TRUE(out.str().ends_with("</BODY>\r\n</HTML>"));
}

TEST(WriteHtml, EmptyListAndEscapedHeading)
{
    const std::vector<std::string> headings = { "名前"_sj };
    const std::vector<ResultRow> rows;
    std::ostringstream out;
    ASSERT_TRUE(writeHtml(out, { headings, rows }, pageWithHeading("[検索条件]　<b>x</b> "_sj)));
    const std::vector<std::string> lines = test::split(out.str(), "\r\n");
    ASSERT_EQ(lines.size(), 23u);
    // Browsers outside Japan need the character set named.
    EXPECT_EQ(lines[2], " <META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
    EXPECT_EQ(
        lines[7], "<P align=\"CENTER\"><FONT size=\"-1\">[検索条件]　&lt;b&gt;x&lt;/b&gt; </FONT></P>"_sj);
    EXPECT_EQ(lines[12], "   <TD nowrap><FONT COLOR=\"#FFFFFF\"><B>名前</FONT></TD>"_sj);
    EXPECT_EQ(lines[13], "  </TR>");
    EXPECT_EQ(lines[14], " </TBODY>");

    std::ostringstream noHeading;
    ASSERT_TRUE(writeHtml(noHeading, { headings, rows }, TableExportPage {}));
    EXPECT_EQ(test::split(noHeading.str(), "\r\n")[7], "<P align=\"CENTER\"><FONT size=\"-1\"></FONT></P>");
}

TEST(WriteHtml, ReportsARefusingStream)
{
    const SampleTable sample;
    test::RefusingBuffer refusing;
    std::ostream out(&refusing);
    EXPECT_FALSE(writeHtml(out, sample.table(), TableExportPage {}));
}

TEST(WriteHtmlFile, WritesTheSamePageAndReportsFailures)
{
    test::TempProgramDir dir;
    const SampleTable sample;
    const std::string path = dir.file("page.txt");
    test::writeFileBytes(path, std::string(9000, 'z'));
    std::string error;
    ASSERT_TRUE(writeHtmlFile(sample.table(), path, pageWithHeading("[検索条件]　銀 見習い "_sj), error))
        << error;
    const std::string written = test::readFileBytes(path);
    EXPECT_EQ(written, fixture("output_page.htm"));
    EXPECT_EQ(written.substr(written.size() - 7), "</HTML>");

    EXPECT_FALSE(writeHtmlFile(sample.table(), dir.file("missing/page.htm"), TableExportPage {}, error));
    EXPECT_FALSE(error.empty());
    if (std::filesystem::exists("/dev/full")) {
        error.clear();
        EXPECT_FALSE(writeHtmlFile(sample.table(), "/dev/full", TableExportPage {}, error));
        EXPECT_FALSE(error.empty());
    }
}
