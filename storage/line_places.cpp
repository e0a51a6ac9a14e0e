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

std::uint64_t mix(std::uint64_t sum, std::uint64_t word, std::uint64_t factor)
{
    sum = (sum ^ word) * factor;
    return sum ^ (sum >> 29);
}

std::uint64_t wordAt(const char* bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// Sixteen bytes a step in two independent lanes: fast enough to run over
// every line "すべてのデータを表示" finds, and every byte changes the result.
std::uint32_t checkSum(std::string_view bytes)
{
    constexpr std::uint64_t kFirst = 0xFF51AFD7ED558CCDu;
    constexpr std::uint64_t kSecond = 0xC4CEB9FE1A85EC53u;
    std::uint64_t a = 0x9E3779B97F4A7C15u ^ bytes.size();
    std::uint64_t b = 0x2545F4914F6CDD1Du;
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 16; at += 16, left -= 16) {
        a = mix(a, wordAt(at), kFirst);
        b = mix(b, wordAt(at + 8), kSecond);
    }
    char tail[16] = {};
    std::memcpy(tail, at, left);
    a = mix(a, wordAt(tail), kFirst);
    b = mix(b, wordAt(tail + 8), kSecond);
    const std::uint64_t sum = mix(a, b, kSecond);
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
    const std::size_t at = m_loadedAt[positionOf(index)];
    if (at == kLost || at == kUnread)
        return std::nullopt;
    return std::string_view(m_bytes).substr(at, m_places[index].length);
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
