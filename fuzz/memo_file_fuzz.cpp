// The per-record memo file. The input holds a record id, a memo text and the
// memo file. Reading any file must not fail; storing a memo must keep every
// other memo line as it was and read back as typed (line breaks as CR LF, a
// typed comma as the full-width one).

#include "fuzz_check.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/memo_file.h"
#include "storage/numbers.h"
#include "storage/paths.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace vornik;

namespace {

std::vector<std::string> memoLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::size_t cut = end;
        // The CR of a CR LF belongs to the line end, and so does a CR that
        // ends the file.
        if (cut > start && bytes[cut - 1] == '\r')
            --cut;
        const std::string line(bytes.substr(start, cut - start));
        if (line.find(',') != std::string::npos)
            lines.push_back(line);
        start = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    return lines;
}

std::string lineId(const std::string& line)
{
    return line.substr(0, line.find(','));
}

// Text typed in a widget is always well-formed Shift-JIS: every lead byte has
// its trail byte.
bool isWellFormed(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(text[pos])))
            continue;
        if (pos + 1 >= text.size())
            return false;
        const auto trail = static_cast<unsigned char>(text[++pos]);
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
            return false;
    }
    return true;
}

std::string expectedReadBack(const std::string& typed)
{
    std::string text = sjis::replaceAll(typed, "\r\n", "\n");
    std::string out;
    for (const char c : text) {
        if (c == '\r' || c == '\n')
            out += "\r\n";
        else if (c == ',')
            out += "，"_sj;
        else
            out += c;
    }
    return sjis::replaceAll(out, "<br>", "\r\n");
}

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string id = intToText(provider.ConsumeIntegralInRange<std::int32_t>(-5, 200));
    const std::string typed = provider.ConsumeRandomLengthString(64);
    const std::string file = provider.ConsumeRemainingBytesAsString();

    setProgramDir(fuzz::scratchDir());
    const std::string path = memoFilePath();
    fuzz::writeWholeFile(path, file);
    (void)readMemo(id);
    (void)readMemo(typed);

    vornik::StorageError error;
    FUZZ_CHECK(saveMemo(id, typed, error));
    const std::vector<std::string> before = memoLines(file);
    const std::vector<std::string> after = memoLines(readWholeFile(path));

    // Same lines in the same order, the id's lines replaced (or one added).
    std::size_t a = 0;
    std::string storedLine;
    for (const std::string& line : before) {
        FUZZ_CHECK(a < after.size());
        if (lineId(line) == id) {
            FUZZ_CHECK(lineId(after[a]) == id);
            storedLine = after[a];
        } else {
            if (after[a] != line)
                std::fprintf(stderr, "id '%s' line %zu: '%s' became '%s'\n", id.c_str(), a, line.c_str(),
                    after[a].c_str());
            FUZZ_CHECK(after[a] == line);
        }
        ++a;
    }
    if (storedLine.empty()) {
        FUZZ_CHECK(a + 1 == after.size());
        storedLine = after[a];
    } else {
        FUZZ_CHECK(a == after.size());
    }
    FUZZ_CHECK(lineId(storedLine) == id);

    // readMemo takes the first line whose id has the same number.
    bool shadowed = false;
    for (const std::string& line : before) {
        if (lineId(line) == id)
            break;
        shadowed |= textToInt(lineId(line)) == textToInt(id);
    }
    if (!shadowed && isWellFormed(typed))
        FUZZ_CHECK(readMemo(id) == expectedReadBack(typed));
    return 0;
}
