#include "storage/field_codec.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

#include <cstring>

namespace vornik {
namespace {

bool containsByte(std::string_view text, char byte)
{
    return !text.empty() && std::memchr(text.data(), byte, text.size()) != nullptr;
}

// Commas and line-break bytes are never part of a double-byte character, so
// every such byte is replaced, also one that follows a stray lead byte: a
// comma or line break left in a field would cut the record apart.
void replaceByte(std::string& text, char byte, std::string_view to)
{
    if (!containsByte(text, byte))
        return;
    std::string out;
    out.reserve(text.size() + to.size() * 4);
    for (const char c : text) {
        if (c == byte)
            out.append(to);
        else
            out.push_back(c);
    }
    text = std::move(out);
}

void encodeLineBreaks(std::string& text)
{
    if (!containsByte(text, '\r') && !containsByte(text, '\n'))
        return;
    text = sjis::replaceAll(text, "\r\n", "<br>");
    replaceByte(text, '\r', "<br>");
    replaceByte(text, '\n', "<br>");
}

} // namespace

std::string splitField(std::string& rest)
{
    const std::size_t comma = rest.find(',');
    if (comma == std::string::npos) {
        std::string field = std::move(rest);
        rest.clear();
        return field;
    }
    std::string field = rest.substr(0, comma);
    rest.erase(0, comma + 1);
    sjis::replaceAllInPlace(rest, "%20", " ");
    return field;
}

void decodeFields(RecipeRecord& record)
{
    for (std::string& field : record.fields()) {
        sjis::trim(field);
        sjis::replaceAllInPlace(field, "&gt", "＞"_sj);
    }
}

void encodeFields(RecipeRecord& record)
{
    for (std::string& field : record.fields()) {
        sjis::trim(field);
        sjis::replaceAllInPlace(field, "＞"_sj, "&gt");
        replaceByte(field, ',', "，"_sj);
        encodeLineBreaks(field);
    }
    for (std::string* field : { &record.name(), &record.hq(), &record.desynth() }) {
        sjis::replaceAllInPlace(*field, "×"_sj, " ");
        sjis::replaceAllInPlace(*field, "%20", " ");
    }
    for (int k = 1; k <= kLevelSkills; ++k) {
        if (!isDigits(record.capLevel(k)))
            record.capLevel(k).clear();
    }
}

bool isDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

void decodeLine(std::string_view line, RecipeRecord& record)
{
    // Same result as splitField for every field followed by decodeFields.
    // splitField decodes "%20" in the whole rest of the line after each cut;
    // a comma always ends a character, so the text after it is walked from
    // the same character boundaries whichever cut came before, and a decoded
    // space never forms a new "%20". Decoding each field on its own is
    // therefore the same, and the record does it when a field is first read.
    record.assignLine(line);
}

std::string joinFields(const RecipeRecord& record)
{
    std::size_t size = kFieldCount;
    for (const std::string& field : record.fields())
        size += field.size();
    std::string line;
    line.reserve(size);
    for (int pos = 0; pos < kFieldCount; ++pos) {
        if (pos > 0)
            line.push_back(',');
        line.append(record[pos]);
    }
    return line;
}

} // namespace vornik
