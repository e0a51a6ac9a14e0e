#include "storage/memo_file.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/file_encoding.h"
#include "storage/line_reader.h"
#include "storage/numbers.h"
#include "storage/paths.h"

#include <optional>
#include <utility>

namespace vornik {
namespace {

// A memo is one line: line breaks become "<br>" (a lone CR or LF too, which
// would otherwise split the line) and a typed "," the full-width one, so the
// first comma of the line always ends the id.
std::string encodeMemoText(const std::string& text)
{
    std::string encoded = sjis::replaceAll(text, "\r\n", "<br>");
    std::string out;
    out.reserve(encoded.size());
    for (const char c : encoded) {
        if (c == '\r' || c == '\n')
            out += "<br>";
        else if (c == ',')
            out += "，"_sj;
        else
            out.push_back(c);
    }
    return out;
}

// Replaces every memo line of `id` (compared as text) by `newLine`, or
// appends it; drops lines without a comma.
bool rewriteMemoLine(const std::string& id, const std::string& newLine, StorageError& error)
{
    FileRewrite rewrite;
    rewrite.sourcePath = memoFilePath();
    rewrite.tempPath = programFilePath("temp2.dat");
    rewrite.missingSourceIsEmpty = true;
    return replaceOrAppendLine(
        std::move(rewrite), id, newLine,
        [](std::string_view line) -> std::optional<std::string_view> {
            const std::size_t comma = line.find(',');
            if (comma == std::string_view::npos)
                return std::nullopt;
            return line.substr(0, comma);
        },
        error);
}

struct MemoLine {
    std::int32_t id;
    std::string_view storedText;
};

// Lines without a comma hold no memo.
std::optional<MemoLine> parseMemoLine(std::string_view line)
{
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    return MemoLine { textToInt(line.substr(0, comma)), line.substr(comma + 1) };
}

std::string decodeMemoText(std::string_view stored)
{
    return sjis::replaceAll(stored, "<br>", "\r\n");
}

} // namespace

std::string readMemo(const std::string& id)
{
    LineReader reader;
    if (!reader.open(memoFilePath()))
        return std::string();
    reader.setSourceEncoding(encodingOfFile(memoFilePath()));
    const std::int32_t wanted = textToInt(id);
    std::string_view line;
    while (reader.readLine(line)) {
        const std::optional<MemoLine> memo = parseMemoLine(line);
        if (memo && memo->id == wanted)
            return decodeMemoText(memo->storedText);
    }
    return std::string();
}

std::unordered_map<std::int32_t, std::string> readAllMemos()
{
    return readAllMemos(memoFilePath());
}

std::unordered_map<std::int32_t, std::string> readAllMemos(const std::string& path)
{
    std::unordered_map<std::int32_t, std::string> memos;
    LineReader reader;
    if (!reader.open(path))
        return memos;
    reader.setSourceEncoding(encodingOfFile(path));
    std::string_view line;
    while (reader.readLine(line)) {
        const std::optional<MemoLine> memo = parseMemoLine(line);
        if (memo && memos.find(memo->id) == memos.end())
            memos.emplace(memo->id, decodeMemoText(memo->storedText));
    }
    return memos;
}

bool saveMemo(const std::string& id, const std::string& text, StorageError& error)
{
    const std::string newLine = id + "," + encodeMemoText(text);
    return withStorageLock(memoFilePath(), error, [&] { return rewriteMemoLine(id, newLine, error); });
}

MemoStore saveMemoIfUnchanged(
    const std::string& id, const std::string& text, const std::string& expected, StorageError& error)
{
    const std::string newLine = id + "," + encodeMemoText(text);
    bool changed = false;
    const bool saved = withStorageLock(memoFilePath(), error, [&] {
        changed = readMemo(id) != expected;
        return !changed && rewriteMemoLine(id, newLine, error);
    });
    if (saved)
        return MemoStore::Stored;
    return changed ? MemoStore::ChangedElsewhere : MemoStore::Failed;
}

} // namespace vornik
