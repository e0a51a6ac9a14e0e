#include "storage/line_fields.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define VORNIK_HAVE_SSE2 1
#endif

namespace vornik {
namespace {

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

bool hasEdgeSpace(std::string_view text)
{
    return !text.empty()
        && (sjis::isAsciiSpace(static_cast<unsigned char>(text.front()))
            || sjis::isAsciiSpace(static_cast<unsigned char>(text.back())));
}

bool containsByte(std::string_view text, char byte)
{
    return !text.empty() && std::memchr(text.data(), byte, text.size()) != nullptr;
}

// Records the commas of `bytes` (found at `offset` on the line) whose bits
// are set in `commas`; `found` counts the fields ended so far. May write up
// to 64 entries past the fiftieth, which the bounds have room for.
inline void takeCommas(std::uint64_t commas, std::size_t offset, LineFieldBounds& bounds, std::size_t& found)
{
    // Four at a time, so that the loop's end is guessed wrong once per group
    // of bytes rather than once per comma; the entries written past the last
    // comma are overwritten later or lie past the fiftieth (room is kept).
    const std::size_t count = static_cast<std::size_t>(std::popcount(commas));
    std::size_t* out = bounds.ends.data() + found;
    while (commas != 0) {
        for (int i = 0; i < 4; ++i) {
            out[i] = offset + static_cast<std::size_t>(std::countr_zero(commas));
            commas &= commas - 1;
        }
        out += 4;
    }
    found += count;
}

#ifdef VORNIK_HAVE_SSE2
// Bit i set where byte i of the 16 at `at` equals `byte`.
inline std::uint64_t matches16(__m128i chunk, char byte)
{
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(byte))));
}
#endif

} // namespace

void findFieldBounds(std::string_view line, LineFieldBounds& bounds)
{
    // Field ends are found for a whole group of bytes at a time: a branch per
    // byte would guess wrong at every one of the fifty commas of a line.
    const char* const data = line.data();
    const std::size_t size = line.size();
    std::size_t found = 0;
    std::size_t at = 0;
    bool escapes = false;
#ifdef VORNIK_HAVE_SSE2
    for (; at < size && found < kLineFieldCount; at += 64) {
        // The last bytes of the line go through a zero-padded copy (a zero
        // byte is neither a comma nor an escape), so no byte is looked at
        // one by one.
        const char* block = data + at;
        alignas(16) char padded[64];
        if (size - at < 64) {
            std::memset(padded, 0, sizeof padded);
            std::memcpy(padded, block, size - at);
            block = padded;
        }
        std::uint64_t commas = 0;
        std::uint64_t special = 0;
        for (std::size_t part = 0; part < 4; ++part) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * part));
            commas |= matches16(chunk, ',') << (16 * part);
            special |= matches16(chunk, '%') | matches16(chunk, '&');
        }
        escapes |= special != 0;
        takeCommas(commas, at, bounds, found);
    }
#else
    for (; at < size && found < kLineFieldCount; ++at) {
        const char c = data[at];
        if (c == ',')
            bounds.ends[found++] = at;
        escapes |= c == '%' || c == '&';
    }
#endif
    for (; found < kLineFieldCount; ++found)
        bounds.ends[found] = size;
    bounds.hasEscapes = escapes;
}

void decodeFieldInto(std::string_view raw, int pos, bool mayHaveEscapes, std::string& out)
{
    const bool hasPercent = mayHaveEscapes && containsByte(raw, '%');
    const bool hasAmp = mayHaveEscapes && containsByte(raw, '&');
    if (!hasPercent && !hasAmp) {
        // Nearly every field: a plain copy into the capacity the field has.
        if (raw.empty())
            out.clear();
        else
            out.assign(hasEdgeSpace(raw) ? sjis::trimmed(raw) : raw);
        return;
    }
    out.clear(); // keeps the capacity: append below allocates only to grow
    if (pos != 0 && hasPercent) {
        out.append(raw);
        replaceShrinkingInPlace(out, "%20", " ");
        sjis::trim(out);
    } else {
        out.append(hasEdgeSpace(raw) ? sjis::trimmed(raw) : raw);
    }
    if (hasAmp)
        replaceShrinkingInPlace(out, "&gt", "＞"_sj);
}

} // namespace vornik
