// The data-file line reader and the record codec.
//
// The input is a data file. It is read back through LineReader with a tiny
// buffer (so lines straddle refills) and compared with a plain split at LF,
// CR LF and lone CR.
// Every line is then decoded by decodeLine (all fields, and field by field in
// a scattered order) and by splitField + decodeFields, which must agree; and a decoded record, encoded
// and joined for writing, must stay one line of 50 fields and settle after
// one more read/write: saving a record twice never keeps changing it.

#include "fuzz_check.h"
#include "storage/field_codec.h"
#include "storage/line_reader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace vornik;

namespace {

std::vector<std::string> splitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        // LF, CR LF and a lone CR each end a line.
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

RecipeRecord slowDecode(std::string_view line)
{
    RecipeRecord record;
    std::string rest(line);
    for (std::string& field : record.fields())
        field = splitField(rest);
    decodeFields(record);
    return record;
}

std::string readWriteCycle(std::string_view line)
{
    RecipeRecord record;
    decodeLine(line, record);
    encodeFields(record);
    return joinFields(record);
}

void checkRecordLine(std::string_view line)
{
    const RecipeRecord slow = slowDecode(line);
    RecipeRecord fast;
    decodeLine(line, fast);
    FUZZ_CHECK(fast.fields() == slow.fields());
    // Fields are decoded when first read: any order gives the same texts.
    // 17 and 50 have no common factor, so every field is visited once.
    RecipeRecord scattered;
    decodeLine(line, scattered);
    for (std::size_t step = 0; step < static_cast<std::size_t>(kFieldCount); ++step) {
        const int pos = static_cast<int>((step * 17 + line.size()) % kFieldCount);
        FUZZ_CHECK(scattered[pos] == slow[pos]);
    }

    const std::string written = readWriteCycle(line);
    std::size_t commas = 0;
    for (const char c : written) {
        FUZZ_CHECK(c != '\r' && c != '\n');
        commas += c == ',';
    }
    FUZZ_CHECK(commas == kFieldCount - 1);
    const std::string again = readWriteCycle(readWriteCycle(written));
    FUZZ_CHECK(readWriteCycle(again) == again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::scratchDir() + "/data.txt";
    fuzz::writeWholeFile(path, bytes);

    const std::vector<std::string> expected = splitLines(bytes);
    LineReader reader(1 + size % 13);
    FUZZ_CHECK(reader.open(path));
    std::string_view line;
    std::size_t count = 0;
    while (reader.readLine(line)) {
        FUZZ_CHECK(count < expected.size());
        if (line != expected[count])
            std::fprintf(stderr, "line %zu (buffer %zu): got %zu bytes, expected %zu\n", count, 1 + size % 13,
                line.size(), expected[count].size());
        FUZZ_CHECK(line == expected[count]);
        checkRecordLine(line);
        ++count;
    }
    FUZZ_CHECK(reader.error() == 0);
    FUZZ_CHECK(count == expected.size());

    // Read as UTF-16 (either byte order), the lines do not depend on where
    // the chunks end, also inside a code unit or a surrogate pair.
    const auto utf16Lines = [&path](FileEncoding encoding, std::size_t bufferSize) {
        LineReader utf16(bufferSize);
        FUZZ_CHECK(utf16.open(path));
        utf16.setSourceEncoding(encoding);
        std::vector<std::string> lines;
        std::string_view text;
        while (utf16.readLine(text))
            lines.emplace_back(text);
        FUZZ_CHECK(utf16.error() == 0);
        return lines;
    };
    for (const FileEncoding encoding : { FileEncoding::Utf16Le, FileEncoding::Utf16Be })
        FUZZ_CHECK(utf16Lines(encoding, 1 + size % 13) == utf16Lines(encoding, 64 * 1024));
    return 0;
}
