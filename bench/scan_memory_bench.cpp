// vornik-scan-memory PROGRAM_DIR [NAME]: one core scan of PROGRAM_DIR/vornik.txt
// for NAME (Shift-JIS bytes; every record when empty or left out), then
// prints the rows kept and the process's peak resident size in KiB. Reading
// streams, so the peak must not grow with the file, only with the matches.

#include "app/core/result_columns.h"
#include "app/core/scan.h"
#include "app/core/search_criteria.h"
#include "storage/paths.h"
#include "storage/vocabulary.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// VmHWM from /proc/self/status; -1 where there is none.
long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fputs("usage: vornik-scan-memory PROGRAM_DIR [NAME]\n", stderr);
        return 2;
    }
    vornik::setProgramDir(argv[1]);
    vornik::loadSettings();
    vornik::SearchInputs inputs;
    if (argc == 3)
        inputs.name = argv[2];
    const vornik::ColumnLayout layout = vornik::buildColumnLayout("1111111111111xxxxxxx", "");
    std::vector<vornik::ResultRow> rows;
    vornik::StorageError error;
    if (!vornik::scanForMatches(vornik::readCriteria(inputs), layout, rows, error)) {
        std::fprintf(stderr, "vornik-scan-memory: cannot open the data file in %s\n", argv[1]);
        return 1;
    }
    std::printf("rows %zu\npeak_kib %ld\n", rows.size(), peakResidentKiB());
    return 0;
}
