#pragma once
// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer then saves the input), and a scratch folder on a RAM disk when
// there is one, so that file-based readers cost no disk writes.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

namespace vornik::fuzz {

// Never destroyed, so that the clean-up at exit can still read it.
inline const std::string& scratchDir()
{
    static const std::string& dir = *[] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* pattern = new std::string(std::string(base) + "/vornik-fuzz-XXXXXX");
        if (!mkdtemp(pattern->data()))
            std::abort();
        return pattern;
    }();
    static const bool cleanUpAtExit
        = [] { return std::atexit([] { std::filesystem::remove_all(scratchDir()); }) == 0; }();
    (void)cleanUpAtExit;
    return dir;
}

inline void writeWholeFile(const std::string& path, std::string_view bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::abort();
    std::fclose(f);
}

} // namespace vornik::fuzz
