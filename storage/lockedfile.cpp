#include "storage/lockedfile.h"

#include "storage/errortext.h"
#include "storage/fileattributes.h"
#include "storage/folders.h"
#include "storage/temporaryfiles.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr int MaxLinks = 40;                // as many as the kernel follows
constexpr auto LockPatience = std::chrono::seconds(1);

void check(int error, FileAccess access = FileAccess::Write)
{
    if (error != 0)
        throw FileFailure{DescribeError(error, access)};
}

// The errno value of a call that returned -1, or 0.
int result(long returned)
{
    return returned < 0 ? errno : 0;
}

template<typename Call>
int step(WriteFaults &faults, WriteStep which, Call call)
{
    const int error = faults.failure(which);
    return error != 0 ? error : result(call());
}

struct Descriptor
{
    int fd = -1;
    ~Descriptor() { close(); }
    // Linux releases the descriptor even when close fails: never twice.
    int close() { return fd < 0 ? 0 : ::close(std::exchange(fd, -1)); }
};

// Without O_NONBLOCK a FIFO would hold the open until its other end comes.
int openWithoutWaiting(const std::string &path, int flags)
{
    return ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// The file that the chain of symbolic links from path ends in; it need not exist.
std::string finalTarget(std::string path)
{
    for (int hop = 0; hop <= MaxLinks; ++hop) {
        std::array<char, PATH_MAX> link{};
        const ssize_t size = ::readlink(path.c_str(), link.data(), link.size());
        if (size < 0 && (errno == EINVAL || errno == ENOENT))
            return path;
        check(result(size));
        const std::string next(link.data(), static_cast<std::size_t>(size));
        path = next.starts_with('/') ? next : DirectoryOf(path) + "/" + next;
    }
    throw FileFailure{DescribeError(ELOOP, FileAccess::Write)};
}

// The writers' lock, held from before a temporary file is created until after
// it is renamed, so that every temporary file found under it is a leftover of
// a writer that died. A lock on the directory itself lives exactly as long as
// its holder's process. A holder is waited for only LockPatience; then the
// write goes on without the lock and leaves any leftovers alone.
void lockDirectory(Descriptor &lock, const std::string &directory, WriteFaults &faults)
{
    if (faults.failure(WriteStep::Lock) != 0)
        return;
    lock.fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const auto deadline = std::chrono::steady_clock::now() + LockPatience;
    while (lock.fd >= 0 && ::flock(lock.fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
            lock.close();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The new content beside the target until it is renamed over it; removed
// again on every failure before that.
struct TemporaryFile
{
    std::string path;
    Descriptor file;
    Descriptor held; // holds the file's lock past the close, until the rename
    bool ours = false; // path names our file, not yet renamed
    ~TemporaryFile() { if (ours) ::unlink(path.c_str()); }
};

// Gives the new file all that the old one has besides its content, or the
// errno value of why it cannot stand in for it.
int carryOver(int fd, const struct stat &old, const std::string &target, WriteFaults &faults)
{
    if (old.st_nlink != 1)
        return EMLINK;
    struct stat created{};
    int error = faults.failure(WriteStep::CarryOver);
    error = error != 0 ? error : result(::fstat(fd, &created));
    if (error == 0 && (created.st_uid != old.st_uid || created.st_gid != old.st_gid))
        error = result(::fchown(fd, old.st_uid, old.st_gid));
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    error = error != 0 ? error : result(::fchmod(fd, old.st_mode & 07777));
    return error != 0 ? error : CopyAttributes(target, fd);
}

// Writes bytes from offset 0; written counts those that reached the file.
int writeAll(int fd, std::string_view bytes, WriteFaults &faults, std::size_t &written)
{
    for (written = 0; written < bytes.size();) {
        const std::string_view rest = bytes.substr(written);
        const std::size_t size = std::min(faults.writeLimit(rest.size()), rest.size());
        ssize_t count = -1;
        const int error = step(faults, WriteStep::Write,
                               [&] { return count = ::pwrite(fd, rest.data(), size, static_cast<off_t>(written)); });
        if (error == EINTR)
            continue;
        // A regular file that takes no byte without an error is full.
        if (error != 0 || count == 0)
            return error != 0 ? error : ENOSPC;
        written += static_cast<std::size_t>(count);
    }
    return 0;
}

// Where a new file cannot stand in for the old one, as careful editors do:
// the content is complete before the file is touched, then written from
// offset 0, cut to its length and flushed to the disk.
void writeInPlace(const std::string &target, std::string_view bytes, WriteFaults &faults)
{
    Descriptor file{openWithoutWaiting(target, O_WRONLY)};
    struct stat status{};
    check(result(file.fd < 0 ? -1 : ::fstat(file.fd, &status)));
    if (!S_ISREG(status.st_mode))
        throw FileFailure{NotRegularCause(status.st_mode)};
    std::size_t written = 0;
    int error = writeAll(file.fd, bytes, faults, written);
    error = error != 0 ? error : result(::ftruncate(file.fd, static_cast<off_t>(bytes.size())));
    error = error != 0 ? error : step(faults, WriteStep::Sync, [&] { return ::fsync(file.fd); });
    if (error != 0 && written > 0)
        throw FileFailure{DescribeError(error, FileAccess::Write) + " Die Datei ist nun möglicherweise unvollständig."};
    check(error);
}

// The mode that open(2) gives a new file; the umask can only be read by setting it.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A new file beside the target, renamed over it once it is complete and on
// the disk: the target holds either the old or the new content at any moment.
void writeFile(const std::string &target, bool locked, std::string_view bytes, WriteFaults &faults)
{
    struct stat old{};
    const int missing = result(::stat(target.c_str(), &old));
    check(missing == ENOENT ? 0 : missing);
    if (!missing && !S_ISREG(old.st_mode))
        throw FileFailure{NotRegularCause(old.st_mode)};
    if (!missing)
        check(step(faults, WriteStep::AccessCheck, [&] { return ::access(target.c_str(), W_OK); }));

    const std::string directory = DirectoryOf(target);
    const std::string fileName = target.substr(target.rfind('/') + 1);
    if (locked)
        RemoveLeftovers(directory, fileName);
    TemporaryFile temporary;
    temporary.path = TemporaryNameTemplate(directory, fileName);
    const int error = step(faults, WriteStep::Create, [&] {
        return temporary.file.fd = ::mkostemps(temporary.path.data(), TemporarySuffixLength, O_CLOEXEC);
    });
    temporary.ours = error == 0;
    if (temporary.ours) {
        // A new file, which no one else holds. Unheld, it would be taken for
        // a dead writer's leftover by a writer under the writers' lock.
        temporary.held.fd = ::dup(temporary.file.fd);
        check(step(faults, WriteStep::LockNew, [&] { return ::flock(temporary.held.fd, LOCK_EX | LOCK_NB); }));
    }
    const bool refused = error == EACCES || error == EPERM;
    if (refused && missing)
        throw FileFailure{"Im Verzeichnis „" + directory + "“ darf keine neue Datei angelegt werden."};
    check(refused ? 0 : error);
    if (refused || (!missing && carryOver(temporary.file.fd, old, target, faults) != 0))
        return writeInPlace(target, bytes, faults);
    check(missing ? result(::fchmod(temporary.file.fd, newFileMode())) : 0);
    std::size_t written = 0;
    check(writeAll(temporary.file.fd, bytes, faults, written));
    check(step(faults, WriteStep::Sync, [&] { return ::fsync(temporary.file.fd); }));
    check(step(faults, WriteStep::Close, [&] { return temporary.file.close(); }));
    const int renamed = step(faults, WriteStep::Rename, [&] { return ::rename(temporary.path.c_str(), target.c_str()); });
    // A file that cannot be replaced, as one bind-mounted over its name.
    if (!missing && (renamed == EBUSY || renamed == EXDEV))
        return writeInPlace(target, bytes, faults);
    check(renamed);
    temporary.ours = false;
    // Makes the rename durable; it has happened either way.
    Descriptor dir{::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0)
        ::fsync(dir.fd);
}

// At most limit + 1 bytes: enough to tell that a file is too large.
std::string readBounded(int fd, std::size_t limit)
{
    std::string bytes;
    std::array<char, 64 * 1024> block{};
    for (ssize_t count = 1; count != 0 && bytes.size() <= limit;) {
        count = ::read(fd, block.data(), block.size());
        check(count < 0 && errno != EINTR ? errno : 0, FileAccess::Read);
        bytes.append(block.data(), static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    return bytes;
}

} // namespace

LockedFile::LockedFile(const std::string &path, WriteFaults &faults)
    : m_target(finalTarget(path))
    , m_faults(faults)
{
    Descriptor lock;
    lockDirectory(lock, DirectoryOf(m_target), faults);
    m_lock = std::exchange(lock.fd, -1);
}

LockedFile::~LockedFile()
{
    // Closing the last descriptor of the directory releases the lock.
    if (m_lock >= 0)
        ::close(m_lock);
}

void LockedFile::replace(std::string_view bytes)
{
    writeFile(m_target, m_lock >= 0, bytes, m_faults);
}

void CheckWritable(const std::string &path)
{
    const std::string target = finalTarget(path);
    struct stat status{};
    const int missing = result(::stat(target.c_str(), &status));
    check(missing == ENOENT ? 0 : missing);
    if (!missing && !S_ISREG(status.st_mode))
        throw FileFailure{NotRegularCause(status.st_mode)};
    check(result(::access(missing ? DirectoryOf(target).c_str() : target.c_str(), W_OK)));
    // A file system that counts no blocks or no inodes (btrfs has no inode
    // count) is never taken for full.
    struct statvfs disk{};
    if (::statvfs(DirectoryOf(target).c_str(), &disk) == 0
        && ((disk.f_blocks != 0 && disk.f_bavail == 0) || (disk.f_files != 0 && disk.f_favail == 0)))
        check(ENOSPC);
}

std::string ReadRegularFile(const std::string &path, std::size_t limit)
{
    Descriptor file{openWithoutWaiting(path, O_RDONLY)};
    const int openError = result(file.fd);
    struct stat status{};
    // A socket cannot be opened at all; its name tells what it is.
    const int statError = result(file.fd >= 0 ? ::fstat(file.fd, &status) : ::stat(path.c_str(), &status));
    check(openError != 0 && (statError != 0 || S_ISREG(status.st_mode)) ? openError : statError, FileAccess::Read);
    if (!S_ISREG(status.st_mode))
        throw FileFailure{NotRegularCause(status.st_mode)};
    return readBounded(file.fd, limit);
}
