// Exclusive file lock on Windows: LockFileEx on the first byte of the lock
// file. The system releases it when the handle is closed or the process ends.

#include "platform/file_lock.h"

#include <cerrno>
#include <thread>
#include <windows.h>

namespace vornik {

bool lockFileHandle(FileHandle file, std::chrono::milliseconds timeout, int& error)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    const HANDLE handle = reinterpret_cast<HANDLE>(file);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        OVERLAPPED at {};
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            return true;
        const DWORD code = GetLastError();
        if (code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING) {
            error = EIO;
            return false;
        }
        if (Clock::now() >= deadline) {
            error = ETIMEDOUT;
            return false;
        }
        std::this_thread::sleep_for(pause);
        if (pause < std::chrono::milliseconds(20))
            pause *= 2;
    }
}

} // namespace vornik
