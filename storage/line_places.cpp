#include "storage/line_places.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vornik {
namespace {

// One read takes lines lying at most this far apart together: reading the
// bytes between them costs less than a read of its own.
constexpr std::uint64_t kLargestGap = 4 * 1024;
constexpr std::size_t kChunkBytes = 256 * 1024;

std::uint64_t wordAt(const char* bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Every bit of `value` moves every bit of the result (a bijection).
std::uint64_t scramble(std::uint64_t value)
{
    value = (value ^ (value >> 33)) * 0xFF51AFD7ED558CCDu;
    value = (value ^ (value >> 33)) * 0xC4CEB9FE1A85EC53u;
    return value ^ (value >> 33);
}

std::uint64_t turned(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

// Sums of 32 bytes a step in four lanes: the sum of the words, and the sum
// of those sums, which tells where a word stood.
class RunningSums {
public:
    explicit RunningSums(std::uint64_t seed)
        : m_w0(seed)
    {
    }
    void add(const char* at)
    {
        m_w0 += wordAt(at);
        m_w1 += wordAt(at + 8);
        m_w2 += wordAt(at + 16);
        m_w3 += wordAt(at + 24);
        m_p0 += m_w0;
        m_p1 += m_w1;
        m_p2 += m_w2;
        m_p3 += m_w3;
    }
    // Bytes from `at` on, the last step filled up with zeros.
    void addAll(const char* at, std::size_t size)
    {
        for (; size >= 32; at += 32, size -= 32)
            add(at);
        if (size > 0) {
            char tail[32] = {};
            std::memcpy(tail, at, size);
            add(tail);
        }
    }
    std::uint64_t result() const
    {
        return scramble(m_w0 ^ turned(m_w1, 16) ^ turned(m_w2, 32) ^ turned(m_w3, 48))
            ^ scramble(m_p0 ^ turned(m_p1, 16) ^ turned(m_p2, 32) ^ turned(m_p3, 48) ^ 1);
    }

private:
    // Named members rather than arrays: the sums stay in registers.
    std::uint64_t m_w0, m_w1 = 0, m_w2 = 0, m_w3 = 0;
    std::uint64_t m_p0 = 0, m_p1 = 0, m_p2 = 0, m_p3 = 0;
};

// What a line's check sum covers: its length, its first bytes (the id and
// the name) and its last ones. Summing every byte of every line cost a
// quarter of the time of "すべてのデータを表示" on 10,000 records; the check
// only backs up the file's stamp, which already tells nearly every rewrite
// in place, and a line whose length, beginning and end are still the same
// is at worst another version of the same record.
constexpr std::size_t kSummedEnds = 64;

std::uint32_t checkSum(std::string_view bytes)
{
    RunningSums sums(bytes.size());
    if (bytes.size() <= 2 * kSummedEnds) {
        sums.addAll(bytes.data(), bytes.size());
    } else {
        sums.addAll(bytes.data(), kSummedEnds);
        sums.addAll(bytes.data() + bytes.size() - kSummedEnds, kSummedEnds);
    }
    const std::uint64_t sum = sums.result();
    return static_cast<std::uint32_t>(sum ^ (sum >> 32));
}

} // namespace

void LinePlaces::add(std::uint64_t offset, std::string_view line)
{
    m_places.push_back({ static_cast<std::uint32_t>(offset >> 32), static_cast<std::uint32_t>(offset),
        static_cast<std::uint32_t>(line.size()), checkSum(line) });
}

void LinePlaces::setFile(ScopedFile file, const FileStamp& stampBeforeReading)
{
    m_file = std::move(file);
    m_stamp = stampBeforeReading;
    m_changed = false;
}

void LinePlaces::clear()
{
    m_places = {};
    m_file.closeQuietly();
    m_changed = false;
    dropLoaded();
}

bool LinePlaces::fileUnchanged(bool& readable) const
{
    readable = true;
    if (m_changed || !m_file.isOpen())
        return false;
    FileStamp now;
    int error = 0;
    if (!fileOps().stamp(m_file.handle(), now, error)) {
        readable = false;
        return false;
    }
    // Written in place since: what stood at a place may be anything now. A
    // file renamed over the name or deleted leaves this one as it was.
    m_changed = now != m_stamp;
    return !m_changed;
}

bool LinePlaces::readRange(std::uint64_t offset, std::size_t size, char* into) const
{
    while (size > 0) {
        std::size_t got = 0;
        int error = 0;
        if (!fileOps().readAt(m_file.handle(), offset, into, size, got, error) || got == 0)
            return false;
        offset += got;
        into += got;
        size -= got;
    }
    return true;
}

void LinePlaces::load(const std::vector<std::uint32_t>& indexes) const
{
    m_loadedIndexes = indexes;
    m_bytes.clear();
    bool readable = true;
    if (!fileUnchanged(readable)) {
        m_loadedAt.assign(indexes.size(), readable ? kLost : kUnread);
        return;
    }
    m_loadedAt.assign(indexes.size(), kLost);
    std::size_t bytes = 0;
    for (const std::uint32_t index : indexes)
        bytes += m_places[index].length;
    // What a long run read is given back when a short one follows.
    if (m_bytes.capacity() > 2 * bytes + kChunkBytes)
        m_bytes.shrink_to_fit();
    m_bytes.reserve(bytes + bytes / 8);
    std::size_t first = 0;
    while (first < indexes.size()) {
        // The lines read at once: [begin, end) of the file.
        const std::uint64_t begin = m_places[indexes[first]].offset();
        std::uint64_t end = begin + m_places[indexes[first]].length;
        std::size_t needed = m_places[indexes[first]].length;
        std::size_t next = first + 1;
        for (; next < indexes.size(); ++next) {
            const Place& place = m_places[indexes[next]];
            if (place.offset() < end || place.offset() - end > kLargestGap
                || place.offset() + place.length - begin > kChunkBytes)
                break;
            end = place.offset() + place.length;
            needed += place.length;
        }
        const auto span = static_cast<std::size_t>(end - begin);
        // Lines one after the other (rows in file order), or one line longer
        // than a read of several, are read where they are kept; lines with
        // more between them go through the chunk, and only they are kept.
        const bool straight = span - needed <= span / 8 || span > kChunkBytes;
        const std::size_t base = straight ? m_bytes.size() : 0;
        char* into = nullptr;
        if (straight) {
            m_bytes.resize(base + span);
            into = m_bytes.data() + base;
        } else {
            if (m_chunk.empty())
                m_chunk.resize(kChunkBytes);
            into = m_chunk.data();
        }
        const bool read = readRange(begin, span, into);
        for (std::size_t i = first; i < next; ++i) {
            const Place& place = m_places[indexes[i]];
            const auto from = static_cast<std::size_t>(place.offset() - begin);
            const std::string_view line(into + from, place.length);
            if (!read) {
                m_loadedAt[i] = kUnread;
            } else if (checkSum(line) == place.check) {
                m_loadedAt[i] = straight ? base + from : m_bytes.size();
                if (!straight)
                    m_bytes.append(line);
            }
        }
        if (straight && !read)
            m_bytes.resize(base);
        first = next;
    }
}

std::size_t LinePlaces::positionOf(std::uint32_t index) const
{
    return static_cast<std::size_t>(
        std::lower_bound(m_loadedIndexes.begin(), m_loadedIndexes.end(), index) - m_loadedIndexes.begin());
}

bool LinePlaces::isLoaded(std::uint32_t index) const
{
    const std::size_t at = positionOf(index);
    return at < m_loadedIndexes.size() && m_loadedIndexes[at] == index && m_loadedAt[at] != kUnread;
}

std::optional<std::string_view> LinePlaces::loaded(std::uint32_t index) const
{
    return loadedAt(positionOf(index));
}

std::optional<std::string_view> LinePlaces::loadedAt(std::size_t position) const
{
    const std::size_t at = m_loadedAt[position];
    if (at == kLost || at == kUnread)
        return std::nullopt;
    return std::string_view(m_bytes).substr(at, m_places[m_loadedIndexes[position]].length);
}

void LinePlaces::dropLoaded() const
{
    m_loadedIndexes = {};
    m_loadedAt = {};
    m_bytes = {};
    m_chunk = {};
}

std::size_t LinePlaces::heldBytes() const
{
    return m_places.capacity() * sizeof(Place) + m_loadedIndexes.capacity() * sizeof(std::uint32_t)
        + m_loadedAt.capacity() * sizeof(std::size_t) + m_bytes.capacity() + m_chunk.capacity();
}

} // namespace vornik
