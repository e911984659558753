#pragma once

#include "storage/writefaults.h"

#include <cstddef>
#include <string>
#include <string_view>

// A file step that failed, by its cause: the end of a German sentence that
// ReadSettings or WriteSettings begins by naming the file.
struct FileFailure
{
    std::string cause;
};

// The file that a path leads to through symbolic links (it need not exist),
// held against other writers for the object's lifetime by the writers' lock
// on its directory. A holder of the lock is waited for only a second; then
// the object goes on without it and leaves any leftovers alone. Throws
// FileFailure.
class LockedFile
{
public:
    LockedFile(const std::string &path, WriteFaults &faults);
    ~LockedFile();
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    // Puts bytes in place of the file's content: through a new file renamed
    // over it, so that the file holds either the old or the new content at
    // any moment; or, where a new file cannot stand in for it (another
    // owner, a second link, a folder that takes no new file), written in
    // place once the content is complete. A failure before the first byte
    // reached the file leaves it as it was.
    void replace(std::string_view bytes);

private:
    std::string m_target;
    int m_lock = -1;
    WriteFaults &m_faults;
};

// Throws FileFailure where a write of the file that path leads to would fail
// now for a cause that can be seen beforehand.
void CheckWritable(const std::string &path);

// The content of the regular file at path, at most limit + 1 bytes: enough
// to tell that it is too large. Nothing waits for a FIFO. Throws FileFailure.
std::string ReadRegularFile(const std::string &path, std::size_t limit);
