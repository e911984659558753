#include "storage/errortext.h"
#include "storage/filesystem.h"
#include "storage/settingsformat.h"
#include "storage/windows1252.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::string_view NameAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t RandomNameLength = 6;
constexpr int CreateAttempts = 100;

std::string formatField(const FieldValue &field, const std::string &path)
{
    switch (field.kind()) {
    case FieldValue::Kind::Number:
        return FormatDecimal(field.numberValue());
    case FieldValue::Kind::Text: {
        const std::string bytes = EncodeWindows1252(NormaliseText(field.textValue()));
        if (bytes.size() > MaxFieldBytes)
            throw SettingsError(AccessFailedMessage(path, FileAccess::Write, FieldTooLongCause()));
        return '"' + bytes + '"';
    }
    case FieldValue::Kind::Empty:
        break;
    }
    return {};
}

struct Location
{
    std::string directory;
    std::string fileName;

    std::string beside(const std::string &name) const
    {
        return directory == "/" ? "/" + name : directory + "/" + name;
    }
};

Location locate(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string temporaryName(const std::string &fileName)
{
    thread_local std::mt19937 generator(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, NameAlphabet.size() - 1);
    std::string name = "." + fileName + ".";
    for (std::size_t i = 0; i < RandomNameLength; ++i)
        name += NameAlphabet[pick(generator)];
    return name;
}

[[noreturn]] void fail(const std::string &path, int error)
{
    throw SettingsError(AccessFailedMessage(path, FileAccess::Write, error));
}

// Held from before a temporary file is created until after it has been
// renamed, so that every temporary file found while holding it is a
// leftover of a writer that died.
class DirectoryLock
{
public:
    DirectoryLock(FileSystem &fileSystem, const std::string &directory) : m_fileSystem(fileSystem)
    {
        if (m_fileSystem.lockDirectory(directory, m_fd) != 0)
            m_fd = -1;
    }
    ~DirectoryLock()
    {
        if (m_fd >= 0)
            m_fileSystem.unlockDirectory(m_fd);
    }
    DirectoryLock(const DirectoryLock &) = delete;
    DirectoryLock &operator=(const DirectoryLock &) = delete;
    bool held() const { return m_fd >= 0; }

private:
    FileSystem &m_fileSystem;
    int m_fd = -1;
};

void removeLeftovers(FileSystem &fileSystem, const Location &where)
{
    std::vector<std::string> names;
    if (fileSystem.listDirectory(where.directory, names) != 0)
        return;
    for (const std::string &name : names) {
        if (IsTemporaryNameOf(name, where.fileName))
            fileSystem.unlink(where.beside(name));
    }
}

// The new content beside the target until it is renamed over it; removed
// again on every failure before that.
class TemporaryFile
{
public:
    TemporaryFile(FileSystem &fileSystem, const Location &where, const std::string &target)
        : m_fileSystem(fileSystem), m_target(target)
    {
        for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
            m_path = where.beside(temporaryName(where.fileName));
            const int error = m_fileSystem.createExclusive(m_path, m_fd);
            if (error == 0)
                return;
            if (error != EEXIST)
                fail(m_target, error);
        }
        fail(m_target, EEXIST);
    }

    ~TemporaryFile()
    {
        if (m_fd >= 0)
            m_fileSystem.close(m_fd);
        if (!m_renamed)
            m_fileSystem.unlink(m_path);
    }

    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    void setPermissions(unsigned mode) { check(m_fileSystem.setPermissions(m_fd, mode)); }

    void write(std::string_view bytes)
    {
        while (!bytes.empty()) {
            std::size_t written = 0;
            const int error = m_fileSystem.write(m_fd, bytes, written);
            if (error == EINTR)
                continue;
            check(error);
            // A regular file that takes no byte without an error is full.
            check(written == 0 ? ENOSPC : 0);
            bytes.remove_prefix(std::min(written, bytes.size()));
        }
    }

    void replaceTarget()
    {
        check(m_fileSystem.sync(m_fd));
        const int fd = m_fd;
        m_fd = -1;
        check(m_fileSystem.close(fd));
        check(m_fileSystem.rename(m_path, m_target));
        m_renamed = true;
    }

private:
    void check(int error) const
    {
        if (error != 0)
            fail(m_target, error);
    }

    FileSystem &m_fileSystem;
    std::string m_target;
    std::string m_path;
    int m_fd = -1;
    bool m_renamed = false;
};

} // namespace

std::string FormatSettings(const SettingsRecord &record, const std::string &nameForMessages)
{
    std::string bytes = formatField(record.level, nameForMessages) + "\r\n";
    for (const HighScoreEntry &entry : record.entries) {
        bytes += formatField(entry.score, nameForMessages) + "," + formatField(entry.name, nameForMessages);
        bytes += "\r\n";
    }
    return bytes;
}

bool IsTemporaryNameOf(std::string_view name, std::string_view targetName)
{
    const std::size_t prefixLength = targetName.size() + 2;
    if (name.size() != prefixLength + RandomNameLength || name[0] != '.'
        || name.substr(1, targetName.size()) != targetName || name[prefixLength - 1] != '.')
        return false;
    return name.substr(prefixLength).find_first_not_of(NameAlphabet) == std::string_view::npos;
}

// A new file beside the target, renamed over it once it is complete and on
// the disk: the target holds either the old or the new content at any moment.
void WriteSettings(const std::string &path, const SettingsRecord &record, FileSystem &fileSystem)
{
    const std::string bytes = FormatSettings(record, path);
    const Location where = locate(path);
    if (const int error = fileSystem.accessForWriting(path); error != 0 && error != ENOENT)
        fail(path, error);
    unsigned oldMode = 0;
    const bool replacesFile = fileSystem.permissionsOf(path, oldMode) == 0;

    const DirectoryLock lock(fileSystem, where.directory);
    if (lock.held())
        removeLeftovers(fileSystem, where);
    TemporaryFile file(fileSystem, where, path);
    if (replacesFile)
        file.setPermissions(oldMode);
    file.write(bytes);
    file.replaceTarget();
    fileSystem.syncDirectory(where.directory);
}

void WriteSettings(const std::string &path, const SettingsRecord &record)
{
    PosixFileSystem fileSystem;
    WriteSettings(path, record, fileSystem);
}
