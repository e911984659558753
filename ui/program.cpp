#include "ui/program.h"

#include "ui/hopsala.h"

#include <QApplication>

#include <exception>

int runHopsala()
{
    QApplication::setApplicationName(QStringLiteral("Hopsala1"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.hopsala.Hopsala"));

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
