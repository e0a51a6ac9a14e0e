#include "storage/field_codec.h"

#include "storage/sjis_literal.h"
#include "storage/sjis_text.h"

#include <array>
#include <cstring>

namespace vornik {
namespace {

bool containsByte(std::string_view text, char byte)
{
    return !text.empty() && std::memchr(text.data(), byte, text.size()) != nullptr;
}

// sjis::replaceAllInPlace for a replacement no longer than what it replaces,
// done inside the string's own storage so that it never allocates.
void replaceShrinkingInPlace(std::string& text, std::string_view from, std::string_view to)
{
    std::size_t match = sjis::find(text, from);
    if (match == std::string::npos)
        return;
    char* data = text.data();
    std::size_t out = 0;
    std::size_t in = 0;
    while (match != std::string::npos) {
        std::memmove(data + out, data + in, match - in);
        out += match - in;
        std::memcpy(data + out, to.data(), to.size());
        out += to.size();
        in = match + from.size();
        // Only bytes from `in` on are read again, and nothing there has been
        // overwritten yet (out <= in).
        match = sjis::find(text, from, in);
    }
    std::memmove(data + out, data + in, text.size() - in);
    text.resize(out + text.size() - in);
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

enum ByteKind : unsigned char { kPlain, kComma, kPercent, kAmp };

constexpr std::array<unsigned char, 256> makeByteKinds()
{
    std::array<unsigned char, 256> kinds {};
    kinds[static_cast<unsigned char>(',')] = kComma;
    kinds[static_cast<unsigned char>('%')] = kPercent;
    kinds[static_cast<unsigned char>('&')] = kAmp;
    return kinds;
}

constexpr std::array<unsigned char, 256> kByteKinds = makeByteKinds();

bool hasEdgeSpace(std::string_view text)
{
    return !text.empty()
        && (sjis::isAsciiSpace(static_cast<unsigned char>(text.front()))
            || sjis::isAsciiSpace(static_cast<unsigned char>(text.back())));
}

// `raw` is one field as cut from the line; the flags tell whether it holds a
// '%' or a '&' at all, so the replacements only run where they can match.
void assignDecoded(std::string& field, std::string_view raw, bool decodePercent, bool hasPercent, bool hasAmp)
{
    if (!hasPercent && !hasAmp) {
        // Nearly every field: a plain copy into the capacity the field has.
        if (raw.empty())
            field.clear();
        else
            field.assign(hasEdgeSpace(raw) ? sjis::trimmed(raw) : raw);
        return;
    }
    field.clear(); // keeps the capacity: append below allocates only to grow
    if (decodePercent && hasPercent) {
        field.append(raw);
        replaceShrinkingInPlace(field, "%20", " ");
        sjis::trim(field);
    } else {
        field.append(hasEdgeSpace(raw) ? sjis::trimmed(raw) : raw);
    }
    if (hasAmp)
        replaceShrinkingInPlace(field, "&gt", "＞"_sj);
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
    for (std::string& field : record.fields) {
        sjis::trim(field);
        sjis::replaceAllInPlace(field, "&gt", "＞"_sj);
    }
}

void encodeFields(RecipeRecord& record)
{
    for (std::string& field : record.fields) {
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
    // therefore the same.
    const char* at = line.data();
    const char* const end = at + line.size();
    bool restLeft = true;
    for (int pos = 0; pos < kFieldCount; ++pos) {
        std::string& field = record[pos];
        if (!restLeft) {
            field.clear();
            continue;
        }
        // One pass over the field's bytes finds its end and whether the
        // replacements have anything to do; fields are short, so this beats
        // several memchr calls.
        const char* const start = at;
        bool hasPercent = false;
        bool hasAmp = false;
        for (; at != end; ++at) {
            const unsigned char kind = kByteKinds[static_cast<unsigned char>(*at)];
            if (kind == kPlain)
                continue;
            if (kind == kComma)
                break;
            hasPercent |= kind == kPercent;
            hasAmp |= kind == kAmp;
        }
        const std::string_view raw(start, static_cast<std::size_t>(at - start));
        if (at == end)
            restLeft = false;
        else
            ++at;
        assignDecoded(field, raw, pos != field::Id, hasPercent, hasAmp);
    }
}

std::string joinFields(const RecipeRecord& record)
{
    std::size_t size = kFieldCount;
    for (const std::string& field : record.fields)
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
