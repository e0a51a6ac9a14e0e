#include "output/core/outside_addresses.h"
#include "output/core/outside_links.h"
#include "output/core/url_encoding.h"
#include "platform/sjis_literal.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

// Windows has no iconv; the conversion is the same code there, and is
// checked against the C library on the other systems.
#if __has_include(<iconv.h>)
#include <iconv.h>
#define VORNIK_HAVE_ICONV 1
#endif

using namespace vornik;

#ifdef VORNIK_HAVE_ICONV
namespace {

// The C library's own conversion, as the reference for every character.
class IconvSjisToEuc {
public:
    IconvSjisToEuc()
        : m_cd(iconv_open("EUC-JP", "SHIFT_JIS"))
    {
    }
    ~IconvSjisToEuc()
    {
        if (ok())
            iconv_close(m_cd);
    }
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Nothing when iconv has no mapping for the bytes.
    std::optional<std::string> convert(const std::string& sjis)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string in = sjis;
        char out[16];
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t m_cd;
};

} // namespace
#endif

TEST(UrlEncode, KeepsLettersAndDigitsOnly)
{
    EXPECT_EQ(urlEncode("iron sword"), "iron+sword");
    EXPECT_EQ(urlEncode("a-b"), "a%2db");
    // The trail byte of "ア" is 'A', escaped all the same.
    EXPECT_EQ(urlEncode("\x83\x41"), "%83%41");
    EXPECT_EQ(urlEncode("A\x83\x41"
                        "A"),
        "A%83%41A");
    EXPECT_EQ(urlEncode("\x83"), "%83") << "lone lead byte at the end";
    EXPECT_EQ(urlEncode("._*~/&=?%+"), "%2e%5f%2a%7e%2f%26%3d%3f%25%2b");
    EXPECT_EQ(urlEncode("AZaz09"), "AZaz09");
    EXPECT_EQ(urlEncode(std::string("\0\xFF", 2)), "%00%ff");
    EXPECT_EQ(urlEncode(""), "");
}

TEST(SjisToEucJp, DocumentedPairsAndAscii)
{
    EXPECT_EQ(sjisToEucJp("\x82\xA0"), "\xA4\xA2");
    EXPECT_EQ(sjisToEucJp("\x88\x9F"), "\xB0\xA1");
    EXPECT_EQ(sjisToEucJp("Lv 30-a"), "Lv 30-a");
    EXPECT_EQ(sjisToEucJp("x\x82\xA0y"), "x\xA4\xA2y");
    // Half-width katakana take the single-shift byte 0x8E.
    EXPECT_EQ(sjisToEucJp("\xB1\xDF"), "\x8E\xB1\x8E\xDF");
    // No fixed buffer: a long name converts whole.
    std::string longName;
    for (int i = 0; i < 1000; ++i)
        longName += "\x82\xA0";
    EXPECT_EQ(sjisToEucJp(longName).size(), 2000u);
}

TEST(SjisToEucJp, BrokenBytesBecomeQuestionMarks)
{
    EXPECT_EQ(sjisToEucJp("ab\x82"), "ab?") << "lone lead byte at the end";
    EXPECT_EQ(sjisToEucJp("\x82"
                          "1x"),
        "?1x")
        << "a trail byte below 0x40 is no trail byte";
    EXPECT_EQ(sjisToEucJp("\x80\xA0\xFD\xFF"), "????");
    EXPECT_EQ(sjisToEucJp("\xF0\x40z"), "?z") << "user-defined character";
    EXPECT_EQ(sjisToEucJp("\xFA\x40z"), "?z") << "vendor character";
    // The one vendor code that is also a JIS X 0208 character ("∵", 0x81 0xE6).
    EXPECT_EQ(sjisToEucJp("\xFA\x5Bz"), "\xA2\xE8z");
}

