#include "cli/core/data_check.h"

#include "cli/core/cli_options.h"

#include "platform/sjis_codec.h"
#include "platform/sjis_text.h"
#include "storage/file_encoding.h"
#include "storage/line_fields.h"
#include "storage/line_reader.h"
#include "storage/numbers.h"
#include "storage/record.h"
#include "storage/vocabulary.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace vornik::cli {
namespace {

std::string decimal(std::uint64_t n)
{
    return std::to_string(n);
}

std::string hexByte(unsigned char c)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("0x") + kHex[c >> 4] + kHex[c & 0xF];
}

// A field's text for a message.
std::string shown(std::string_view sjisText)
{
    return sjisToUtf8(sjisText);
}

// What one pass over a line's bytes finds: the first byte that cannot be
// code page 932 text (NUL counts as one: no text file of the program holds
// one), the first CR (a lone CR: the reader has taken the CR of CR LF), and
// the commas (never part of a double-byte character, like CR).
struct LineBytes {
    std::size_t badByte = std::string_view::npos;
    std::size_t loneCr = std::string_view::npos;
    std::size_t commas = 0;
};

// One bit per byte of a block of 64 bytes.
struct BlockMasks {
    std::uint64_t lead = 0; // 0x81-0x9F, 0xE0-0xFC: starts a double-byte character unless it ends one
    std::uint64_t notTrail = 0; // cannot be the second byte of a character
    std::uint64_t badSingle = 0; // cannot stand alone: 0x00, 0x80, 0xA0, 0xFD-0xFF
    std::uint64_t comma = 0;
    std::uint64_t cr = 0;
    std::uint64_t escape = 0; // '%' or '&': decoding may change the field
};

constexpr std::size_t kBlock = 64;

#if defined(__SSE2__) || defined(_M_X64)
// Sixteen bytes compared at a time; bytes compare as signed after flipping
// the top bit, so unsigned ranges become signed ones.
BlockMasks classifyBlock(const unsigned char* bytes)
{
    BlockMasks masks;
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const auto at = [&](int byte) { return _mm_set1_epi8(static_cast<char>(byte ^ 0x80)); };
    for (std::size_t part = 0; part < kBlock / 16; ++part) {
        const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + part * 16));
        const __m128i v = _mm_xor_si128(raw, flip);
        const auto atLeast = [&](int lo) { return _mm_cmpgt_epi8(v, at(lo - 1)); };
        const auto atMost = [&](int hi) { return _mm_cmplt_epi8(v, at(hi + 1)); };
        const auto equals
            = [&](int byte) { return _mm_cmpeq_epi8(raw, _mm_set1_epi8(static_cast<char>(byte))); };
        const __m128i high = atLeast(0xFD);
        const __m128i lead = _mm_or_si128(
            _mm_and_si128(atLeast(0x81), atMost(0x9F)), _mm_and_si128(atLeast(0xE0), atMost(0xFC)));
        const __m128i notTrail = _mm_or_si128(_mm_or_si128(atMost(0x3F), equals(0x7F)), high);
        const __m128i badSingle
            = _mm_or_si128(_mm_or_si128(equals(0x00), equals(0x80)), _mm_or_si128(equals(0xA0), high));
        const auto bits = [&](__m128i m) {
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(m))) << (part * 16);
        };
        masks.lead |= bits(lead);
        masks.notTrail |= bits(notTrail);
        masks.badSingle |= bits(badSingle);
        masks.comma |= bits(equals(','));
        masks.cr |= bits(equals('\r'));
        masks.escape |= bits(_mm_or_si128(equals('%'), equals('&')));
    }
    return masks;
}
#else
BlockMasks classifyBlock(const unsigned char* bytes)
{
    BlockMasks masks;
    for (std::size_t i = 0; i < kBlock; ++i) {
        const unsigned c = bytes[i];
        const std::uint64_t bit = std::uint64_t { 1 } << i;
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))
            masks.lead |= bit;
        if (c <= 0x3F || c == 0x7F || c >= 0xFD)
            masks.notTrail |= bit;
        if (c == 0x00 || c == 0x80 || c == 0xA0 || c >= 0xFD)
            masks.badSingle |= bit;
        if (c == ',')
            masks.comma |= bit;
        if (c == '\r')
            masks.cr |= bit;
        if (c == '%' || c == '&')
            masks.escape |= bit;
    }
    return masks;
}
#endif

int lowestBit(std::uint64_t mask)
{
    return std::countr_zero(mask);
}

