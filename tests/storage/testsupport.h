#pragma once

#include "storage/settings.h"
#include "support/recordprinter.h"
#include "support/wahlbytes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <chrono>
#include <concepts>
#include <clocale>
#include <cstring>
#include <functional>
#include <locale>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Takes the locale from the environment as a program does. Returns an error
// text when the locale that LC_ALL names is missing, so that a run meant to
// prove independence of the decimal comma cannot pass in the C locale.
inline QString UseEnvironmentLocale()
{
    if (std::setlocale(LC_ALL, "") == nullptr)
        return QStringLiteral("setlocale failed; run tools/ensure-locale");
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error &error) {
        return QStringLiteral("locale missing (%1); run tools/ensure-locale").arg(error.what());
    }
    const QByteArray wanted = qgetenv("LC_ALL");
    if (wanted.startsWith("de_DE") && std::strcmp(std::localeconv()->decimal_point, ",") != 0)
        return QStringLiteral("the German locale is not in effect");
    return {};
}

inline FieldValue Text(const char *utf8)
{
    return FieldValue::text(utf8);
}

inline FieldValue Number(long long value)
{
    return FieldValue::number(value);
}

inline FieldValue Number(std::string_view decimal)
{
    return FieldValue::number(decimal);
}

// A fraction is written as its decimal digits, never as a double.
template<std::floating_point Double>
FieldValue Number(Double) = delete;

inline SettingsRecord MakeRecord(FieldValue level, FieldValue s1, FieldValue n1, FieldValue s2,
                                 FieldValue n2, FieldValue s3, FieldValue n3)
{
    return SettingsRecord{std::move(level), {{{s1, n1}, {s2, n2}, {s3, n3}}}};
}

// The file a player starts with: Anfänger; 12 Maus, 9 Igel, 0 unbekannt.
inline SettingsRecord WorkedExample()
{
    return MakeRecord(Text("Anfänger"), Number(12), Text("Maus"), Number(9), Text("Igel"), Number(0),
                      Text("unbekannt"));
}

inline QByteArray FileBytes(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

inline bool PutFileBytes(const std::string &path, const QByteArray &bytes)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Everything in a directory but the file itself: leftovers of a write.
inline QStringList OtherEntries(const QString &directory, const QString &fileName = "Wahl.txt")
{
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                  | QDir::NoDotAndDotDot);
    names.removeAll(fileName);
    return names;
}

// The error text of a call of ReadSettings or WriteSettings, "" when it succeeds.
inline std::string ErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const SettingsError &error) {
        return error.what();
    }
    return {};
}

// Runs call in a child process and returns what it returned, or nullopt when
// it has not returned within the given time (the child is killed then), so
// that a call that hangs fails its test instead of holding the test run.
inline std::optional<std::string> ReturnsWithin(std::chrono::milliseconds bound,
                                                const std::function<std::string()> &call)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const std::string said = call();
        const ssize_t written = ::write(ends[1], said.data(), said.size());
        ::_exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(ends[1]);
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::string said;
    bool ended = false;
    while (child > 0 && !ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd readable{ends[0], POLLIN, 0};
        const int ready = left.count() <= 0 ? 0 : ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready == 0)
            break;
        if (ready < 0)
            continue;
        char block[4096];
        const ssize_t count = ::read(ends[0], block, sizeof block);
        ended = count <= 0;
        said.append(block, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    ::close(ends[0]);
    if (child > 0 && !ended)
        ::kill(child, SIGKILL);
    int status = 0;
    if (child > 0)
        ::waitpid(child, &status, 0);
    if (!ended)
        return std::nullopt;
    return said;
}

Q_DECLARE_METATYPE(std::string)
