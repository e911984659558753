#include "app/start.h"

#include "ui/hopsala.h"
#include "ui/programidentity.h"

#include <QApplication>
#include <QIcon>
#include <QList>
#include <QPixmap>

#include <exception>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

// Every picture made for the icon, decoded as it is added: an icon of files
// that Qt 6.8 decodes only when asked answers a request for 32 px at ratio 2
// that follows one for 16 px with the 32 px picture at ratio 1, blurred.
QIcon programIcon()
{
    QIcon icon;
    for (int size : {HOPSALA_ICON_SIZES})
        icon.addPixmap(QPixmap(QStringLiteral(":/icon%1.png").arg(size)));
    return icon;
}

const char *const SessionVariables[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

bool hasGraphicalSession()
{
    for (const char *name : SessionVariables) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

// The variables that named the session, as NAME="value", for the player.
std::string sessionNames()
{
    std::string names;
    for (const char *name : SessionVariables) {
        const char *value = std::getenv(name);
        if (!value || !*value)
            continue;
        names += (names.empty() ? "" : ", ") + std::string(name) + "=\"" + value + '"';
    }
    return names;
}

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Qt's messages while the platform starts. When no window system answers,
// Qt ends the process through a fatal message (an abort) after a few English
// lines; the player gets one German line and status 1 instead.
// The platform's event thread may speak as well.
std::mutex heldMessagesLock;
QList<HeldMessage> heldMessages;
QtMessageHandler outputHandler = nullptr;

// Whether Qt said that it has no platform of the name QT_QPA_PLATFORM gives:
// then the session may be fine, and the name is the cause.
bool platformMissing()
{
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        if (message.text.contains(QLatin1String("Could not find the Qt platform plugin")))
            return true;
    }
    return false;
}

void holdWhileStarting(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const std::lock_guard<std::mutex> hold(heldMessagesLock);
    if (type == QtFatalMsg && platformMissing()) {
        std::fprintf(stderr, "%s kann kein Fenster öffnen: Die Qt-Plattform QT_QPA_PLATFORM=\"%s\" "
                             "gibt es nicht. Qt meldet: %s\n",
                     ProgramIdentity::Name, std::getenv("QT_QPA_PLATFORM"),
                     text.simplified().toLocal8Bit().constData());
        std::fflush(nullptr);
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s kann kein Fenster öffnen: keine Verbindung zur grafischen "
                             "Sitzung (%s).\n",
                     ProgramIdentity::Name, sessionNames().c_str());
        std::fflush(nullptr);
        std::_Exit(1);
    }
    heldMessages.append({type, context.category, text});
}

// The platform started: what Qt said meanwhile goes out as it would have.
void releaseHeldMessages()
{
    qInstallMessageHandler(outputHandler);
    const std::lock_guard<std::mutex> hold(heldMessagesLock);
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages.clear();
}

} // namespace

int runHopsala()
{
    QApplication::setApplicationName(QString::fromLatin1(ProgramIdentity::Name));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramIdentity::Version));
    // Wayland compositors find the icon and the name through the desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ProgramIdentity::DesktopId));

    Hopsala window;
    dressAfterFirstFrame(window);
    try {
        window.load();
    } catch (const std::exception &error) {
        window.toolkit().fail(error);
        return 1; // not reached: fail() has ended the process
    }
    window.showCentred();
    return QApplication::exec();
}

void dressAfterFirstFrame(Hopsala &window)
{
    QObject::connect(&window, &Hopsala::firstFrameShown, &window, [&window] {
        const QIcon icon = programIcon();
        QApplication::setWindowIcon(icon);
        window.setWindowIcon(icon);
    });
}

int startHopsala()
{
    if (!hasGraphicalSession()) {
        std::fprintf(stderr,
                     "%s braucht eine grafische Sitzung: weder DISPLAY noch WAYLAND_DISPLAY "
                     "ist gesetzt.\n",
                     ProgramIdentity::Name);
        return 1;
    }
    std::string programName = ProgramIdentity::Name;
    char *qtArguments[] = {programName.data(), nullptr};
    int qtArgumentCount = 1;
    outputHandler = qInstallMessageHandler(holdWhileStarting);
    QApplication app(qtArgumentCount, qtArguments);
    releaseHeldMessages();
    return runHopsala();
}
