#include "ui/program.h"

#include "ui/hopsala.h"
#include "ui/programidentity.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

bool installGermanQtTexts()
{
    auto *translator = new QTranslator(qApp);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int runHopsala()
{
    QApplication::setApplicationName(QString::fromLatin1(ProgramIdentity::Name));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramIdentity::Version));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ProgramIdentity::DesktopId));
    installGermanQtTexts();

    Hopsala window;
    try {
        window.load();
    } catch (const std::exception &error) {
        window.toolkit().fail(error);
        return 1; // not reached: fail() has ended the process
    }
    window.showCentred();
    return QApplication::exec();
}
