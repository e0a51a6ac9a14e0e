#include "storage/file_encoding.h"

#include "platform/sjis_literal.h"
#include "storage/line_reader.h"
#include "tests/support/encoded_text.h"

#include <gtest/gtest.h>

#include <string>

namespace vornik {
namespace {

using test::utf16;
using test::utf8;

struct EncodingCase {
    const char* what;
    std::string bytes;
    bool cut;
    const char* expected; // nullptr: Shift-JIS
};

TEST(FileEncoding, TellsForeignFilesFromShiftJis)
{
    const EncodingCase cases[] = {
        { "ASCII only", "1,Iron Plate 3,,,\r\n", false, nullptr },
        { "Shift-JIS kana and kanji", "1,"_sj + "鋼の剣,アイアンインゴット"_sj + "\r\n", false, nullptr },
        // Shift-JIS that is well-formed UTF-8 byte for byte ("ý", "ÃA",
        // "ĳ"; a rare kanji and a half-width katakana read as one kanji):
        { "half-width katakana pair", "ﾃｽ"_sj, false, nullptr },
        { "half-width katakana then full-width katakana", "ﾃア"_sj, false, nullptr },
        { "several such pairs", "1,ﾃｽ,ﾄｳ,ﾃア"_sj, false, nullptr },
        { "rare kanji with half-width katakana", "\xE4\x80\xA1", false, nullptr },
        { "damaged Shift-JIS", "1,\x80\xA0\xFF,x", false, nullptr },
        { "UTF-8 accented Latin reads as Shift-JIS katakana", utf8(u8"1,Café"), false, nullptr },
        { "UTF-8 Japanese", utf8(u8"1,アイアンインゴット,鍛冶\r\n"), false, "UTF-8" },
        { "UTF-8 that is also valid Shift-JIS", utf8(u8"鋼の剣"), false, "UTF-8" },
        { "UTF-8 cut inside a character", utf8(u8"鋼の剣の盾").substr(0, 10), true, "UTF-8" },
        { "UTF-8 with byte-order mark",
            "\xEF\xBB\xBF"
            "1,A",
            false, "UTF-8" },
        { "UTF-16LE with byte-order mark", "\xFF\xFE" + utf16("1,A", false), false, "UTF-16" },
        { "UTF-16BE with byte-order mark", "\xFE\xFF" + utf16("1,A", true), false, "UTF-16" },
        { "UTF-16LE without byte-order mark", utf16("1,A", false), false, "UTF-16" },
    };
    for (const EncodingCase& c : cases) {
        const std::optional<std::string_view> found = foreignEncodingOf(c.bytes, c.cut);
        if (c.expected)
            EXPECT_EQ(found.value_or("Shift-JIS"), c.expected) << c.what;
        else
            EXPECT_FALSE(found) << c.what << ": " << *found;
    }
}

// Every line of the sample data on its own, the shortest texts a Shift-JIS
// file can start with, and the files as a whole read as Shift-JIS.
TEST(FileEncoding, SampleFilesAreShiftJis)
{
    for (const char* name : { "vornik.txt", "vornik.dat" }) {
        const std::string path = std::string(VORNIK_SAMPLES_DIR) + "/" + name;
        EXPECT_FALSE(foreignEncodingOfFile(path)) << name;
        LineReader reader;
        ASSERT_TRUE(reader.open(path)) << name;
        std::string_view line;
        std::size_t lines = 0;
        while (reader.readLine(line)) {
            ++lines;
            EXPECT_FALSE(foreignEncodingOf(line)) << name << ": " << line;
        }
        EXPECT_GT(lines, 10u) << name;
    }
}

} // namespace
} // namespace vornik
