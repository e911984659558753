#pragma once

#include <string>
#include <sys/types.h>

// The German sentences of SettingsError, kept in one place.

enum class FileAccess { Read, Write };

inline const std::string FieldTooLongCause = "Ein Feld ist länger als 1 MiB.";
inline const std::string FileTooLargeCause = "Sie ist größer als 8 MiB.";

// The cause of a failed system call, as the end of a sentence for the player.
std::string DescribeError(int errorNumber, FileAccess access);
// What a path names when it is no regular file: a directory, a FIFO, ...
std::string NotRegularCause(mode_t mode);

// "Die Datei „path“ kann nicht gelesen/geschrieben werden: cause"
std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause);
// "Die Datei „path“ ist beschädigt: cause"
std::string DamagedMessage(const std::string &path, const std::string &cause);
std::string IncompleteFileMessage(const std::string &path);
std::string Utf16Message(const std::string &path);
