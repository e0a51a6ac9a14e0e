#include "platform/sjis_literal.h"
#include "storage/field_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vornik {
namespace {

// The line cut field by field with splitField and normalised with
// decodeFields, exactly as the format describes it.
RecipeRecord decodePlainly(const std::string& line)
{
    RecipeRecord record;
    std::string rest = line;
    for (int pos = 0; pos < kFieldCount; ++pos)
        record[pos] = splitField(rest);
    decodeFields(record);
    return record;
}

RecipeRecord decodeFast(const std::string& line)
{
    RecipeRecord record;
    // Leftovers from a previous line must not survive into the next one.
    for (std::string& field : record.fields())
        field = "stale";
    decodeLine(line, record);
    return record;
}

std::string commas(int n)
{
    return std::string(static_cast<std::size_t>(n), ',');
}

TEST(FieldCodec, FastDecodingMatchesSplitFieldAndDecodeFields)
{
    const std::string lead = "\x83"; // lead byte of a double-byte character
    const std::vector<std::string> lines = {
        "",
        "5",
        "5,",
        "%20X,%20X,a%20b%20,%%2020,%2%200",
        "7,name%2012" + commas(48) + "last%20,ignored%20,more",
        "1,a&gtb,&gt&gt, &gt ,x&g,&&gtt" + commas(40) + "&gt",
        "2,   ,\t\t, \x0b\x0c ,\r" + commas(44) + " tail \r",
        "3,ab" + lead + ",cd" + lead + "%20," + lead + "%20x" + lead,
        "4," + lead + ",%20," + lead + lead + "%20",
        "8,\x82\xa0%20\x82\xa0,\x81\x40 x \x81\x40",
        std::string("9,nul\0byte,%20\0", 15),
        "10," + commas(60),
        "11" + commas(49),
        "%20,%20,%20",
        "12,a,b,c",
        "\x83,%20,x",
        "13,%2%2020%20%,%",
    };
    for (const std::string& line : lines) {
        const RecipeRecord plain = decodePlainly(line);
        const RecipeRecord fast = decodeFast(line);
        for (int pos = 0; pos < kFieldCount; ++pos)
            EXPECT_EQ(fast[pos], plain[pos]) << "field " << pos << " of line '" << line << "'";
    }
}

TEST(FieldCodec, DecodingFollowsTheFormat)
{
    const RecipeRecord first = decodeFast("%20X,%20X,  y  ,a&gtb,,,,,,,%20" + commas(40));
    EXPECT_EQ(first.id(), "%20X"); // never decoded in the id
    EXPECT_EQ(first.name(), "X"); // " X" trimmed
    EXPECT_EQ(first.material(1), "y");
    EXPECT_EQ(first.material(2), "a" + "＞"_sj + "b");
    EXPECT_EQ(first.crystal(), "");

    const RecipeRecord onlyId = decodeFast("5");
    EXPECT_EQ(onlyId.id(), "5");
    for (int pos = 1; pos < kFieldCount; ++pos)
        EXPECT_EQ(onlyId[pos], "") << pos;

    const RecipeRecord tooMany = decodeFast("1" + commas(48) + ",kept,dropped,dropped");
    EXPECT_EQ(tooMany.reserved(), "kept");

    // The full-width space is not white space.
    EXPECT_EQ(decodeFast("1," + "　a　 "_sj).name(), "　a　"_sj);
}

TEST(FieldCodec, DecodingReusesTheRecordsStrings)
{
    RecipeRecord record;
    const std::string longField(100, 'x');
    std::string line;
    for (int pos = 0; pos < kFieldCount; ++pos)
        line += (pos ? "," : "") + longField;
    decodeLine(line, record);
    std::vector<const char*> storage;
    for (const std::string& field : record.fields())
        storage.push_back(field.data());

    decodeLine("1,a%20b,x&gty,,,,,,,,,1", record);
    for (int pos = 0; pos < kFieldCount; ++pos)
        EXPECT_EQ(record[pos].data(), storage[static_cast<std::size_t>(pos)]) << "field " << pos;
    EXPECT_EQ(record.material(1), "x" + "＞"_sj + "y");
}

// Lines whose commas fall on every edge of the groups of bytes the field
// search reads at once (16 and 64), and lines with a special byte at an edge.
std::vector<std::string> blockEdgeLines()
{
    std::vector<std::string> lines;
    for (std::size_t width : { 0U, 1U, 3U, 14U, 15U, 16U, 17U, 31U, 63U, 64U, 65U }) {
        std::string line;
        for (int pos = 0; pos < kFieldCount + 3; ++pos)
            line += (pos ? "," : "") + std::string(width, static_cast<char>('a' + pos % 26));
        lines.push_back(line);
        lines.push_back(line.substr(0, line.size() / 2));
        lines.push_back(std::string(width, 'p') + "%20" + line);
        lines.push_back(line + "&gt");
    }
    lines.push_back(commas(200)); // more commas than fields in one group
    lines.push_back("1" + commas(63) + "x");
    lines.push_back(std::string(63, 'z') + ",%20&gt," + std::string(70, 'y') + ",&gt");
    return lines;
}

TEST(FieldCodec, FieldsReadInAnyOrderDecodeAsTheFormatSays)
{
    std::mt19937 rng(7);
    std::vector<int> order(kFieldCount);
    for (const std::string& line : blockEdgeLines()) {
        const RecipeRecord plain = decodePlainly(line);
        for (int pos = 0; pos < kFieldCount; ++pos)
            order[static_cast<std::size_t>(pos)] = pos;
        std::shuffle(order.begin(), order.end(), rng);
        RecipeRecord record;
        decodeLine(line, record);
        // Only some fields read first, as a scan does; then all of them.
        for (std::size_t i = 0; i < order.size() / 3; ++i)
            EXPECT_EQ(record[order[i]], plain[order[i]]) << "field " << order[i] << " of '" << line << "'";
        EXPECT_EQ(record.fields(), plain.fields()) << line;
    }
}

TEST(FieldCodec, FieldsChangedBeforeOthersAreReadKeepTheChange)
{
    const std::string line = "12,a%20b,m1,m2" + commas(38) + "5,7,x&gty";
    RecipeRecord expected = decodePlainly(line);

    RecipeRecord record;
    decodeLine(line, record);
    record.material(2) = "changed";
    expected.material(2) = "changed";
    EXPECT_EQ(record.fields(), expected.fields());

    // A copy taken before any field is read decodes its own line, whatever
    // happens to the record it came from.
    decodeLine(line, record);
    const RecipeRecord copy = record;
    decodeLine("99,other", record);
    EXPECT_EQ(record.name(), "other");
    EXPECT_EQ(copy.fields(), decodePlainly(line).fields());

    // A new record made from one just read keeps only the id.
    decodeLine(line, record);
    record.clearForNew();
    EXPECT_EQ(record.id(), "12");
    for (int pos = 1; pos < kFieldCount; ++pos)
        EXPECT_EQ(record[pos], "") << pos;
}

TEST(FieldCodec, EncodingMakesEveryFieldSafeForOneLine)
{
    RecipeRecord record;
    record.id() = " 12 ";
    record.name() = "Ore×3"_sj;
    record.material(1) = "a,b";
    record.material(2) = "x＞y"_sj;
    record.description() = "line1\r\nline2\nline3\rline4";
    record.hq() = "A%203<>B×2<>"_sj;
    record.desynth() = "Dust×2"_sj;
    record.reserved() = "keep×2"_sj;
    record.capLevel(1) = "12a";
    record.capLevel(2) = "40";
    record.needLevel(1) = "12a";
    record.rank() = "3 \t";
    encodeFields(record);

    EXPECT_EQ(record.id(), "12");
    EXPECT_EQ(record.name(), "Ore 3");
    EXPECT_EQ(record.material(1), "a" + "，"_sj + "b");
    EXPECT_EQ(record.material(2), "x&gty");
    EXPECT_EQ(record.description(), "line1<br>line2<br>line3<br>line4");
    EXPECT_EQ(record.hq(), "A 3<>B 2<>");
    EXPECT_EQ(record.desynth(), "Dust 2");
    EXPECT_EQ(record.reserved(), "keep×2"_sj); // only name, hq and desynth carry counts
    EXPECT_EQ(record.capLevel(1), "");
    EXPECT_EQ(record.capLevel(2), "40");
    EXPECT_EQ(record.needLevel(1), "12a");
    EXPECT_EQ(record.rank(), "3");

    const std::string line = joinFields(record);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), kFieldCount - 1);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST(FieldCodec, CommaAfterAStrayLeadByteIsStillEncoded)
{
    RecipeRecord record;
    record.name() = "ab\x83,cd";
    encodeFields(record);
    EXPECT_EQ(std::count(record.name().begin(), record.name().end(), ','), 0);
    const std::string line = joinFields(record);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), kFieldCount - 1);
}

