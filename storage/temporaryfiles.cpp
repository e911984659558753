#include "storage/temporaryfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view NameAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t RandomNameLength = 6; // the X of mkostemps
// Around the random part of a temporary name: no name a person gives a file
// beside Wahl.txt (".Wahl.txt.backup") looks like one of ours.
constexpr std::string_view TemporaryInfix = ".hopsala-";
constexpr std::string_view TemporarySuffix = ".neu";
static_assert(TemporarySuffix.size() == TemporarySuffixLength);

bool isLeftover(int directory, const char *name)
{
    const int fd = ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat status{};
    const bool leftover = fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)
                          && status.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0)
        ::close(fd);
    return leftover;
}

} // namespace

std::string TemporaryNameTemplate(const std::string &directory, const std::string &fileName)
{
    return (directory == "/" ? "" : directory) + "/." + fileName + std::string(TemporaryInfix)
           + std::string(RandomNameLength, 'X') + std::string(TemporarySuffix);
}

bool IsTemporaryNameOf(std::string_view name, std::string_view targetName)
{
    const std::size_t prefixLength = 1 + targetName.size() + TemporaryInfix.size();
    return name.size() == prefixLength + RandomNameLength + TemporarySuffix.size() && name[0] == '.'
           && name.substr(1, targetName.size()) == targetName
           && name.substr(1 + targetName.size(), TemporaryInfix.size()) == TemporaryInfix
           && name.substr(prefixLength, RandomNameLength).find_first_not_of(NameAlphabet) == std::string_view::npos
           && name.ends_with(TemporarySuffix);
}

void RemoveLeftovers(const std::string &directory, const std::string &fileName)
{
    DIR *dir = ::opendir(directory.c_str());
    if (dir == nullptr)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (IsTemporaryNameOf(entry->d_name, fileName) && isLeftover(::dirfd(dir), entry->d_name))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}
