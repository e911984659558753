#include "ui/program.h"

#include "ui/hopsala.h"

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
    QApplication::setApplicationName(QStringLiteral("Hopsala1"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.hopsala.Hopsala"));
    QApplication::setWindowIcon(programIcon());
    installGermanQtTexts();

    Hopsala window;
    try {
        window.load();
    } catch (const std::exception &error) {
        window.toolkit().report(error.what());
        return 1;
    }
    window.showCentred();
    return QApplication::exec();
}
