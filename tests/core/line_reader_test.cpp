// Lines without end: a damaged file or a device must end the reading with an
// error, not fill the memory.

#include "platform/sjis_literal.h"
#include "storage/line_reader.h"
#include "tests/support/encoded_text.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

using namespace vornik;

TEST(LineReader, ALineOverTheLimitEndsTheReadingWithAnError)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    // Limit 100 with a 16-byte buffer: 96 bytes fit, 112 do not.
    test::writeFileBytes(
        path, "first\r\n" + std::string(96, 'a') + "\n" + std::string(112, 'b') + "\nlast\n");
    LineReader reader(16, 100);
    ASSERT_TRUE(reader.open(path));
    std::string_view line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "first");
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, std::string(96, 'a'));
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(reader.error(), EFBIG);
    EXPECT_FALSE(reader.readLine(line)) << "the reader stays at its end";

    // Opening again starts afresh.
    ASSERT_TRUE(reader.open(path));
    EXPECT_TRUE(reader.readLine(line));
    EXPECT_EQ(reader.error(), 0);
}

// An endless device is no data file: it is refused when opened, so no read
// can run on without end.
TEST(LineReader, AnEndlessDeviceIsRefused)
{
    if (!std::filesystem::exists("/dev/zero"))
        GTEST_SKIP() << "no /dev/zero here";
    LineReader reader(64 * 1024, 1024 * 1024);
    EXPECT_FALSE(reader.open("/dev/zero"));
    EXPECT_NE(reader.error(), 0);
}

// UTF-16 is split into lines on its code units, whatever chunk boundary
// falls inside a code unit, a surrogate pair or a CR LF. A surrogate without
// its partner and a stray last byte show as "?".
TEST(LineReader, Utf16LinesSurviveEveryChunkBoundary)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    const std::u16string text = u"\uFEFF鋼😀の剣\r\n\r\nA\rB\nX\xD800Y\r\nｱ\r\n末";
    const std::vector<std::string> expected = { "鋼?の剣"_sj, "", "A", "B", "X?Y", "ｱ"_sj, "末?"_sj };
    for (const bool bigEndian : { false, true }) {
        test::writeFileBytes(path, test::utf16(text, bigEndian) + "!");
        for (std::size_t bufferSize = 16; bufferSize <= 48; ++bufferSize) {
            SCOPED_TRACE(
                (bigEndian ? "big-endian, buffer " : "little-endian, buffer ") + std::to_string(bufferSize));
            LineReader reader(bufferSize);
            ASSERT_TRUE(reader.open(path));
            reader.setSourceEncoding(bigEndian ? FileEncoding::Utf16Be : FileEncoding::Utf16Le);
            std::vector<std::string> lines;
            std::string_view line;
            while (reader.readLine(line))
                lines.emplace_back(line);
            EXPECT_EQ(reader.error(), 0);
            EXPECT_EQ(lines, expected);
        }
    }
}
