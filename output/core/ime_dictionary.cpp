#include "output/core/ime_dictionary.h"

#include "output/core/export_file.h"
#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/formatting.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

#include <optional>
#include <ostream>

namespace vornik {
namespace {

constexpr std::size_t kMaxWordBytes = 60;

} // namespace

std::string imeWord(const RecipeRecord& record)
{
    std::string word = record.name() + crystalName(textToInt(record.crystal()))
        + materialSummary(MaterialForm::Compact, record);
    if (word.size() > kMaxWordBytes) {
        word.resize(sjis::cutAtChar(word, kMaxWordBytes - 1).size());
        word += '.';
    }
    return word;
}

std::string imeDictionaryLines(const RecipeRecord& record)
{
    const std::string word = imeWord(record);
    const std::string& reading = imeName(textToInt(record.skill()));
    const std::string tail = "\t" + word + "\t顔文字\t【ユーザー】"_sj + std::string(kLineEnd);
    return reading + tail + reading + record.rank() + tail;
}

ImeExportResult writeImeDictionary(std::ostream& out, std::string& error)
{
    StorageError scanError;
    if (!openDataFile(scanError))
        return ImeExportResult::DataFileNotOpened;
    while (out && readNextRecord(scanError)) {
        if (!currentRecord().material(1).empty())
            out << imeDictionaryLines(currentRecord());
    }
    // readNextRecord ends the scan both at the end of the file and on a read
    // error; only the error leaves a message behind.
    const bool readFailed = out && scanError.failed();
    closeDataFile();
    out.flush();
    if (!out)
        return ImeExportResult::WriteFailed;
    if (!readFailed)
        return ImeExportResult::Written;
    error = scanError.text;
    return ImeExportResult::DataFileUnreadable;
}

ImeExportResult writeImeDictionaryFile(const std::string& path, std::string& error)
{
    std::optional<ImeExportResult> scan;
    const bool written = writeExportFile(
        path,
        [&scan, &error](std::ostream& out) {
            scan = writeImeDictionary(out, error);
            return *scan == ImeExportResult::Written;
        },
        error);
    if (!scan)
        return ImeExportResult::CannotCreate;
    if (*scan == ImeExportResult::DataFileNotOpened)
        return *scan;
    if (*scan == ImeExportResult::DataFileUnreadable)
        return *scan;
    return written ? ImeExportResult::Written : ImeExportResult::WriteFailed;
}

} // namespace vornik