// The line is read 64 bytes at a time. Which bytes are second bytes of a
// double-byte character follows from the runs of lead bytes alone: in a run
// the bytes alternate lead, second, lead, …, and the byte after a run of odd
// length is a second byte whatever its value. The same carry arithmetic
// finds escaped characters after runs of backslashes in fast JSON parsers.
// Also fills `fields` with where the fields end, as findFieldBounds does.
LineBytes scanLineBytes(std::string_view text, LineFieldBounds& fields)
{
    std::size_t fieldEnds = 0;
    fields.hasEscapes = false;
    constexpr std::uint64_t kEvenBits = 0x5555555555555555ULL;
    LineBytes found;
    std::uint64_t carriedTrail = 0; // the first byte of the next block is a second byte
    std::array<unsigned char, kBlock> tail {};
    for (std::size_t start = 0; start < text.size(); start += kBlock) {
        const std::size_t length = std::min(kBlock, text.size() - start);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data()) + start;
        if (length < kBlock) {
            tail.fill(' ');
            std::memcpy(tail.data(), bytes, length);
            bytes = tail.data();
        }
        const BlockMasks masks = classifyBlock(bytes);
        const std::uint64_t inLine
            = length == kBlock ? ~std::uint64_t { 0 } : (std::uint64_t { 1 } << length) - 1;
        const std::uint64_t lead = masks.lead & ~carriedTrail;
        const std::uint64_t followsLead = (lead << 1) | carriedTrail;
        const std::uint64_t oddStarts = lead & ~kEvenBits & ~followsLead;
        const std::uint64_t evenStarts = oddStarts + lead;
        const bool carry = evenStarts < lead;
        const std::uint64_t trail = (kEvenBits ^ (evenStarts << 1)) & followsLead;
        carriedTrail = carry ? 1 : 0;

        const std::uint64_t bad
            = ((trail & masks.notTrail) | (~trail & ~masks.lead & masks.badSingle)) & inLine;
        if (bad != 0 && found.badByte == std::string_view::npos)
            found.badByte = start + static_cast<std::size_t>(lowestBit(bad));
        // The data file is cut at every comma byte, as the program reads it.
        const std::uint64_t cr = masks.cr & inLine;
        if (cr != 0 && found.loneCr == std::string_view::npos)
            found.loneCr = start + static_cast<std::size_t>(lowestBit(cr));
        std::uint64_t commas = masks.comma & inLine;
        found.commas += static_cast<std::size_t>(std::popcount(commas));
        for (; commas != 0 && fieldEnds < kLineFieldCount; commas &= commas - 1)
            fields.ends[fieldEnds++] = start + static_cast<std::size_t>(lowestBit(commas));
        fields.hasEscapes = fields.hasEscapes || (masks.escape & inLine) != 0;
        // A lead byte on the last byte of the line has no second byte.
        const bool lastBlock = start + length == text.size();
        if (lastBlock && ((lead & ~trail) >> (length - 1) & 1) != 0
            && found.badByte == std::string_view::npos)
            found.badByte = start + length - 1;
    }
    for (; fieldEnds < kLineFieldCount; ++fieldEnds)
        fields.ends[fieldEnds] = text.size();
    return found;
}

// One bit per id number, in pages allocated when first used: the ids of a
// data file are dense, so a million records take 128 KiB.
class IdBits {
public:
    // Sets the bit; true when it was set already.
    bool testAndSet(std::int32_t id)
    {
        const auto [page, bit] = place(id);
        if (page >= m_pages.size())
            m_pages.resize(page + 1);
        if (!m_pages[page])
            m_pages[page] = std::make_unique<Page>();
        std::uint64_t& word = (*m_pages[page])[bit / 64];
        const std::uint64_t mask = std::uint64_t { 1 } << (bit % 64);
        const bool was = (word & mask) != 0;
        word |= mask;
        return was;
    }

    bool test(std::int32_t id) const
    {
        const auto [page, bit] = place(id);
        return page < m_pages.size() && m_pages[page] && ((*m_pages[page])[bit / 64] >> (bit % 64)) & 1;
    }

private:
    static constexpr std::size_t kPageBits = 1 << 16;
    using Page = std::array<std::uint64_t, kPageBits / 64>;

    static std::pair<std::size_t, std::size_t> place(std::int32_t id)
    {
        const auto n = static_cast<std::uint32_t>(id);
        return { n / kPageBits, n % kPageBits };
    }

    std::vector<std::unique_ptr<Page>> m_pages;
};

// Value of a text of at most 18 decimal digits.
std::uint64_t digitsValue(std::string_view digits)
{
    std::uint64_t value = 0;
    for (const char c : digits)
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return value;
}

// The yield count after the first blank, when there is one.
std::optional<std::string_view> yieldCount(std::string_view text)
{
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    return text.substr(blank + 1);
}

