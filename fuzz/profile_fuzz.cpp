// The settings-file reader and writer. The input holds a section name, a key,
// a value and the file. Parsing and writing back unchanged must give the
// file byte for byte; a successful write must read back as written, keep
// every other value, and survive a second parse; reads never return more
// than they were allowed nor half a double-byte character.

#include "fuzz_check.h"
#include "platform/sjis_text.h"
#include "storage/profile_file.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using namespace vornik;

namespace {

// What value() gives for a value written as `raw`.
std::string expectedValue(std::string_view raw)
{
    std::size_t begin = 0;
    std::size_t end = raw.size();
    while (begin < end && (raw[begin] == ' ' || raw[begin] == '\t'))
        ++begin;
    while (end > begin && (raw[end - 1] == ' ' || raw[end - 1] == '\t'))
        --end;
    std::string_view v = raw.substr(begin, end - begin);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(16);
    const std::string key = provider.ConsumeRandomLengthString(16);
    const std::string value = provider.ConsumeRandomLengthString(32);
    const std::string otherKey = provider.ConsumeRandomLengthString(8);
    const std::size_t capacity = provider.ConsumeIntegralInRange<std::size_t>(1, 40);
    const std::string file = provider.ConsumeRemainingBytesAsString();

    ProfileFile profile(file);
    FUZZ_CHECK(profile.bytes() == file);
    FUZZ_CHECK(!profile.isModified());

    const std::string read = profile.readString(section, key, "def", capacity);
    FUZZ_CHECK(read.size() < capacity);
    FUZZ_CHECK(sjis::cutAtChar(read, read.size()).size() == read.size());
    (void)profile.readInt(section, key, 7);

    const auto otherBefore = profile.value(section, otherKey);
    if (!profile.writeString(section, key, value)) {
        FUZZ_CHECK(profile.bytes() == file);
        return 0;
    }
    const auto written = profile.value(section, key);
    if (!written || *written != expectedValue(value)) {
        for (const std::string& s : { section, key, value, file, profile.bytes() }) {
            for (const char c : s)
                std::fprintf(stderr, "%02x ", static_cast<unsigned char>(c));
            std::fprintf(stderr, "|\n");
        }
    }
    FUZZ_CHECK(written.has_value());
    FUZZ_CHECK(*written == expectedValue(value));
    if (!profileNamesEqual(otherKey, key))
        FUZZ_CHECK(profile.value(section, otherKey) == otherBefore);

    const ProfileFile reparsed(profile.bytes());
    FUZZ_CHECK(reparsed.bytes() == profile.bytes());
    FUZZ_CHECK(reparsed.value(section, key) == written);
    return 0;
}
