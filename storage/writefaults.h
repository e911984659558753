#pragma once

#include "storage/settings.h"

#include <cstddef>
#include <string>
#include <string_view>

// Where a test can make WriteSettings fail as a disk or the kernel would.
enum class WriteStep {
    AccessCheck, // the file may not be written
    Lock,        // the writers' lock on the directory
    Create,      // the new file beside the old one
    CarryOver,   // giving the new file the old one's owner, mode and attributes
    Write,       // one write(2) call
    Sync,
    Close,
    Rename,
};

class WriteFaults
{
public:
    virtual ~WriteFaults() = default;
    // The errno value that the step fails with instead of being done, or 0.
    virtual int failure(WriteStep) { return 0; }
    // How many of the size bytes one write(2) call may take.
    virtual std::size_t writeLimit(std::size_t size) { return size; }
};

// WriteSettings with the given faults.
void WriteSettings(const std::string &path, const SettingsRecord &record, WriteFaults &faults);

// Whether name is one of the temporary files that a write of the file
// targetName leaves behind when its process dies before the rename.
bool IsTemporaryNameOf(std::string_view name, std::string_view targetName);