class Checker {
public:
    explicit Checker(const std::function<void(const CheckFinding&)>& report)
        : m_report(report)
    {
    }

    CheckSummary run(const std::string& dataPath, const std::string& memoPath)
    {
        if (!checkData(dataPath))
            return m_summary;
        checkMemo(memoPath);
        return m_summary;
    }

private:
    void find(std::string text)
    {
        ++m_summary.findings;
        m_report(CheckFinding { m_inMemo, m_line, std::move(text) });
    }

    // Encoding and line ends, common to both files.
    LineBytes checkBytes(std::string_view line)
    {
        const LineBytes found = scanLineBytes(line, m_bounds);
        if (found.badByte != std::string_view::npos) {
            const std::string text = decimal(found.badByte + 1) + " バイト目の "
                + hexByte(static_cast<unsigned char>(line[found.badByte]))
                + " は Shift-JIS の文字になりません";
            find(text + (isUtf8WithMultiByte(line) ? "（この行は UTF-8 で書かれているようです）" : ""));
        } else if (isUtf8WithMultiByte(line)) {
            // UTF-8 Japanese often passes as well-formed Shift-JIS bytes.
            find("この行は Shift-JIS ではなく UTF-8 で書かれているようです");
        }
        if (found.loneCr != std::string_view::npos)
            find(
                decimal(found.loneCr + 1) + " バイト目に CR だけの改行があります（改行は CR LF か LF です）");
        return found;
    }

    bool checkData(const std::string& path)
    {
        LineReader reader;
        // Lines are numbered as an editor numbers them, so that a lone CR is
        // found inside its line.
        reader.setLoneCrEndsLine(false);
        if (!reader.open(path)) {
            m_summary.unreadable = true;
            m_summary.error = "下記ファイルが見つかりませんでした。\n" + path;
            return false;
        }
        std::string_view line;
        while (reader.readLine(line)) {
            ++m_line;
            if (m_line == 1 && !checkStart(line))
                return true;
            checkRecord(line, checkBytes(line).commas + 1);
        }
        m_summary.dataLines = m_line;
        if (reader.error() != 0) {
            m_summary.unreadable = true;
            m_summary.error = "データファイルを最後まで読めませんでした。\n" + path + "\n"
                + std::strerror(reader.error());
            return false;
        }
        return true;
    }

    // The first line tells a file in another encoding by its byte-order mark.
    bool checkStart(std::string_view& line)
    {
        if (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF")) {
            m_line = 0;
            find("UTF-16 のファイルです（Shift-JIS のファイルではありません）");
            m_summary.dataLines = 0;
            return false;
        }
        if (line.starts_with("\xEF\xBB\xBF")) {
            find("UTF-8 の BOM で始まっています（Shift-JIS のファイルではありません）");
            line.remove_prefix(3);
        }
        return true;
    }

    // A field as the program reads it (checkBytes has cut the line).
    std::string_view fieldText(std::string_view line, int pos)
    {
        const std::string_view raw = m_bounds.field(line, pos);
        if (!m_bounds.hasEscapes)
            return sjis::trimmed(raw); // all that decoding would do
        std::string& out = m_fields[static_cast<std::size_t>(pos)];
        decodeFieldInto(raw, pos, true, out);
        return out;
    }

    void checkRecord(std::string_view line, std::size_t fields)
    {
        if (line.empty()) {
            find("空の行です（項目が 50 個の行のはずです）");
            return;
        }
        if (fields != kFieldCount)
            find("項目が " + decimal(fields) + " 個あります（50 個のはずです）");
        checkId(fieldText(line, field::Id));
        checkVocabulary(fieldText(line, field::Skill), "ｽｷﾙ", skillVocabulary().size());
        checkVocabulary(fieldText(line, field::Rank), "ﾗﾝｸ", rankVocabulary().size());
        checkVocabulary(fieldText(line, field::Crystal), "ｸﾘｽﾀﾙ", crystalVocabulary().size());
        checkMaterials(line);
        checkCount(fieldText(line, field::Name), "名前");
        checkHq(fieldText(line, field::Hq));
        checkCount(fieldText(line, field::Desynth), "分解");
    }

    void checkId(std::string_view id)
    {
        const bool plain
            = isDecimalDigits(id) && id[0] != '0' && id.size() <= 10 && digitsValue(id) <= INT32_MAX;
        if (!plain) {
            find("id「" + shown(id) + "」は正の 10 進数ではありません");
            // Memo lines still find the record by the number the id reads as.
            if (const std::int32_t n = textToInt(id); n > 0)
                m_ids.testAndSet(n);
            return;
        }
        if (m_ids.testAndSet(static_cast<std::int32_t>(digitsValue(id))))
            find("id " + std::string(id) + " はこれより前の行にもあります（id の重複）");
    }

