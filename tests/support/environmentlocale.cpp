#include "support/environmentlocale.h"

#include <QByteArray>

#include <clocale>
#include <cstring>
#include <locale>
#include <stdexcept>

QString UseEnvironmentLocale()
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
