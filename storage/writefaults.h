#pragma once

#include "storage/settings.h"

#include <cstddef>

// Where a test can make WriteSettings fail as a disk or the kernel would:
// the check that the file may be written, the writers' lock, creating the new
// file and locking it, giving it the old one's owner, mode and attributes, one
// write(2) call, fsync, close and rename.
enum class WriteStep { AccessCheck, Lock, Create, LockNew, CarryOver, Write, Sync, Close, Rename };

class WriteFaults
{
public:
    virtual ~WriteFaults() = default;
    // The errno value that the step fails with instead of being done, or 0.
    virtual int failure(WriteStep) { return 0; }
    // How many of the size bytes one write(2) call may take.
    virtual std::size_t writeLimit(std::size_t size) { return size; }
};

void WriteSettings(const std::string &path, const SettingsRecord &record, WriteFaults &faults);
SettingsUpdate UpdateSettings(const std::string &path, const SettingsChange &change, WriteFaults &faults);