#ifdef VORNIK_HAVE_ICONV
TEST(SjisToEucJp, MatchesIconvForEveryCharacterBothMap)
{
    IconvSjisToEuc reference;
    ASSERT_TRUE(reference.ok());
    std::size_t compared = 0;
    std::set<std::string> seen;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string sjis = { static_cast<char>(lead), static_cast<char>(trail) };
            const std::optional<std::string> expected = reference.convert(sjis);
            if (!expected || expected->size() != 2)
                continue;
            const std::string got = sjisToEucJp(sjis);
            ASSERT_EQ(got, *expected) << std::hex << lead << ' ' << trail;
            seen.insert(got);
            ++compared;
        }
    }
    // JIS X 0208 holds 6879 characters; all must have been checked, each to
    // its own code.
    EXPECT_GE(compared, 6879u);
    EXPECT_EQ(seen.size(), compared);

    for (int kana = 0xA1; kana <= 0xDF; ++kana) {
        const std::string sjis(1, static_cast<char>(kana));
        const std::optional<std::string> expected = reference.convert(sjis);
        ASSERT_TRUE(expected);
        EXPECT_EQ(sjisToEucJp(sjis), *expected) << std::hex << kana;
    }
}
#endif

TEST(CurrentItemName, SelectedRowIsCutAtTimesAndTrimmedNameBoxIsNot)
{
    EXPECT_EQ(currentItemName(" 鉄の盾×2"_sj, "ignored"), "鉄の盾"_sj);
    EXPECT_EQ(currentItemName(" \t\r\n銀の指輪"_sj, ""), "銀の指輪"_sj);
    EXPECT_EQ(currentItemName(" 樫の杖 ×3×4"_sj, ""), "樫の杖 "_sj) << "only leading white space goes";
    EXPECT_EQ(currentItemName(""_sj, "box"), "");
    EXPECT_EQ(currentItemName(std::nullopt, " 鉄の盾×2 "_sj), " 鉄の盾×2 "_sj);
    // "×" is 0x81 0x7E; 0x88 0x81 is one character whose trail byte
    // followed by '~' is no "×".
    EXPECT_EQ(itemNameFromCell(" \x88\x81~x"), "\x88\x81~x");
    // Names of any length pass through.
    EXPECT_EQ(itemNameFromCell(" " + std::string(300, 'n') + "×2"_sj), std::string(300, 'n'));
}

TEST(WebSearch, AddressesCarryTheFixedPathsAndKeys)
{
    const std::string name = "鉄 盾"_sj; // 0x93 0x53, blank, 0x8F 0x82
    EXPECT_EQ(
        searchKestrelo(name), std::string(address::kKestreloBase) + "search.php?itemName=%93%53+%8f%82");
    EXPECT_EQ(searchKestrelo(""), std::string(address::kKestreloBase) + "search.php?itemName=");

    EXPECT_EQ(searchOpenVornik(name), std::string(address::kOpenVornikSearch) + "?word=%c5%b4+%bd%e2");
    EXPECT_EQ(searchOpenVornik(""), address::kOpenVornikSearch);

    EXPECT_EQ(shopSearchAddress(name),
        std::string(address::kShopSearchScript) + "?itemname=%93%53+%8f%82&prg=VornikWin");
    EXPECT_EQ(shopSearchAddress(""), std::string(address::kShopSearchScript) + "?itemname=&prg=VornikWin");
    EXPECT_TRUE(std::string(address::kShopSearchScript).ends_with("/index.cgi"));
}

