#pragma once
// The shared command line of the benchmark programs:
//   PROGRAM --data-dir=DIR [Google Benchmark flags]
// DIR holds the generated data files, one per record count.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace vornik::bench {

inline std::filesystem::path& dataDir()
{
    static std::filesystem::path dir;
    return dir;
}

// Reads --data-dir, then runs the benchmarks; 2 with a usage line when the
// folder is not given.
inline int runBenchmarks(int argc, char** argv, const char* programName)
{
    benchmark::Initialize(&argc, argv);
    constexpr std::string_view kDataDirFlag = "--data-dir=";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, kDataDirFlag.size()) == kDataDirFlag)
            dataDir() = std::filesystem::path(std::string(arg.substr(kDataDirFlag.size())));
    }
    if (dataDir().empty()) {
        std::fprintf(stderr, "usage: %s --data-dir=DIR [benchmark flags]\n", programName);
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace vornik::bench
