// The check's Shift-JIS test reads 64 bytes at a time; here it must name the
// same first bad byte as a plain walk over the characters, on random lines
// whose double-byte characters and faults fall on every side of the block
// edges.

#include "cli/core/data_check.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

using namespace vornik;

namespace {

bool isLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// 1-based position of the first byte that is not part of a character, or 0.
std::size_t firstBadByte(const std::string& line)
{
    for (std::size_t pos = 0; pos < line.size();) {
        const auto c = static_cast<unsigned char>(line[pos]);
        if (isLead(c)) {
            if (pos + 1 == line.size())
                return pos + 1;
            const auto trail = static_cast<unsigned char>(line[pos + 1]);
            if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
                return pos + 2;
            pos += 2;
        } else if (c == 0x00 || c == 0x80 || c == 0xA0 || c >= 0xFD) {
            return pos + 1;
        } else {
            ++pos;
        }
    }
    return 0;
}

TEST(DataCheckTest, ShiftJisFaultsMatchAPlainWalk)
{
    const unsigned char alphabet[] = { 'a', '1', ',', ' ', '\r', 0xB1, 0xDF, 0x81, 0x82, 0x9F, 0xE0, 0xFC,
        0x40, 0x7E, 0x7F, 0x80, 0xA0, 0xFD, 0xFF, 0x00 };
    std::mt19937 random(18);
    std::string data = "1\n"; // the first line starts with no byte-order mark
    std::map<std::size_t, std::size_t> expected; // line -> first bad byte
    for (std::size_t line = 2; line <= 400; ++line) {
        std::string text;
        const std::size_t length = 1 + random() % 200;
        for (std::size_t i = 0; i < length; ++i) {
            // Mostly well-formed characters, now and then a stray byte.
            if (random() % 8 == 0)
                text += static_cast<char>(alphabet[random() % std::size(alphabet)]);
            else if (random() % 2 == 0)
                text += "\x8C\x95"; // 剣
            else
                text += static_cast<char>('a' + random() % 26);
        }
        if (const std::size_t bad = firstBadByte(text))
            expected[line] = bad;
        data += text + "\n";
    }
    test::TempProgramDir dir;
    test::writeFileBytes(dir.path() / "data.txt", data);

    std::map<std::size_t, std::size_t> found;
    cli::checkDataFile(
        dir.file("data.txt"), dir.file("data_memo.txt"), [&](const cli::CheckFinding& finding) {
            const std::size_t mark = finding.text.find(" バイト目の ");
            if (mark != std::string::npos)
                found[finding.line] = std::stoul(finding.text.substr(0, mark));
        });
    EXPECT_GT(expected.size(), 100u);
    EXPECT_EQ(found, expected);
}

} // namespace
