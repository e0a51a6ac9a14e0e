#include "app/core/result_sort.h"

#include "storage/vocabulary.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

namespace vornik {
namespace {

int compareBytes(std::string_view a, std::string_view b)
{
    // std::string_view compares chars through char_traits<char>, which
    // compares as unsigned char: Shift-JIS lead bytes sort after ASCII.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Position in the rank table, with "-" after every real rank.
constexpr int kNoRankKey = 1 << 20;

int rankKey(std::string_view text)
{
    if (text == "-")
        return kNoRankKey;
    return rankIndex(text);
}

int compareTexts(const ResultRow& a, const ResultRow& b, const SortOrder& order)
{
    const std::string_view x = a.cell(order.sortColumn);
    const std::string_view y = b.cell(order.sortColumn);
    if (x.empty() != y.empty())
        return x.empty() ? 1 : -1;
    if (const int c = compareBytes(x, y))
        return c;
    return compareBytes(a.cell(order.tieColumn), b.cell(order.tieColumn));
}

// ---- the sort itself ------------------------------------------------------
//
// A sort after a search touches every row's cells a dozen times. Instead,
// each row's comparison is gathered once into a small entry of numbers; the
// entries are sorted, and the rows are then moved once.

constexpr std::size_t kSortPrefixBytes = 16;
constexpr std::size_t kTiePrefixBytes = 8;

// One row's place in a sort. Entries whose numbers differ are ordered as
// CompareRows orders their rows: for a text, the first bytes are read as a
// number (zero-padded, most significant first), so a different number means
// the first different byte lies among them, or the shorter text is the start
// of the other and its zero padding is smaller. When the numbers are equal,
// the lengths tell whether the texts themselves must be compared.
struct SortEntry {
    std::uint64_t sortPrefix[2] = {};
    std::uint64_t tiePrefix = 0;
    std::uint32_t row = 0;
    std::uint8_t sortEmpty = 0; // empty cells go after all others
    std::uint8_t sortLength = 0; // capped at kSortPrefixBytes + 1
    std::uint8_t tieLength = 0; // capped at kTiePrefixBytes + 1
};

std::uint64_t fromBigEndian(std::uint64_t value)
{
    if constexpr (std::endian::native == std::endian::big)
        return value;
    std::uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i, value >>= 8)
        swapped = (swapped << 8) | (value & 0xFF); // compiles to one byte swap
    return swapped;
}

std::uint64_t leadingBytes(std::string_view text, std::size_t from)
{
    if (from + 8 <= text.size()) {
        std::uint64_t value = 0;
        std::memcpy(&value, text.data() + from, 8);
        return fromBigEndian(value);
    }
    std::uint64_t value = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        value = (value << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return value;
}

std::uint8_t cappedLength(std::string_view text, std::size_t prefixBytes)
{
    return static_cast<std::uint8_t>(std::min(text.size(), prefixBytes + 1));
}

SortEntry textEntry(const ResultRow& row, const SortOrder& order)
{
    const std::string_view sortText = row.cell(order.sortColumn);
    const std::string_view tieText = row.cell(order.tieColumn);
    SortEntry entry;
    entry.sortPrefix[0] = leadingBytes(sortText, 0);
    entry.sortPrefix[1] = leadingBytes(sortText, 8);
    entry.tiePrefix = leadingBytes(tieText, 0);
    entry.sortEmpty = sortText.empty() ? 1 : 0;
    entry.sortLength = cappedLength(sortText, kSortPrefixBytes);
    entry.tieLength = cappedLength(tieText, kTiePrefixBytes);
    return entry;
}

// rankKey for the cells of one sort. A rank column shows a handful of
// different texts, nearly all of them short: those are remembered by their
// length and first eight bytes, so most rows need no look-up in the table.
class RankKeys {
public:
    int keyOf(std::string_view text)
    {
        if (text.size() > 8)
            return rankKey(text);
        const std::uint64_t bytes = leadingBytes(text, 0);
        for (const Known& known : m_known) {
            if (known.bytes == bytes && known.length == text.size())
                return known.key;
        }
        const int key = rankKey(text);
        if (m_known.size() < kMaxKnown)
            m_known.push_back({ bytes, text.size(), key });
        return key;
    }

private:
    static constexpr std::size_t kMaxKnown = 32;
    struct Known {
        std::uint64_t bytes;
        std::size_t length;
        int key;
    };
    std::vector<Known> m_known;
};

// Ranks compare as numbers only: rows of one rank are equal.
SortEntry rankEntry(const ResultRow& row, const SortOrder& order, RankKeys& keys)
{
    SortEntry entry;
    entry.sortPrefix[0]
        = static_cast<std::uint64_t>(static_cast<std::uint32_t>(keys.keyOf(row.cell(order.sortColumn))));
    return entry;
}

int compareNumbers(std::uint64_t a, std::uint64_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

// The texts behind two entries with equal numbers: equal when both fit their
// prefix with the same length, else compared byte by byte.
int compareRest(std::uint8_t aLength, std::uint8_t bLength, std::size_t prefixBytes, std::string_view a,
    std::string_view b)
{
    if (aLength == bLength && aLength <= prefixBytes)
        return 0;
    return compareBytes(a, b);
}

class EntryOrder {
public:
    EntryOrder(const std::vector<ResultRow>& rows, const SortOrder& order)
        : m_rows(rows)
        , m_order(order)
    {
    }

    // CompareRows of the two entries' rows.
    int compare(const SortEntry& a, const SortEntry& b) const
    {
        if (a.sortEmpty != b.sortEmpty)
            return a.sortEmpty ? 1 : -1;
        for (int i = 0; i < 2; ++i) {
            if (const int c = compareNumbers(a.sortPrefix[i], b.sortPrefix[i]))
                return c;
        }
        if (m_order.byRank)
            return 0;
        if (const int c = compareRest(a.sortLength, b.sortLength, kSortPrefixBytes,
                text(a, m_order.sortColumn), text(b, m_order.sortColumn)))
            return c;
        if (const int c = compareNumbers(a.tiePrefix, b.tiePrefix))
            return c;
        return compareRest(a.tieLength, b.tieLength, kTiePrefixBytes, text(a, m_order.tieColumn),
            text(b, m_order.tieColumn));
    }

    // Whether `a` goes strictly before `b` in the sort's direction.
    bool before(const SortEntry& a, const SortEntry& b) const
    {
        // Most pairs differ in their first eight bytes.
        if (a.sortEmpty == b.sortEmpty && a.sortPrefix[0] != b.sortPrefix[0])
            return m_order.ascending == (a.sortPrefix[0] < b.sortPrefix[0]);
        const int c = compare(a, b);
        return m_order.ascending ? c < 0 : c > 0;
    }

private:
    std::string_view text(const SortEntry& entry, std::size_t column) const
    {
        return m_rows[entry.row].cell(column);
    }

    const std::vector<ResultRow>& m_rows;
    const SortOrder& m_order;
};

// Stable merge sort of `n` entries from `entries`, using `scratch` (room for
// n): short runs by insertion, then merges of neighbouring runs that take from
// the left run unless the right one goes strictly first.
void stableSortRange(SortEntry* entries, SortEntry* scratch, std::size_t n, const EntryOrder& order)
{
    constexpr std::size_t kRun = 8;
    for (std::size_t start = 0; start < n; start += kRun) {
        const std::size_t end = std::min(start + kRun, n);
        for (std::size_t i = start + 1; i < end; ++i) {
            const SortEntry moving = entries[i];
            std::size_t j = i;
            for (; j > start && order.before(moving, entries[j - 1]); --j)
                entries[j] = entries[j - 1];
            entries[j] = moving;
        }
    }
    SortEntry* from = entries;
    SortEntry* to = scratch;
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t left = 0; left < n; left += 2 * width) {
            const std::size_t mid = std::min(left + width, n);
            const std::size_t right = std::min(left + 2 * width, n);
            std::size_t i = left;
            std::size_t j = mid;
            std::size_t k = left;
            // Which side to take is rarely predictable: select it by data,
            // not by a branch.
            while (i < mid && j < right) {
                const bool takeRight = order.before(from[j], from[i]);
                to[k++] = from[takeRight ? j : i];
                j += takeRight ? 1 : 0;
                i += takeRight ? 0 : 1;
            }
            while (i < mid)
                to[k++] = from[i++];
            while (j < right)
                to[k++] = from[j++];
        }
        std::swap(from, to);
    }
    if (from != entries)
        std::copy_n(from, n, entries);
}

// What the radix passes sort: an entry's first sixteen bytes turned so that
// ascending order of them is the sort's order, its empty flag (empty cells
// last ascending, first descending) and where the entry is.
struct RadixItem {
    std::uint64_t bytes[2];
    std::uint32_t entry;
    std::uint32_t empty;

