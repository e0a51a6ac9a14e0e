// Lines without end: a damaged file or a device must end the reading with an
// error, not fill the memory.

#include "storage/line_reader.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
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

namespace {

struct Found {
    std::vector<std::string> lines;
    int error = 0;
};

Found linesHolding(
    const std::string& path, std::string_view needle, std::size_t bufferSize, bool loneCr, bool fast)
{
    LineReader reader(bufferSize, 100);
    reader.setLoneCrEndsLine(loneCr);
    Found found;
    if (!reader.open(path))
        return found;
    std::string_view line;
    while (fast ? reader.readLineContaining(needle, line) : reader.readLine(line)) {
        if (fast || line.find(needle) != std::string_view::npos)
            found.lines.emplace_back(line);
    }
    found.error = reader.error();
    return found;
}

} // namespace

// The buffer-wide search must hand out exactly the lines a line-by-line
// search keeps, wherever the reader's buffer happens to end: every buffer
// size is tried, so a find, a CR LF and a line end each fall on a boundary.
TEST(LineReader, ReadLineContainingKeepsTheLinesALineByLineSearchKeeps)
{
    const std::string name = "\x91\x8b\x8d\x7c"; // two double-byte characters
    const std::vector<std::string> contents = {
        name + ",first\r\n2,none\r\n3,x" + name + "\r\n4,tail " + name, // no line end at the end
        "1,a\r2," + name + "\r3,b\r\r4," + name + name + "\r", // lone CRs, an empty line
        std::string("\r\n\n1,\x8d\x7c") + "\x91\x8b\r\n" + std::string(60, 'z') + name + "\n"
            + name, // halves apart
        std::string(150, 'a') + "\n" + name + "\n", // a line over the limit
        "\x83\x5c"
        "\\\\\r\n\\\n", // "ソ" ends in the byte of a backslash
        "",
    };
    const std::vector<std::string> needles = { name, "\x8d\x7c", "\\", "z" + name, "a\r", "zz" };
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    for (std::size_t c = 0; c < contents.size(); ++c) {
        test::writeFileBytes(path, contents[c]);
        for (const std::string& needle : needles) {
            for (const bool loneCr : { true, false }) {
                for (std::size_t size = 16; size <= std::max<std::size_t>(16, contents[c].size() + 2);
                     ++size) {
                    const Found plain = linesHolding(path, needle, size, loneCr, false);
                    const Found fast = linesHolding(path, needle, size, loneCr, true);
                    EXPECT_EQ(fast.lines, plain.lines) << "content " << c << " buffer " << size;
                    EXPECT_EQ(fast.error, plain.error) << "content " << c << " buffer " << size;
                }
            }
        }
    }
}

TEST(LineReader, ReadLineContainingStopsWhenAsked)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    test::writeFileBytes(path, "a\nb\n");
    LineReader reader;
    ASSERT_TRUE(reader.open(path));
    const std::atomic<bool> stop = true;
    std::string_view line;
    EXPECT_FALSE(reader.readLineContaining("b", line, &stop));
    EXPECT_EQ(reader.error(), 0);
}
