#pragma once
// Reads a file line by line through a large buffer, never the whole file at
// once. A line ends at LF, at CR LF and at a lone CR (old Mac line ends), so
// no record hides behind a CR. A last line without line end is still a line.
// Every other byte (NUL, invalid Shift-JIS) is passed on as it is. A line may
// be very long (a description of many megabytes), but not endless: a file
// without line ends (a device like /dev/zero, a damaged or foreign file)
// would otherwise fill the memory until the program is killed.

#include "platform/file_ops.h"
#include "storage/file_encoding.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

// Longer lines end the reading with the error EFBIG.
inline constexpr std::size_t kMaxLineBytes = 128 * 1024 * 1024;

class LineReader {
public:
    explicit LineReader(std::size_t bufferSize = 256 * 1024, std::size_t maxLineBytes = kMaxLineBytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // False with error() set when the file cannot be opened.
    bool open(const std::string& path);
    bool isOpen() const { return m_file.isOpen(); }
    void close();

    // The next line without its line end, valid until the next call. False at
    // the end of the file, and on a read error or a line over the limit (then
    // error() is not 0; the reader then stays at its end).
    bool readLine(std::string_view& line);

    // The next line holding `needle` (its bytes, anywhere in the line); the
    // lines before it are passed over. The same as readLine until a line
    // holds it, but the buffer is searched as a whole, as grep does, so a
    // line without the bytes costs no work of its own. False as readLine,
    // and also when `stop` is set (looked at once per read of the file).
    bool readLineContaining(
        std::string_view needle, std::string_view& line, const std::atomic<bool>* stop = nullptr);

    // errno value of the last failure, 0 when none.
    int error() const { return m_error; }

    // Where in the file the line handed out last begins (its first byte).
    // Only while the lines are the file's own bytes (convertsText() false).
    std::uint64_t lineOffset() const { return m_lineOffset; }
    // Lines handed out are not the file's bytes (they are converted).
    bool convertsText() const { return m_source != FileEncoding::ShiftJis; }
    FileHandle handle() const { return m_file.handle(); }
    // Hands the open file over to the caller; the reader is closed then.
    ScopedFile releaseFile();

    // With false, only LF (and CR LF) end a line and a lone CR stays in it,
    // where a check of the file can point it out.
    void setLoneCrEndsLine(bool ends) { m_loneCrEndsLine = ends; }

    // Lines of a file an editor saved as UTF-8 or UTF-16 are handed on in
    // Shift-JIS (the byte-order mark dropped, a character Shift-JIS lacks as
    // "?"), so the file can still be searched and read. For reading only:
    // nothing is ever written into such a file (storage/file_encoding.h).
    // Right after open, until the next open.
    void setSourceEncoding(FileEncoding encoding);

private:
    bool refill();
    bool refillFromUtf16();
    bool readRawLine(std::string_view& line);
    std::size_t lineStartBefore(std::size_t at) const;
    const char* findInBuffer(std::string_view needle) const;

    ScopedFile m_file;
    std::vector<char> m_buffer;
    std::size_t m_maxLineBytes;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::uint64_t m_bufferOffset = 0; // where in the file m_buffer[0] was read from
    std::uint64_t m_nextOffset = 0; // where the next read begins
    std::uint64_t m_lineOffset = 0;
    std::string m_longLine; // a line that did not fit in the buffer
    bool m_atEnd = false;
    bool m_loneCrEndsLine = true;
    FileEncoding m_source = FileEncoding::ShiftJis;
    bool m_atStart = true;
    std::string m_converted; // the last line in Shift-JIS, when converting
    // UTF-16 is read into m_raw and decoded into m_buffer as UTF-8, whose
    // line ends are single bytes again. A chunk that ends inside a code
    // unit or a surrogate pair leaves those bytes at m_raw's start.
    std::vector<char> m_raw;
    std::size_t m_rawCarried = 0;
    bool m_markPending = false; // a byte-order mark may still come
    int m_error = 0;
    // The needle's byte searched for first: the one least frequent in the
    // first block read (chosen once per needle).
    std::string m_needle;
    std::size_t m_rareAt = 0;
};

} // namespace vornik
