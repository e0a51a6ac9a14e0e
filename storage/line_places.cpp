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

// Thirty-two bytes a step in four independent lanes, one multiplication a
// word: fast enough to run over every line "すべてのデータを表示" finds. Each
// step is a bijection of its lane, so a line that differs in any byte from
// the one summed gives another sum but by a chance of one in 2^32.
std::uint32_t checkSum(std::string_view bytes)
{
    constexpr std::uint64_t kFactor = 0x9E3779B97F4A7C15u;
    std::uint64_t lanes[4] = { bytes.size(), 1, 2, 3 };
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    const auto step = [&lanes](const char* words) {
        for (std::size_t lane = 0; lane < 4; ++lane)
            lanes[lane] = (lanes[lane] ^ wordAt(words + 8 * lane)) * kFactor;
    };
    for (; left >= 32; at += 32, left -= 32)
        step(at);
    char tail[32] = {};
    std::memcpy(tail, at, left);
    step(tail);
    const std::uint64_t sum = scramble(lanes[0]) ^ scramble(lanes[1] + 1) * 3 ^ scramble(lanes[2] + 2) * 5
        ^ scramble(lanes[3] + 3) * 7;
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

void LinePlaces::keepLoaded(std::size_t at, std::string_view bytes) const
{
    m_loadedAt[at] = m_bytes.size();
    m_bytes.append(bytes);
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
    m_bytes.reserve(bytes);
    std::size_t first = 0;
    while (first < indexes.size()) {
        const Place& head = m_places[indexes[first]];
        const std::uint64_t begin = head.offset();
        std::uint64_t end = begin + head.length;
        std::size_t next = first + 1;
        for (; next < indexes.size(); ++next) {
            const Place& place = m_places[indexes[next]];
            if (place.offset() < end || place.offset() - end > kLargestGap
                || place.offset() + place.length - begin > kChunkBytes)
                break;
            end = place.offset() + place.length;
        }
        const auto span = static_cast<std::size_t>(end - begin);
        if (span > kChunkBytes) {
            // One line longer than a read of several: read straight in.
            std::string line(span, '\0');
            if (!readRange(begin, span, line.data()))
                m_loadedAt[first] = kUnread;
            else if (checkSum(line) == head.check)
                keepLoaded(first, line);
        } else {
            if (m_chunk.empty())
                m_chunk.resize(kChunkBytes);
            const bool read = readRange(begin, span, m_chunk.data());
            for (std::size_t i = first; i < next; ++i) {
                const Place& place = m_places[indexes[i]];
                const std::string_view line(
                    m_chunk.data() + (place.offset() - begin), static_cast<std::size_t>(place.length));
                if (!read)
                    m_loadedAt[i] = kUnread;
                else if (checkSum(line) == place.check)
                    keepLoaded(i, line);
            }
        }
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