TEST(ShopTool, SettingsChooseTheToolAndItsPath)
{
    test::TempProgramDir dir;
    EXPECT_FALSE(shopSearchUsesTool());
#ifdef _WIN32
    EXPECT_EQ(shopToolCommand("").program, programFilePath("shopsearch.exe"));
#else
    EXPECT_EQ(shopToolCommand("").program, programFilePath("shopsearch"));
#endif
    const struct {
        std::string name;
        std::vector<std::string> arguments;
    } rows[] = {
        { "鉄の盾"_sj, { "鉄の盾"_sj } }, { "", {} }, // no empty query
        { "-h", { "--", "-h" } }, // never read as an option
        { "--version", { "--", "--version" } }, { "a-b -c", { "a-b -c" } }, // one argument, blanks and all
    };
    for (const auto& row : rows)
        EXPECT_EQ(shopToolCommand(row.name).arguments, row.arguments) << row.name;

    ASSERT_TRUE(writeIniInt("window", "shop", 1));
    EXPECT_TRUE(shopSearchUsesTool());
    // A path with blanks and longer than the old 259-byte limit stays whole.
    const std::string toolPath = "C:\\Program Files\\" + std::string(300, 'd') + "\\shop tool.exe";
    ASSERT_TRUE(writeIniString("window", "shoppath", toolPath));
    EXPECT_EQ(shopToolCommand("").program, toolPath);
}

TEST(LinkSection, WrittenAtStartAndReadByEveryLink)
{
    test::TempProgramDir dir;
    ASSERT_TRUE(writeIniString("link", "faults", "")); // emptied by hand: kept, default used
    ASSERT_TRUE(writeIniString("link", "kestrelo", "https://recipes.test/k/"));
    ASSERT_TRUE(writeMissingLinkSettings());

    std::set<std::string> keys;
    for (const LinkSetting& setting : linkSettings()) {
        keys.insert(setting.key);
        const std::string written = readIniString("link", setting.key, "(none)");
        if (std::string_view(setting.key) == "kestrelo")
            EXPECT_EQ(written, "https://recipes.test/k/");
        else if (std::string_view(setting.key) == "faults")
            EXPECT_EQ(written, "");
        else
            EXPECT_EQ(written, setting.fallback) << setting.key;
    }
    EXPECT_EQ(keys.size(), linkSettings().size());
    EXPECT_FALSE(readIniString("link", "説明"_sj, "").empty());
    EXPECT_EQ(helpLinkAddress(HelpLink::FaultReports), address::kFaultReports);

    // Whoever ships the program points every link at real sites.
    for (const LinkSetting& setting : linkSettings())
        ASSERT_TRUE(writeIniString("link", setting.key, std::string("https://real.test/") + setting.key));
    EXPECT_EQ(searchKestrelo("a b"), "https://real.test/kestrelosearch.php?itemName=a+b");
    EXPECT_EQ(searchOpenVornik("x"), "https://real.test/openvornik?word=x");
    EXPECT_EQ(searchOpenVornik(""), "https://real.test/openvornik");
    EXPECT_EQ(shopSearchAddress("x"), "https://real.test/shopsearch?itemname=x&prg=VornikWin");
    EXPECT_EQ(helpLinkAddress(HelpLink::ShopSearchTop), "https://real.test/shoptop");
    EXPECT_EQ(helpLinkAddress(HelpLink::CraftingBoard), "https://real.test/craftboard");
    // A second start changes nothing the shipper set.
    ASSERT_TRUE(writeMissingLinkSettings());
    EXPECT_EQ(outsideAddress(OutsideAddress::HomePage), "https://real.test/home");
}

TEST(HelpLinks, EveryLinkHasItsOwnReservedAddress)
{
    const HelpLink links[] = { HelpLink::HomePage, HelpLink::EquipmentList, HelpLink::DeliveryQuestNotes,
        HelpLink::ShopSearchTop, HelpLink::KestreloTop, HelpLink::CraftingBoard, HelpLink::RecipeUpdateBoard,
        HelpLink::FaultReports };
    std::set<std::string> addresses;
    for (const HelpLink link : links) {
        const std::string target = helpLinkAddress(link);
        EXPECT_TRUE(target.starts_with("https://")) << target;
        EXPECT_NE(target.find(".example/"), std::string::npos) << target;
        addresses.insert(target);
    }
    EXPECT_EQ(addresses.size(), std::size(links));
    EXPECT_EQ(helpLinkAddress(HelpLink::HomePage), address::kHomePage);
    EXPECT_EQ(helpLinkAddress(HelpLink::KestreloTop), address::kKestreloBase);
}