    void checkVocabulary(std::string_view text, std::string_view what, std::size_t tableSize)
    {
        // An empty field reads as 0, the empty entry.
        if (text.empty())
            return;
        if (!isDecimalDigits(text) || text.size() > 9 || digitsValue(text) >= tableSize)
            find(std::string(what) + "の番号「" + shown(text) + "」が表の外です（0～" + decimal(tableSize - 1)
                + "）");
    }

    void checkMaterials(std::string_view line)
    {
        int firstEmpty = -1;
        std::uint64_t units = 0;
        bool gapReported = false;
        for (int slot = 0; slot < kMaterialSlots; ++slot) {
            const std::string_view material = fieldText(line, field::Material1 + slot);
            if (material.empty()) {
                if (firstEmpty < 0)
                    firstEmpty = slot;
                continue;
            }
            if (firstEmpty >= 0 && !gapReported) {
                find("素材" + decimal(static_cast<std::uint64_t>(firstEmpty + 1)) + "が空なのに素材"
                    + decimal(static_cast<std::uint64_t>(slot + 1))
                    + "があります（素材は 1 番目から詰めて入ります）");
                gapReported = true;
            }
            // A slot is one unit; a count written into a slot stands for more.
            const std::optional<std::string_view> count = yieldCount(material);
            units += count && isDecimalDigits(*count) && count->size() < 6 ? digitsValue(*count) : 1;
        }
        if (units > kMaterialSlots)
            find("素材が合計 " + decimal(units) + " 個あります（8 個までです）");
    }

    // A yield count must be a number: "名前 3".
    void checkCount(std::string_view text, std::string_view what)
    {
        const std::optional<std::string_view> count = yieldCount(text);
        if (count && !isDecimalDigits(*count))
            find(std::string(what) + "の個数「" + shown(*count) + "」が数字ではありません");
    }

    void checkHq(std::string_view hq)
    {
        static constexpr std::array<std::string_view, 4> kParts { "ﾊｲｸｫﾘﾃｨ1", "ﾊｲｸｫﾘﾃｨ2", "ﾊｲｸｫﾘﾃｨ3",
            "ﾊｲｸｫﾘﾃｨ" };
        std::size_t separators = 0;
        std::size_t start = 0;
        for (std::size_t at = sjis::find(hq, "<>"); at != std::string_view::npos;
             at = sjis::find(hq, "<>", start)) {
            checkCount(hq.substr(start, at - start), kParts[std::min<std::size_t>(separators, 3)]);
            ++separators;
            start = at + 2;
        }
        checkCount(hq.substr(start), kParts[std::min<std::size_t>(separators, 3)]);
        // An empty field reads as no results at all, as "<><>" does.
        if (separators != 2 && !hq.empty())
            find("ﾊｲｸｫﾘﾃｨの項目に「<>」が " + decimal(separators)
                + " 個あります（3 つの結果を分ける 2 個のはずです）");
    }

    void checkMemo(const std::string& path)
    {
        LineReader reader;
        reader.setLoneCrEndsLine(false);
        if (!reader.open(path)) {
            if (reader.error() != ENOENT)
                find("メモファイルを開けません: " + path);
            return;
        }
        m_inMemo = true;
        m_line = 0;
        std::string_view line;
        while (reader.readLine(line)) {
            ++m_line;
            checkBytes(line);
            const std::size_t comma = line.find(',');
            if (comma == std::string_view::npos) {
                find("カンマのない行です（メモを保存すると消えます）");
                continue;
            }
            const std::int32_t id = textToInt(line.substr(0, comma));
            if (id <= 0 || !m_ids.test(id))
                find("id「" + shown(line.substr(0, comma)) + "」のレシピがありません");
        }
        m_summary.memoLines = m_line;
        if (reader.error() != 0)
            find("メモファイルを最後まで読めませんでした: " + std::string(std::strerror(reader.error())));
    }

    const std::function<void(const CheckFinding&)>& m_report;
    CheckSummary m_summary;
    LineFieldBounds m_bounds;
    std::array<std::string, kFieldCount> m_fields;
    IdBits m_ids;
    std::uint64_t m_line = 0;
    bool m_inMemo = false;
};

} // namespace

CheckSummary checkDataFile(const std::string& dataPath, const std::string& memoPath,
    const std::function<void(const CheckFinding&)>& report)
{
    return Checker(report).run(dataPath, memoPath);
}

} // namespace vornik::cli
