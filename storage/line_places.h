#pragma once
// Lines of a file kept as where they lie in it, read back when they are
// needed. The file stays open: where an open file goes on reading as it was
// when another file is renamed over its name (openFileSurvivesReplace), every
// save of the data file leaves these lines readable, so a list of them shows
// the records as they were when they were found, for some 16 bytes a line.
//
// A file changed in place (an editor that empties and rewrites the same
// file) no longer holds those lines at those places. Its size and time of
// change, compared with those before the lines were found, tell it, backed by
// a check sum of each line's length, beginning and end: such a line is lost
// (reads as nothing), never handed out as the bytes that now stand there.
// Nothing is ever written to the file.

#include "platform/file_ops.h"
#include "platform/file_stamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

class LinePlaces {
public:
    // A line found at `offset` of the file (lines come in file order). Only
    // its place, length and check sum are kept: 16 bytes.
    void add(std::uint64_t offset, std::string_view line);
    // The file the lines were found in, open, and its stamp taken before the
    // first of them was read. Until then no line can be read.
    void setFile(ScopedFile file, const FileStamp& stampBeforeReading);
    std::size_t size() const { return m_places.size(); }
    bool empty() const { return m_places.empty(); }
    std::uint32_t length(std::uint32_t index) const { return m_places[index].length; }
    void clear();

    // Reads the lines `indexes` (ascending, no index twice) in place of those
    // read before: lines lying close together are read at once, in large
    // reads in file order.
    void load(const std::vector<std::uint32_t>& indexes) const;
    // Whether the last load read line `index` (a line it failed to read
    // counts as not read).
    bool isLoaded(std::uint32_t index) const;
    // A line of the last load: its bytes, valid until the next load, or
    // nothing when it could not be read back as it was found.
    std::optional<std::string_view> loaded(std::uint32_t index) const;
    // The same for the line the last load was asked for at `position` of
    // its indexes.
    std::optional<std::string_view> loadedAt(std::size_t position) const;
    // Whether the last load failed to read the line at `position` (it is
    // read again when next asked for).
    bool unreadAt(std::size_t position) const { return m_loadedAt[position] == kUnread; }
    // Frees what the last load read.
    void dropLoaded() const;

    // Bytes held: the places and what the last load read.
    std::size_t heldBytes() const;

private:
    struct Place {
        std::uint32_t offsetHigh;
        std::uint32_t offsetLow;
        std::uint32_t length;
        std::uint32_t check;
        std::uint64_t offset() const { return (std::uint64_t { offsetHigh } << 32) | offsetLow; }
    };
    // A line that is not as it was found (for good), and one that could not
    // be read (a failed read or stamp: it is read again when next asked for).
    static constexpr std::size_t kLost = static_cast<std::size_t>(-1);
    static constexpr std::size_t kUnread = static_cast<std::size_t>(-2);

    // False when the file is not as it was when the lines were found, and
    // `readable` false when that cannot be told now.
    bool fileUnchanged(bool& readable) const;
    // Reads [offset, offset + size) into `into`; false when it cannot be read
    // whole.
    bool readRange(std::uint64_t offset, std::size_t size, char* into) const;
    std::size_t positionOf(std::uint32_t index) const;

    std::vector<Place> m_places;
    ScopedFile m_file;
    FileStamp m_stamp;
    mutable bool m_changed = false;
    // The last load: the lines' indexes (ascending), where each stands in
    // m_bytes, or kLost or kUnread.
    mutable std::vector<std::uint32_t> m_loadedIndexes;
    mutable std::vector<std::size_t> m_loadedAt;
    mutable std::string m_bytes;
    mutable std::vector<char> m_chunk; // one read of lines with others between
};

} // namespace vornik
