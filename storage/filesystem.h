#pragma once

#include "storage/settings.h"

#include <string>
#include <string_view>
#include <vector>

// The file-system calls that WriteSettings makes, so that a test can make any
// one of them fail. Each returns 0 or the errno value of the failure.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // The permission bits of an existing file.
    virtual int permissionsOf(const std::string &path, unsigned &mode) = 0;
    // Whether the calling user may write an existing file (access(2), W_OK).
    virtual int accessForWriting(const std::string &path) = 0;
    // Creates a file that does not exist yet, for writing, with the
    // permissions 0666 less the umask.
    virtual int createExclusive(const std::string &path, int &fd) = 0;
    virtual int setPermissions(int fd, unsigned mode) = 0;
    // May write fewer bytes than given, as write(2) may.
    virtual int write(int fd, std::string_view data, std::size_t &written) = 0;
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::string &from, const std::string &to) = 0;
    virtual int unlink(const std::string &path) = 0;
    // Makes a finished rename durable; failures are not reported.
    virtual void syncDirectory(const std::string &directory) = 0;
    // Waits for the writers' lock on a directory; a lock on the directory
    // itself, so that it lives exactly as long as its holder's process.
    virtual int lockDirectory(const std::string &directory, int &lockFd) = 0;
    virtual void unlockDirectory(int lockFd) = 0;
    virtual int listDirectory(const std::string &directory, std::vector<std::string> &names) = 0;
};

// The real file system.
class PosixFileSystem : public FileSystem
{
public:
    int permissionsOf(const std::string &path, unsigned &mode) override;
    int accessForWriting(const std::string &path) override;
    int createExclusive(const std::string &path, int &fd) override;
    int setPermissions(int fd, unsigned mode) override;
    int write(int fd, std::string_view data, std::size_t &written) override;
    int sync(int fd) override;
    int close(int fd) override;
    int rename(const std::string &from, const std::string &to) override;
    int unlink(const std::string &path) override;
    void syncDirectory(const std::string &directory) override;
    int lockDirectory(const std::string &directory, int &lockFd) override;
    void unlockDirectory(int lockFd) override;
    int listDirectory(const std::string &directory, std::vector<std::string> &names) override;
};

// WriteSettings through the given file system.
void WriteSettings(const std::string &path, const SettingsRecord &record, FileSystem &fileSystem);

// Whether name is one of the temporary files that a write of the file
// targetName leaves behind when its process dies before the rename.
bool IsTemporaryNameOf(std::string_view name, std::string_view targetName);
