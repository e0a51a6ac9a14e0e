// Exclusive file lock on POSIX systems.
//
// flock() belongs to the open file description, not to the process: it is
// released exactly when our handle is closed (or the process dies), and
// closing some other descriptor of the same file does not drop it, which
// fcntl() locks would do.

#include "platform/file_lock.h"

#include <cerrno>
#include <sys/file.h>
#include <thread>

namespace vornik {

bool lockFileHandle(FileHandle file, std::chrono::milliseconds timeout, int& error)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(static_cast<int>(file), LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error = errno;
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
