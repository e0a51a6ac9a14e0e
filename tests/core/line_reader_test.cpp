// Lines without end: a damaged file or a device must end the reading with an
// error, not fill the memory.

#include "storage/line_reader.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
