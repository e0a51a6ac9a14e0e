// File operations on POSIX systems.

#include "platform/file_lock.h"
#include "platform/file_ops.h"
#include "platform/native_path.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace vornik {
namespace {

std::string native(const std::string& path)
{
    return nativePath(path).string();
}

int descriptor(FileHandle file)
{
    return static_cast<int>(file);
}

// Runs a read or write again while a signal interrupts it: the bytes it
// moved in `count`, or false with the errno value in `error`.
template <typename Transfer> bool transferred(Transfer transfer, std::size_t& count, int& error)
{
    ssize_t n = -1;
    do {
        n = transfer();
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        error = errno;
        return false;
    }
    count = static_cast<std::size_t>(n);
    return true;
}

int openFlags(OpenMode mode)
{
    switch (mode) {
    case OpenMode::Read:
        // A FIFO would block the open until some writer came along.
        return O_RDONLY | O_NONBLOCK;
    case OpenMode::CreateTruncate:
        return O_WRONLY | O_CREAT | O_TRUNC;
    case OpenMode::ReadWrite:
        return O_RDWR | O_CREAT;
    }
    return O_RDONLY;
}

class PosixFileOps final : public FileOps {
public:
    bool open(const std::string& path, OpenMode mode, FileHandle& file, int& error) override
    {
        int fd = -1;
        do {
            fd = ::open(native(path).c_str(), openFlags(mode) | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            error = errno;
            return false;
        }
        // Only regular files hold data: a folder, a device or a pipe named
        // as a file to read is refused instead of read (or waited on).
        struct stat info { };
        if (mode == OpenMode::Read) {
            if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
                error = S_ISDIR(info.st_mode) ? EISDIR : ENODEV;
                ::close(fd);
                return false;
            }
            // Reads block as usual from here on.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        }
        file = fd;
        return true;
    }

    bool read(FileHandle file, char* buffer, std::size_t size, std::size_t& got, int& error) override
    {
        return transferred([&] { return ::read(descriptor(file), buffer, size); }, got, error);
    }

    bool readAt(FileHandle file, std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got,
        int& error) override
    {
        if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
            got = 0;
            return true;
        }
        return transferred(
            [&] {
                return ::pread(descriptor(file), buffer, size > SSIZE_MAX ? SSIZE_MAX : size,
                    static_cast<off_t>(offset));
            },
            got, error);
    }

    bool stamp(FileHandle file, FileStamp& stamp, int& error) override
    {
        struct stat info { };
        if (::fstat(descriptor(file), &info) != 0) {
            error = errno;
            return false;
        }
        stamp.size = static_cast<std::uint64_t>(info.st_size);
#ifdef __APPLE__
        const struct timespec& modified = info.st_mtimespec;
#else
        const struct timespec& modified = info.st_mtim;
#endif
        stamp.modified = static_cast<std::int64_t>(modified.tv_sec) * 1000000000 + modified.tv_nsec;
        return true;
    }

    bool write(FileHandle file, const char* data, std::size_t size, std::size_t& written, int& error) override
    {
        return transferred(
            [&] { return ::write(descriptor(file), data, size > SSIZE_MAX ? SSIZE_MAX : size); }, written,
            error);
    }

    bool seekToEnd(FileHandle file, std::uint64_t& size, int& error) override
    {
        const off_t end = ::lseek(descriptor(file), 0, SEEK_END);
        if (end < 0) {
            error = errno;
            return false;
        }
        size = static_cast<std::uint64_t>(end);
        return true;
    }

    bool sync(FileHandle file, int& error) override
    {
        if (::fsync(descriptor(file)) != 0) {
            error = errno;
            return false;
        }
        return true;
    }

    bool close(FileHandle file, int& error) override
    {
        // After close() the descriptor is gone whatever it returns; retrying
        // on EINTR could close a descriptor another thread just opened.
        if (::close(descriptor(file)) != 0 && errno != EINTR) {
            error = errno;
            return false;
        }
        return true;
    }

    bool remove(const std::string& path, int& error) override
    {
        if (::unlink(native(path).c_str()) != 0) {
            error = errno;
            return false;
        }
        return true;
    }

    bool rename(const std::string& from, const std::string& to, int& error) override
    {
        if (::rename(native(from).c_str(), native(to).c_str()) != 0) {
            error = errno;
            return false;
        }
        return true;
    }

    bool syncFolder(const std::string& folder, int& error) override
    {
        const int fd = ::open(
            native(folder.empty() ? std::string(".") : folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            error = errno;
            return false;
        }
        // Some file systems cannot sync a folder; they report EINVAL and
        // have nothing to flush.
        const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
        if (!ok)
            error = errno;
        ::close(fd);
        return ok;
    }

    bool lock(FileHandle file, std::chrono::milliseconds timeout, int& error) override
    {
        return lockFileHandle(file, timeout, error);
    }
};

} // namespace

FileOps& realFileOps()
{
    static PosixFileOps ops;
    return ops;
}

bool openFileSurvivesReplace()
{
    return true;
}

} // namespace vornik
