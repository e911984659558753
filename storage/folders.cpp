#include "storage/folders.h"

#include "storage/errortext.h"

#include <cerrno>
#include <sys/stat.h>

std::string DirectoryOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

[[noreturn]] void cannotMake(const std::string &directory, const std::string &cause)
{
    throw FileFailure{"Der Ordner „" + directory + "“ lässt sich nicht anlegen. " + cause};
}

} // namespace

void MakeFolders(const std::string &directory)
{
    struct stat status{};
    if (::stat(directory.c_str(), &status) == 0) {
        if (!S_ISDIR(status.st_mode))
            cannotMake(directory, S_ISREG(status.st_mode) ? "An seiner Stelle steht eine Datei."
                                                          : "An seiner Stelle steht etwas anderes als ein Ordner.");
        return;
    }
    // A file above it is named by the folder that it stands in for.
    if (errno != ENOENT && errno != ENOTDIR)
        cannotMake(directory, DescribeError(errno, FileAccess::Write));
    MakeFolders(DirectoryOf(directory));
    // Another first start may have made it meanwhile.
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST)
        cannotMake(directory, DescribeError(errno, FileAccess::Write));
}
