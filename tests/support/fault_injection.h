#pragma once
// A FileOps double that passes every call on to the real implementation but
// makes the k-th call fail (or that call and every later one). Looping k from
// 1 until a run no longer reaches k exercises a failure at every step of an
// operation.

#include "platform/file_ops.h"

#include <cerrno>
#include <string>
#include <vector>

namespace vornik::test {

enum class FaultMode {
    Once, // only call k fails
    FromThenOn, // call k and every later call fail
};

class FaultInjector : public FileOps {
public:
    // failAt = 0 only counts. With shortWrite the failing write "succeeds"
    // having written nothing, as a full disk may report it.
    explicit FaultInjector(
        int failAt = 0, int error = EIO, bool shortWrite = false, FaultMode mode = FaultMode::Once)
        : m_failAt(failAt)
        , m_error(error)
        , m_shortWrite(shortWrite)
        , m_mode(mode)
    {
    }

    int calls() const { return m_calls; }
    bool fired() const { return m_fired; }
    // Name of the (first) call that failed ("open", "write", ...).
    const std::string& failedCall() const { return m_failedCall; }
    const std::vector<std::string>& log() const { return m_log; }

    bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) override
    {
        return shouldFail("open", error) ? false : real().open(path, mode, file, error);
    }
    bool read(FileHandle file, char* buffer, std::size_t size, std::size_t& got, int& error) override
    {
        return shouldFail("read", error) ? false : real().read(file, buffer, size, got, error);
    }
    bool readAt(FileHandle file, std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got,
        int& error) override
    {
        return shouldFail("readAt", error) ? false : real().readAt(file, offset, buffer, size, got, error);
    }
    bool stamp(FileHandle file, FileStamp& stamp, int& error) override
    {
        return shouldFail("stamp", error) ? false : real().stamp(file, stamp, error);
    }
    bool write(FileHandle file, const char* data, std::size_t size, std::size_t& written, int& error) override
    {
        if (shouldFail("write", error)) {
            if (!m_shortWrite)
                return false;
            written = 0;
            return true;
        }
        return real().write(file, data, size, written, error);
    }
    bool seekToEnd(FileHandle file, std::uint64_t& size, int& error) override
    {
        return shouldFail("seek", error) ? false : real().seekToEnd(file, size, error);
    }
    bool sync(FileHandle file, int& error) override
    {
        return shouldFail("sync", error) ? false : real().sync(file, error);
    }
    bool close(FileHandle file, int& error) override
    {
        // A failing close still releases the handle, as on the real system.
        const bool failing = shouldFail("close", error);
        int ignored = 0;
        const bool closed = real().close(file, failing ? ignored : error);
        return !failing && closed;
    }
    bool remove(const std::string& path, int& error) override
    {
        return shouldFail("remove", error) ? false : real().remove(path, error);
    }
    bool rename(const std::string& from, const std::string& to, int& error) override
    {
        return shouldFail("rename", error) ? false : real().rename(from, to, error);
    }
    bool syncFolder(const std::string& folder, int& error) override
    {
        return shouldFail("syncFolder", error) ? false : real().syncFolder(folder, error);
    }
    bool lock(FileHandle file, std::chrono::milliseconds timeout, int& error) override
    {
        return shouldFail("lock", error) ? false : real().lock(file, timeout, error);
    }

private:
    static FileOps& real() { return realFileOps(); }

    bool shouldFail(const char* call, int& error)
    {
        ++m_calls;
        m_log.emplace_back(call);
        const bool fail
            = m_mode == FaultMode::Once ? m_calls == m_failAt : m_failAt > 0 && m_calls >= m_failAt;
        if (!fail)
            return false;
        if (!m_fired)
            m_failedCall = call;
        m_fired = true;
        error = m_error;
        return true;
    }

    int m_failAt;
    int m_error;
    bool m_shortWrite;
    FaultMode m_mode;
    int m_calls = 0;
    bool m_fired = false;
    std::string m_failedCall;
    std::vector<std::string> m_log;
};

// The real files as a read-only mount shows them, also to root (whom folder
// permissions do not stop): reads pass, every open for writing fails.
class ReadOnlyFileOps : public FaultInjector {
public:
    bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) override
    {
        if (mode == OpenMode::Read)
            return FaultInjector::open(path, mode, file, error);
        error = EACCES;
        return false;
    }
};

// Installs a FileOps double for the lifetime of the object.
class ScopedFileOps {
public:
    explicit ScopedFileOps(FileOps& ops)
        : m_previous(installFileOps(&ops))
    {
    }
    ~ScopedFileOps() { installFileOps(m_previous); }
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

private:
    FileOps* m_previous;
};

} // namespace vornik::test
