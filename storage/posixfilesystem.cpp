#include "storage/filesystem.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a call that returns -1 on failure again while a signal interrupts it.
template<typename Call>
int retryOnInterrupt(Call call)
{
    for (;;) {
        if (call() >= 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

} // namespace

int PosixFileSystem::permissionsOf(const std::string &path, unsigned &mode)
{
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0)
        return errno;
    mode = status.st_mode & 07777u;
    return 0;
}

int PosixFileSystem::accessForWriting(const std::string &path)
{
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int PosixFileSystem::createExclusive(const std::string &path, int &fd)
{
    return retryOnInterrupt([&] {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        return fd;
    });
}

int PosixFileSystem::setPermissions(int fd, unsigned mode)
{
    return retryOnInterrupt([&] { return ::fchmod(fd, static_cast<mode_t>(mode)); });
}

int PosixFileSystem::write(int fd, std::string_view data, std::size_t &written)
{
    const ssize_t count = ::write(fd, data.data(), data.size());
    if (count < 0) {
        written = 0;
        return errno;
    }
    written = static_cast<std::size_t>(count);
    return 0;
}

int PosixFileSystem::sync(int fd)
{
    return retryOnInterrupt([&] { return ::fsync(fd); });
}

int PosixFileSystem::close(int fd)
{
    // Linux releases the descriptor even when close is interrupted, so it
    // must not be closed again; the data was synced before.
    if (::close(fd) != 0 && errno != EINTR)
        return errno;
    return 0;
}

int PosixFileSystem::rename(const std::string &from, const std::string &to)
{
    return retryOnInterrupt([&] { return ::rename(from.c_str(), to.c_str()); });
}

int PosixFileSystem::unlink(const std::string &path)
{
    return retryOnInterrupt([&] { return ::unlink(path.c_str()); });
}

void PosixFileSystem::syncDirectory(const std::string &directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    retryOnInterrupt([&] { return ::fsync(fd); });
    ::close(fd);
}

int PosixFileSystem::lockDirectory(const std::string &directory, int &lockFd)
{
    lockFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lockFd < 0)
        return errno;
    const int error = retryOnInterrupt([&] { return ::flock(lockFd, LOCK_EX); });
    if (error != 0) {
        ::close(lockFd);
        lockFd = -1;
    }
    return error;
}

void PosixFileSystem::unlockDirectory(int lockFd)
{
    ::close(lockFd);
}

int PosixFileSystem::listDirectory(const std::string &directory, std::vector<std::string> &names)
{
    DIR *dir = ::opendir(directory.c_str());
    if (dir == nullptr)
        return errno;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (entry == nullptr)
            break;
        names.emplace_back(entry->d_name);
    }
    const int error = errno;
    ::closedir(dir);
    return error;
}
