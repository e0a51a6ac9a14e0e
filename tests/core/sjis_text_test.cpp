#include "platform/sjis_codec.h"
#include "platform/sjis_text.h"

#include <gtest/gtest.h>

using namespace vornik;

namespace {
// "表" is 0x95 0x5C: its trail byte is the ASCII backslash.
const std::string kHyou = "\x95\x5C";
// "ソ" is 0x83 0x5C, "ア" is 0x83 0x41 (trail byte 'A').
const std::string kA = "\x83\x41";
} // namespace

TEST(SjisFind, MatchesOnlyAtCharacterBoundaries)
{
    EXPECT_EQ(sjis::find(kA, "A"), std::string::npos);
    EXPECT_EQ(sjis::find(kA + "A", "A"), 2u);
    EXPECT_EQ(sjis::find(kHyou + "\\", "\\"), 2u);
    EXPECT_FALSE(sjis::contains(kHyou, "\\"));
    EXPECT_TRUE(sjis::contains("abc", ""));
    EXPECT_EQ(sjis::find("Lv30", "Lv"), 0u);
    // A needle that starts on a trail byte position inside a longer text.
    EXPECT_EQ(sjis::find("x" + kA + "Ax", "Ax"), 3u);
    EXPECT_EQ(sjis::find("ab", "abc"), std::string::npos);
}

TEST(SjisFind, LeadByteAtEndDoesNotRunPastTheText)
{
    const std::string text = "ab\x83";
    EXPECT_EQ(sjis::find(text, "\x83"), 2u);
    EXPECT_EQ(sjis::find(text, "b"), 1u);
    EXPECT_EQ(sjis::cutAtChar(text, 3), text);
}

TEST(SjisReplace, SkipsTrailBytesAndReplacesAll)
{
    EXPECT_EQ(sjis::replaceAll(kA + "A" + kA + "A", "A", "B"), kA + "B" + kA + "B");
    EXPECT_EQ(sjis::replaceAll("a,b,,c", ",", "\x81\x43"),
        "a\x81\x43"
        "b\x81\x43\x81\x43"
        "c");
    EXPECT_EQ(sjis::replaceAll("abc", "", "x"), "abc");
    std::string text = "x%20y";
    EXPECT_TRUE(sjis::replaceAllInPlace(text, "%20", " "));
    EXPECT_EQ(text, "x y");
    EXPECT_FALSE(sjis::replaceAllInPlace(text, "%20", " "));
}

TEST(SjisTrim, DropsAsciiWhiteSpaceKeepsFullWidthSpace)
{
    EXPECT_EQ(sjis::trimmed(" \t\r\n\v\fa b \r\n"), "a b");
    EXPECT_EQ(sjis::trimmed("\x81\x40"
                            "a"
                            "\x81\x40"),
        "\x81\x40"
        "a"
        "\x81\x40");
    std::string text = "  x  ";
    sjis::trim(text);
    EXPECT_EQ(text, "x");
    EXPECT_EQ(sjis::trimmed("   "), "");
}

TEST(SjisCut, NeverSplitsADoubleByteCharacter)
{
    const std::string text = "a" + kA + kA; // 5 bytes
    EXPECT_EQ(sjis::cutAtChar(text, 0), "");
    EXPECT_EQ(sjis::cutAtChar(text, 1), "a");
    EXPECT_EQ(sjis::cutAtChar(text, 2), "a");
    EXPECT_EQ(sjis::cutAtChar(text, 3), "a" + kA);
    EXPECT_EQ(sjis::cutAtChar(text, 4), "a" + kA);
    EXPECT_EQ(sjis::cutAtChar(text, 5), text);
    EXPECT_EQ(sjis::cutAtChar(text, 99), text);
}

TEST(SjisCodec, RoundTripsJapaneseText)
{
    const std::string utf8 = "鍛冶 ｽｷﾙ ①×＞";
    const std::string sjis = utf8ToSjis(utf8);
    EXPECT_EQ(sjis, "\x92\x62\x96\xE8 \xBD\xB7\xD9 \x87\x40\x81\x7E\x81\x84");
    EXPECT_EQ(sjisToUtf8(sjis), utf8);
}

TEST(SjisCodec, BadBytesBecomeReplacementAndUnmappableBecomesQuestionMark)
{
    EXPECT_EQ(sjisToUtf8("a\x80"
                         "b"),
        "a\xEF\xBF\xBD"
        "b");
    EXPECT_EQ(sjisToUtf8("a\x83"), "a\xEF\xBF\xBD");
    EXPECT_EQ(utf8ToSjis("a😀b"), "a?b");
    EXPECT_EQ(utf8ToSjis("a\xC3"), "a?");
    EXPECT_EQ(sjisToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// The same answers from iconv and from the Windows code page functions,
// whose defaults differ (U+0080 for 0x80, "best fit" letters, two "?" for a
// surrogate pair).
TEST(SjisCodec, EveryPlatformConvertsOddBytesAlike)
{
    const struct {
        const char* sjis;
        const char* utf8;
    } toUtf8[] = {
        { "\xA0|\xFD|\xFE|\xFF", "\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD" },
        { "\x85\x40", "\xEF\xBF\xBD@" }, // unassigned pair: the trail byte is read again
        { "\x85\x80", "\xEF\xBF\xBD\xEF\xBF\xBD" }, // and is then a stray byte
        { "\x85\x81\x80", "\xEF\xBF\xBD\xC3\xB7" }, // or starts a pair of its own
        { "\x81\x7F", "\xEF\xBF\xBD\x7F" }, // 0x7F is no trail byte
        { "\xF0\x40", "\xEE\x80\x80" }, // user-defined area
        { "\xB1\x82\xA0\x5C", "\xEF\xBD\xB1\xE3\x81\x82\\" },
    };
    for (const auto& row : toUtf8)
        EXPECT_EQ(sjisToUtf8(row.sjis), row.utf8) << row.sjis;

    const struct {
        const char* utf8;
        const char* sjis;
    } toSjis[] = {
        { "caf\xC3\xA9", "caf?" }, // no best fit to "e"
        { "a\xE2\x88\x95"
          "b",
            "a?b" }, // DIVISION SLASH never becomes a separator
        { "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", "??" },
        { "\xEF\xBD\x9E\xEF\xBC\xBC", "\x81\x60\x81\x5F" },
    };
    for (const auto& row : toSjis)
        EXPECT_EQ(utf8ToSjis(row.utf8), row.sjis) << row.utf8;
}

#include "platform/sjis_literal.h"

TEST(SjisLiteral, ConvertsOnceToShiftJis)
{
    const std::string& first = "検索条件"_sj;
    EXPECT_EQ(first, "\x8C\x9F\x8D\xF5\x8F\xF0\x8C\x8F");
    EXPECT_EQ(&first, &"検索条件"_sj);
}
