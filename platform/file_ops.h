#pragma once
// Every file operation of the storage code that can fail goes through one
// replaceable object. Tests install a double that makes any single call fail
// and then check that no data was lost.
//
// Paths are UTF-8 text (platform/native_path.h); errors are errno values
// (the Windows implementation maps its own codes onto them).

#include "platform/file_stamp.h"

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace vornik {

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class OpenMode {
    Read, // existing file, shared with other readers and writers
    CreateTruncate, // write only; created, or emptied when it exists
    ReadWrite, // read and write; created when missing, content kept
};

class FileOps {
public:
    virtual ~FileOps() = default;

    virtual bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) = 0;
    // got == 0 together with true means end of file.
    virtual bool read(FileHandle file, char* buffer, std::size_t size, std::size_t& got, int& error) = 0;
    // Reads from `offset` on; got == 0 with true: at or past the end. May
    // read fewer bytes than asked. On Windows it moves the position read()
    // goes on from: one handle is read one way or the other, not both.
    virtual bool readAt(
        FileHandle file, std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got, int& error)
        = 0;
    // Size and modification time of the open file, whatever its name names
    // by now. Comparable only with another stamp of an open file.
    virtual bool stamp(FileHandle file, FileStamp& stamp, int& error) = 0;
    // May write fewer bytes than asked; callers loop (see writeAll).
    virtual bool write(FileHandle file, const char* data, std::size_t size, std::size_t& written, int& error)
        = 0;
    // Moves to the end of the file and reports its size.
    virtual bool seekToEnd(FileHandle file, std::uint64_t& size, int& error) = 0;
    // Flushes the file's data to the disk.
    virtual bool sync(FileHandle file, int& error) = 0;
    // The handle is released even when an error is reported.
    virtual bool close(FileHandle file, int& error) = 0;
    virtual bool remove(const std::string& path, int& error) = 0;
    // Replaces `to` in one step when it exists.
    virtual bool rename(const std::string& from, const std::string& to, int& error) = 0;
    // Makes a rename inside `folder` durable (a no-op where the platform has no such thing).
    virtual bool syncFolder(const std::string& folder, int& error) = 0;
    // Exclusive lock on the whole file, waiting at most `timeout`. Closing the
    // handle releases it, also when the holding process dies.
    virtual bool lock(FileHandle file, std::chrono::milliseconds timeout, int& error) = 0;
};

// The platform's implementation (file_ops_posix.cpp / file_ops_win.cpp).
FileOps& realFileOps();

// Whether a file kept open goes on reading as it was when another file is
// renamed over its name (or it is deleted), without hindering that rename.
// True on POSIX systems. On Windows a handle kept open may make the replace
// of another program fail, so files are only kept open while being read.
bool openFileSurvivesReplace();

namespace detail {
inline FileOps* installedFileOps = nullptr;
} // namespace detail

inline FileOps& fileOps()
{
    return detail::installedFileOps ? *detail::installedFileOps : realFileOps();
}

// Installs `ops` for every following call (nullptr goes back to the real
// implementation) and returns what was installed before.
inline FileOps* installFileOps(FileOps* ops)
{
    FileOps* previous = detail::installedFileOps;
    detail::installedFileOps = ops;
    return previous;
}

// Writes all of `data`, looping over short writes. A write that makes no
// progress counts as a full disk.
bool writeAll(FileHandle file, std::string_view data, int& error);

// An open handle that is closed (errors ignored) when it goes out of scope.
// Use closeChecked where a failing close means lost data.
class ScopedFile {
public:
    ScopedFile() = default;
    explicit ScopedFile(FileHandle file)
        : m_file(file)
    {
    }
    ~ScopedFile() { closeQuietly(); }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ScopedFile(ScopedFile&& other) noexcept
        : m_file(other.release())
    {
    }
    ScopedFile& operator=(ScopedFile&& other) noexcept
    {
        if (this != &other) {
            closeQuietly();
            m_file = other.release();
        }
        return *this;
    }

    bool open(const std::string& path, OpenMode mode, int& error)
    {
        closeQuietly();
        return fileOps().open(path, mode, m_file, error);
    }
    bool isOpen() const { return m_file != kNoFile; }
    FileHandle handle() const { return m_file; }
    FileHandle release()
    {
        const FileHandle file = m_file;
        m_file = kNoFile;
        return file;
    }
    bool closeChecked(int& error) { return isOpen() ? fileOps().close(release(), error) : true; }
    void closeQuietly()
    {
        int ignored = 0;
        closeChecked(ignored);
    }

private:
    FileHandle m_file = kNoFile;
};

// A temporary file being written: created by create(), closed and removed
// when the guard goes out of scope unless commit() was called. Every early
// return of a save then cleans up, and only the step that moved the file
// into place (or handed it on) keeps it. A file create() could not make is
// never removed: it is not this save's.
class TempFileGuard {
public:
    explicit TempFileGuard(std::string path)
        : m_path(std::move(path))
    {
    }
    ~TempFileGuard()
    {
        m_file.closeQuietly();
        if (!m_created || m_committed)
            return;
        int ignored = 0;
        fileOps().remove(m_path, ignored);
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;

    // Creates the file, or empties it when it exists, for writing.
    bool create(int& error)
    {
        m_created = m_file.open(m_path, OpenMode::CreateTruncate, error);
        return m_created;
    }
    const std::string& path() const { return m_path; }
    ScopedFile& file() { return m_file; }
    // Keeps the file: it is in place now, or another step owns it.
    void commit() { m_committed = true; }

private:
    std::string m_path;
    ScopedFile m_file;
    bool m_created = false;
    bool m_committed = false;
};

inline bool writeAll(FileHandle file, std::string_view data, int& error)
{
    while (!data.empty()) {
        std::size_t written = 0;
        if (!fileOps().write(file, data.data(), data.size(), written, error))
            return false;
        if (written == 0 || written > data.size()) {
            error = ENOSPC;
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

} // namespace vornik
