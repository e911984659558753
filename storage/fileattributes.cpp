#include "storage/fileattributes.h"

#include <cerrno>
#include <cstring>
#include <sys/xattr.h>

namespace {

// The names or one value of extended attributes through a call of the kind
// of listxattr or getxattr; a file system without them has none.
template<typename Call>
int attributeData(Call call, std::string &data)
{
    ssize_t size = call(nullptr, 0);
    if (size > 0) {
        data.resize(static_cast<std::size_t>(size));
        size = call(data.data(), data.size());
    }
    data.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    return size >= 0 || errno == ENOTSUP ? 0 : errno;
}

} // namespace

int CopyAttributes(const std::string &from, int to)
{
    std::string names, own, value;
    int error = attributeData([&](char *b, std::size_t n) { return ::listxattr(from.c_str(), b, n); }, names);
    if (error == 0)
        error = attributeData([&](char *b, std::size_t n) { return ::flistxattr(to, b, n); }, own);
    // One the new file got from its directory (a default ACL) may be missing
    // on the old one: then the old file is written in place, which keeps all.
    if (error == 0 && !own.empty() && own != names)
        error = EEXIST;
    for (const char *name = names.c_str(); error == 0 && *name != '\0'; name += std::strlen(name) + 1) {
        error = attributeData([&](char *b, std::size_t n) { return ::getxattr(from.c_str(), name, b, n); }, value);
        error = error != 0 ? error : ::fsetxattr(to, name, value.data(), value.size(), 0) < 0 ? errno : 0;
    }
    return error;
}
