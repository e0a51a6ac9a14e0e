#pragma once
// An exclusive lock shared by all running program windows: whoever rewrites
// the data file or a memo file holds it from the first read to the final
// rename, so two windows never clobber each other's temporary file nor lose
// each other's change. The lock lives on an open handle of a lock file, so
// the system drops it when a holder dies.

#include "platform/file_ops.h"

#include <chrono>
#include <string>

namespace vornik {

// Platform primitive behind FileOps::lock (file_lock_posix.cpp / file_lock_win.cpp).
bool lockFileHandle(FileHandle file, std::chrono::milliseconds timeout, int& error);

inline constexpr std::chrono::milliseconds kDefaultLockTimeout { 10000 };

class FileLock {
public:
    explicit FileLock(
        const std::string& lockFilePath, std::chrono::milliseconds timeout = kDefaultLockTimeout)
    {
        if (!m_file.open(lockFilePath, OpenMode::ReadWrite, m_error))
            return;
        if (!fileOps().lock(m_file.handle(), timeout, m_error))
            m_file.closeQuietly();
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_file.isOpen(); }
    // errno value of the failure when isLocked() is false.
    int error() const { return m_error; }

private:
    ScopedFile m_file; // closing it releases the lock
    int m_error = 0;
};

} // namespace vornik