TEST(FieldCodec, WrittenRecordReadsBackAsTyped)
{
    RecipeRecord typed;
    typed.id() = "31";
    typed.name() = "Bronze Plate 4"; // count shown as "×", stored as a space
    typed.material(1) = "鉄，鉱石"_sj;
    typed.description() = "（片手剣）＞ Lv10\r\n説明"_sj;
    typed.hq() = "<><>";
    typed.stackable() = "1";
    RecipeRecord written = typed;
    encodeFields(written);
    RecipeRecord read;
    decodeLine(joinFields(written), read);

    EXPECT_EQ(read.id(), "31");
    EXPECT_EQ(read.name(), "Bronze Plate 4");
    EXPECT_EQ(read.material(1), typed.material(1));
    EXPECT_EQ(read.description(), "（片手剣）＞ Lv10<br>説明"_sj);
    EXPECT_EQ(read.hq(), "<><>");
    EXPECT_EQ(read.stackable(), "1");
}

TEST(FieldCodec, IsDigits)
{
    EXPECT_TRUE(isDigits(""));
    EXPECT_TRUE(isDigits("0123456789"));
    EXPECT_FALSE(isDigits("12a"));
    EXPECT_FALSE(isDigits(" 1"));
    EXPECT_FALSE(isDigits("-1"));
    EXPECT_FALSE(isDigits("１"_sj));
}

} // namespace
} // namespace vornik
