#include "ui/program.h"

#include "ui/hopsala.h"
#include "ui/programidentity.h"

#include <QApplication>

#include <exception>

int runHopsala()
{
    QApplication::setApplicationName(QString::fromLatin1(ProgramIdentity::Name));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramIdentity::Version));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ProgramIdentity::DesktopId));

    Hopsala window;
    try {
        window.load();
    } catch (const std::exception &error) {
        // No frame comes before this box.
        installGermanQtTexts();
        window.toolkit().fail(error);
        return 1; // not reached: fail() has ended the process
    }
    window.showCentred();
    return QApplication::exec();
}
