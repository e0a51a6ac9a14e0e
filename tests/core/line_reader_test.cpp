// Lines without end: a damaged file or a device must end the reading with an
// error, not fill the memory.

#include "platform/sjis_literal.h"
#include "storage/line_reader.h"
#include "tests/support/encoded_text.h"
#include "tests/support/temp_program_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
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

// A converted file is searched in its lines as handed on (Shift-JIS), not in
// the bytes read.
TEST(LineReader, ReadLineContainingLooksAtConvertedLines)
{
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    const std::pair<FileEncoding, std::string> files[] = {
        { FileEncoding::Utf8, test::utf8(u8"1,銅\n2,蒼鋼の剣\n") },
        { FileEncoding::Utf16Le, test::utf16(u"1,銅\r\n2,蒼鋼の剣") },
    };
    for (const auto& [encoding, bytes] : files) {
        test::writeFileBytes(path, bytes);
        LineReader reader(16);
        ASSERT_TRUE(reader.open(path));
        reader.setSourceEncoding(encoding);
        std::string_view line;
        ASSERT_TRUE(reader.readLineContaining("蒼鋼"_sj, line));
        EXPECT_EQ(line, "2,蒼鋼の剣"_sj);
        EXPECT_FALSE(reader.readLineContaining("蒼鋼"_sj, line));
    }
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

namespace {

struct PlacedLine {
    std::uint64_t offset;
    std::string text;
    friend bool operator==(const PlacedLine&, const PlacedLine&) = default;
};

// The lines of `content` with where each begins, split by the reader's rules
// written out plainly: LF and CR LF end a line, a lone CR too when `loneCr`;
// a CR before the end of the file is no part of the last line.
std::vector<PlacedLine> plainLines(const std::string& content, bool loneCr)
{
    std::vector<PlacedLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const bool lf = content[i] == '\n';
        const bool cr = content[i] == '\r' && i + 1 < content.size() && content[i + 1] != '\n' && loneCr;
        if (!lf && !cr)
            continue;
        std::string text = content.substr(start, i - start);
        if (lf && !text.empty() && text.back() == '\r')
            text.pop_back();
        lines.push_back({ start, text });
        start = i + 1;
    }
    if (start < content.size()) {
        std::string text = content.substr(start);
        if (text.back() == '\r')
            text.pop_back();
        lines.push_back({ start, text });
    }
    return lines;
}

} // namespace

// Rows that keep only where their line lies read it back from there: the
// place the reader tells must be the line's first byte wherever the buffer
// ends, line by line and in the buffer-wide search alike.
TEST(LineReader, LineOffsetsAreWhereTheLinesBegin)
{
    const std::string name = "\x91\x8b\x8d\x7c";
    const std::vector<std::string> contents = {
        "1,a\r\n2," + name + "\r\n\r\n3,b" + name + "\r\n4,tail " + name,
        "1,a\r2," + name + "\r3,b\r\r4," + name + "\r",
        std::string("\r\n\n1,") + name + "\n" + std::string(70, 'z') + name + "\r\n" + name,
        std::string(40, 'q') + "\r",
    };
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    for (std::size_t c = 0; c < contents.size(); ++c) {
        test::writeFileBytes(path, contents[c]);
        for (const bool loneCr : { true, false }) {
            const std::vector<PlacedLine> expected = plainLines(contents[c], loneCr);
            std::vector<PlacedLine> holding;
            for (const PlacedLine& line : expected) {
                if (line.text.find(name) != std::string::npos)
                    holding.push_back(line);
            }
            for (std::size_t size = 16; size <= contents[c].size() + 2; ++size) {
                SCOPED_TRACE("content " + std::to_string(c) + " buffer " + std::to_string(size)
                    + (loneCr ? " lone CR ends" : ""));
                for (const bool fast : { false, true }) {
                    LineReader reader(size);
                    reader.setLoneCrEndsLine(loneCr);
                    ASSERT_TRUE(reader.open(path));
                    std::vector<PlacedLine> read;
                    std::string_view line;
                    while (fast ? reader.readLineContaining(name, line) : reader.readLine(line))
                        read.push_back({ reader.lineOffset(), std::string(line) });
                    EXPECT_EQ(reader.error(), 0);
                    EXPECT_EQ(read, fast ? holding : expected) << (fast ? "buffer-wide" : "line by line");
                }
            }
        }
    }
}
