// vornik-generate-data N OUTPUT [SEED]: writes a synthetic recipe data file
// of N records, for load tests and benchmarks.

#include "bench/data_generator.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

bool parseNumber(std::string_view text, std::uint32_t& value)
{
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

int usage()
{
    std::fputs("usage: vornik-generate-data N OUTPUT [SEED]\n"
               "  N       number of records (ids 1 to N)\n"
               "  OUTPUT  data file to write (Shift-JIS, CR LF)\n"
               "  SEED    random seed, default 1; the same seed gives the same file\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4)
        return usage();
    std::uint32_t count = 0;
    std::uint32_t seed = 1;
    if (!parseNumber(argv[1], count) || (argc == 4 && !parseNumber(argv[3], seed)))
        return usage();

    const auto start = std::chrono::steady_clock::now();
    if (!vornik::writeDataFile(argv[2], count, seed)) {
        std::fprintf(stderr, "vornik-generate-data: cannot write %s\n", argv[2]);
        return 1;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "%u records written to %s in %.2f s\n", static_cast<unsigned>(count), argv[2],
        elapsed.count());
    return 0;
}
