#pragma once

#include <string>

// The German sentences of SettingsError, kept in one place.

enum class FileAccess { Read, Write };

// The cause of a failed system call, as the end of a sentence for the player.
std::string DescribeError(int errorNumber, FileAccess access);

// "Die Datei „path“ kann nicht gelesen/geschrieben werden: cause"
std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause);
std::string AccessFailedMessage(const std::string &path, FileAccess access, int errorNumber);

std::string IncompleteFileMessage(const std::string &path);
std::string FieldTooLongMessage(const std::string &path);

// The cause written when a field would be too long to be read back.
std::string FieldTooLongCause();