    bool sameKey(const RadixItem& other) const
    {
        return bytes[0] == other.bytes[0] && bytes[1] == other.bytes[1] && empty == other.empty;
    }
};

constexpr int kByteDigits = 16;
constexpr int kDigits = kByteDigits + 1; // the empty flag decides first, so it goes last

// Digit 0 is the last of the sixteen bytes.
std::size_t digitOf(const RadixItem& item, int digit)
{
    if (digit == kByteDigits)
        return item.empty;
    const std::uint64_t word = item.bytes[digit < 8 ? 1 : 0];
    return static_cast<std::size_t>((word >> (8 * (digit % 8))) & 0xFF);
}

// Buffers kept between sorts: allocating and first touching them again
// would cost as much as the sort of a search result itself. Results larger
// than a search ever sorts give their memory back.
struct SortScratch {
    std::vector<SortEntry> entries;
    std::vector<SortEntry> merged;
    std::vector<RadixItem> items;
    std::vector<RadixItem> movedItems;

    void releaseIfLarge()
    {
        constexpr std::size_t kKeptEntries = 1 << 14;
        if (entries.capacity() > kKeptEntries) {
            entries = {};
            merged = {};
            items = {};
            movedItems = {};
        }
    }
};

SortScratch& sortScratch()
{
    thread_local SortScratch scratch;
    return scratch;
}

// Stable sort of text entries. Most rows differ within the first sixteen bytes
// of their cell, and those are sorted by their bytes with no comparison at
// all: a least-significant-digit radix sort, a byte at a time, of 16-byte
// items; the counts of every digit are taken in one pass, and digits every
// entry shares are skipped. Each run of entries that share those bytes is
// then put in order by the full comparison.
void sortTextEntries(SortScratch& scratch, const EntryOrder& order, bool ascending)
{
    std::vector<SortEntry>& entries = scratch.entries;
    std::vector<SortEntry>& buffer = scratch.merged;
    std::vector<RadixItem>& items = scratch.items;
    std::vector<RadixItem>& moved = scratch.movedItems;
    const std::size_t n = entries.size();
    items.resize(n);
    moved.resize(n);
    std::array<std::array<std::uint32_t, 256>, kDigits> counts {};
    for (std::size_t i = 0; i < n; ++i) {
        const SortEntry& entry = entries[i];
        RadixItem& item = items[i];
        for (int word = 0; word < 2; ++word)
            item.bytes[word] = ascending ? entry.sortPrefix[word] : ~entry.sortPrefix[word];
        item.empty = ascending ? entry.sortEmpty : 1U - entry.sortEmpty;
        item.entry = static_cast<std::uint32_t>(i);
        for (int digit = 0; digit < kDigits; ++digit)
            ++counts[static_cast<std::size_t>(digit)][digitOf(item, digit)];
    }
    for (int digit = 0; digit < kDigits; ++digit) {
        std::array<std::uint32_t, 256>& starts = counts[static_cast<std::size_t>(digit)];
        if (std::find(starts.begin(), starts.end(), static_cast<std::uint32_t>(n)) != starts.end())
            continue; // every entry has the same digit here
        std::uint32_t next = 0;
        for (std::uint32_t& start : starts)
            next += std::exchange(start, next);
        for (const RadixItem& item : items)
            moved[starts[digitOf(item, digit)]++] = item;
        items.swap(moved);
    }
    buffer.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = entries[items[i].entry];
    entries.swap(buffer);

    for (std::size_t start = 0; start < n;) {
        std::size_t end = start + 1;
        while (end < n && items[end].sameKey(items[start]))
            ++end;
        if (end - start > 1)
            stableSortRange(entries.data() + start, buffer.data() + start, end - start, order);
        start = end;
    }
}

// Ranks are few and compare as numbers only, so a stable counting sort
// places every row without a comparison. False (nothing done) when a key is
// none of the few a rank cell gives.
bool countingSortByRank(std::vector<SortEntry>& entries, std::vector<SortEntry>& buffer, bool ascending)
{
    constexpr std::size_t kBuckets = 256;
    const auto bucketOf = [](std::uint64_t key) -> std::size_t {
        return key == kNoRankKey ? kBuckets - 1 : static_cast<std::size_t>(key);
    };
    std::array<std::uint32_t, kBuckets> starts {};
    for (const SortEntry& entry : entries) {
        const std::uint64_t key = entry.sortPrefix[0];
        if (key >= kBuckets - 1 && key != kNoRankKey)
            return false;
        ++starts[bucketOf(key)];
    }
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < kBuckets; ++i) {
        std::uint32_t& bucket = starts[ascending ? i : kBuckets - 1 - i];
        const std::uint32_t count = bucket;
        bucket = next;
        next += count;
    }
    buffer.resize(entries.size());
    for (const SortEntry& entry : entries)
        buffer[starts[bucketOf(entry.sortPrefix[0])]++] = entry;
    entries.swap(buffer);
    return true;
}

// Puts the row numbered order[i] at position i, swapping along the
// permutation's cycles: the rows are moved once, into no second vector.
void applyOrder(std::vector<ResultRow>& rows, std::vector<std::uint32_t>& order)
{
    for (std::size_t start = 0; start < order.size(); ++start) {
        std::size_t at = start;
        while (order[at] != start) {
            const std::size_t from = order[at];
            std::swap(rows[at], rows[from]);
            order[at] = static_cast<std::uint32_t>(at);
            at = from;
        }
        order[at] = static_cast<std::uint32_t>(at);
    }
}

} // namespace

