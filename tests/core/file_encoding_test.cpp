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
    FileEncoding expected;
};

TEST(FileEncoding, TellsForeignFilesFromShiftJis)
{
    const EncodingCase cases[] = {
        { "ASCII only", "1,Iron Plate 3,,,\r\n", false, FileEncoding::ShiftJis },
        { "Shift-JIS kana and kanji", "1,"_sj + "鋼の剣,アイアンインゴット"_sj + "\r\n", false,
            FileEncoding::ShiftJis },
        // Shift-JIS that is well-formed UTF-8 byte for byte ("ý", "ÃA",
        // "ĳ"; a rare kanji and a half-width katakana read as one kanji):
        { "half-width katakana pair", "ﾃｽ"_sj, false, FileEncoding::ShiftJis },
        { "half-width katakana then full-width katakana", "ﾃア"_sj, false, FileEncoding::ShiftJis },
        { "several such pairs", "1,ﾃｽ,ﾄｳ,ﾃア"_sj, false, FileEncoding::ShiftJis },
        { "rare kanji with half-width katakana", "\xE4\x80\xA1", false, FileEncoding::ShiftJis },
        { "damaged Shift-JIS", "1,\x80\xA0\xFF,x", false, FileEncoding::ShiftJis },
        { "UTF-8 accented Latin reads as Shift-JIS katakana", utf8(u8"1,Café"), false,
            FileEncoding::ShiftJis },
        { "UTF-8 Japanese", utf8(u8"1,アイアンインゴット,鍛冶\r\n"), false, FileEncoding::Utf8 },
        { "UTF-8 that is also valid Shift-JIS", utf8(u8"鋼の剣"), false, FileEncoding::Utf8 },
        { "UTF-8 cut inside a character", utf8(u8"鋼の剣の盾").substr(0, 10), true, FileEncoding::Utf8 },
        { "UTF-8 with byte-order mark",
            "\xEF\xBB\xBF"
            "1,A",
            false, FileEncoding::Utf8 },
        { "UTF-16LE with byte-order mark", "\xFF\xFE" + utf16("1,A", false), false, FileEncoding::Utf16Le },
        { "UTF-16BE with byte-order mark", "\xFE\xFF" + utf16("1,A", true), false, FileEncoding::Utf16Be },
        { "UTF-16LE without byte-order mark", utf16("1,A", false), false, FileEncoding::Utf16Le },
        { "UTF-16BE without byte-order mark", utf16("1,A", true), false, FileEncoding::Utf16Be },
        { "UTF-16LE, kanji first", utf16(u"鋼,1,A\r\n"), false, FileEncoding::Utf16Le },
    };
    for (const EncodingCase& c : cases) {
        EXPECT_EQ(encodingOf(c.bytes, c.cut), c.expected) << c.what;
        EXPECT_EQ(foreignEncodingOf(c.bytes, c.cut), foreignEncodingName(c.expected)) << c.what;
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
