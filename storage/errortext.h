#pragma once

#include <string>
#include <sys/types.h>

// The German sentences of SettingsError, kept in one place.

enum class FileAccess { Read, Write };

// What follows "Die Datei „path“ " in the messages about the content.
inline const std::string FieldTooLongCause = "Ein Feld ist länger als 1 MiB.";
inline const std::string FieldTooLong = "ist beschädigt: " + FieldTooLongCause;
inline const std::string FileTooLarge = "ist beschädigt: Sie ist größer als 8 MiB.";
inline const std::string Incomplete = "ist unvollständig: Sie endet vor dem siebten Feld.";
inline const std::string InUtf16 = "ist in UTF-16 gespeichert. Bitte speichern Sie sie als Windows-1252.";
std::string FileMessage(const std::string &path, const std::string &state);

// The cause of a failed system call, as the end of a sentence for the player.
std::string DescribeError(int errorNumber, FileAccess access);
// What a path names when it is no regular file: a directory, a FIFO, ...
std::string NotRegularCause(mode_t mode);

// "Die Datei „path“ kann nicht gelesen/geschrieben werden: cause"
std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause);