int CompareRows(const ResultRow& a, const ResultRow& b, const SortOrder& order)
{
    if (order.byRank) {
        const int x = rankKey(a.cell(order.sortColumn));
        const int y = rankKey(b.cell(order.sortColumn));
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return compareTexts(a, b, order);
}

void sortedPositions(
    const std::vector<ResultRow>& rows, const SortOrder& order, std::vector<std::uint32_t>& sorted)
{
    sorted.clear();
    if (rows.size() < 2) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            sorted.push_back(static_cast<std::uint32_t>(i));
        return;
    }
    SortScratch& scratch = sortScratch();
    scratch.entries.clear();
    scratch.entries.reserve(rows.size());
    RankKeys rankKeys;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SortEntry entry = order.byRank ? rankEntry(rows[i], order, rankKeys) : textEntry(rows[i], order);
        entry.row = static_cast<std::uint32_t>(i);
        scratch.entries.push_back(entry);
    }
    const EntryOrder entryOrder(rows, order);
    if (!order.byRank)
        sortTextEntries(scratch, entryOrder, order.ascending);
    else if (!countingSortByRank(scratch.entries, scratch.merged, order.ascending)) {
        scratch.merged.resize(scratch.entries.size());
        stableSortRange(scratch.entries.data(), scratch.merged.data(), scratch.entries.size(), entryOrder);
    }
    sorted.reserve(rows.size());
    for (const SortEntry& entry : scratch.entries)
        sorted.push_back(entry.row);
    scratch.releaseIfLarge();
}

void SortResults(std::vector<ResultRow>& rows, const SortOrder& order)
{
    if (rows.size() < 2)
        return;
    std::vector<std::uint32_t> sorted;
    sortedPositions(rows, order, sorted);
    applyOrder(rows, sorted);
}

} // namespace vornik
