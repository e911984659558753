#include "storage/errortext.h"
#include "storage/folders.h"
#include "storage/lockedfile.h"
#include "storage/settingsformat.h"

#include <cerrno>
#include <sys/stat.h>

// The Wahl.txt reader and writers over the file layer of lockedfile.h: it
// names the file in every message.

namespace {

std::string readBytes(const std::string &path)
{
    try {
        return ReadRegularFile(path, MaxFileBytes);
    } catch (const FileFailure &failure) {
        throw SettingsError(AccessFailedMessage(path, FileAccess::Read, failure.cause));
    }
}

bool isMissing(const std::string &path)
{
    struct stat status{};
    return ::stat(path.c_str(), &status) != 0 && errno == ENOENT;
}

} // namespace

SettingsRecord ReadSettings(const std::string &path)
{
    return ParseSettings(readBytes(path), path); // refuses a file larger than MaxFileBytes
}

std::optional<SettingsRecord> ReadSettingsIfPresent(const std::string &path)
{
    if (isMissing(path))
        return std::nullopt;
    return ReadSettings(path);
}

SettingsReading ReadSettingsIfIntact(const std::string &path)
{
    if (isMissing(path))
        return {};
    const std::string bytes = readBytes(path);
    try {
        return {ParseSettings(bytes, path)};
    } catch (const SettingsError &) {
        return {std::nullopt, true};
    }
}

namespace {

template<typename Step>
void writeStep(const std::string &path, Step step)
{
    try {
        step();
    } catch (const FileFailure &failure) {
        throw SettingsError(AccessFailedMessage(path, FileAccess::Write, failure.cause));
    }
}

} // namespace

void CheckSettingsWritable(const std::string &path)
{
    writeStep(path, [&] { CheckWritable(path); });
}

void PlaceDefaultSettings(const std::string &path, const std::string &defaultPath)
{
    writeStep(path, [&] { MakeFolders(DirectoryOf(path)); });
    if (!isMissing(path))
        return;
    const std::string bytes = readBytes(defaultPath);
    WriteFaults none;
    writeStep(path, [&] {
        LockedFile file(path, none);
        // Another first start may have placed it while this one waited.
        if (isMissing(path))
            file.replace(bytes);
    });
}

void WriteSettings(const std::string &path, const SettingsRecord &record, WriteFaults &faults)
{
    const std::string bytes = FormatSettings(record, path);
    writeStep(path, [&] { LockedFile(path, faults).replace(bytes); });
}

void WriteSettings(const std::string &path, const SettingsRecord &record)
{
    WriteFaults none;
    WriteSettings(path, record, none);
}

SettingsUpdate UpdateSettings(const std::string &path, const SettingsChange &change, WriteFaults &faults)
{
    std::optional<LockedFile> file;
    writeStep(path, [&] { file.emplace(path, faults); });
    std::optional<StoredSettings> stored;
    std::string damage;
    try {
        stored = ParseStoredSettings(readBytes(path), path);
    } catch (const SettingsError &error) {
        // Written from what the caller holds; a file that cannot be
        // written fails below with its own cause.
        if (!isMissing(path))
            damage = std::string(error.what()) + " " + RewrittenFromMemory;
    }
    const std::optional<SettingsRecord> storedRecord = stored ? std::optional(stored->record) : std::nullopt;
    const std::optional<SettingsRecord> record = change(storedRecord);
    if (!record)
        return {storedRecord, {}};
    const SettingsRewrite rewrite = stored ? FormatOver(*stored, *record, path)
                                           : SettingsRewrite{FormatSettings(*record, path), damage};
    writeStep(path, [&] { file->replace(rewrite.bytes); });
    return {record, rewrite.lost};
}

SettingsUpdate UpdateSettings(const std::string &path, const SettingsChange &change)
{
    WriteFaults none;
    return UpdateSettings(path, change, none);
}
