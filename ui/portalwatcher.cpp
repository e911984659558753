#include "ui/portalwatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Settings");

struct Key
{
    QString group;
    QString name;
};

// GNOME's in milliseconds as a number, KDE's in milliseconds as its
// configuration's text.
const Key Keys[] = {
    {QStringLiteral("org.gnome.desktop.peripherals.mouse"), QStringLiteral("double-click")},
    {QStringLiteral("org.kde.kdeglobals.KDE"), QStringLiteral("DoubleClickInterval")},
};

// Read wraps the value in one variant more than ReadOne.
QVariant unwrapped(QVariant value)
{
    for (int layer = 0; layer < 3 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++layer)
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

PortalWatcher::PortalWatcher(DesktopDoubleClick &target, QObject *parent)
    : QObject(parent)
    , m_target(target)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(Service, Path, Interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    for (int key = 0; key < 2; ++key)
        read(key, QStringLiteral("ReadOne"));
}

void PortalWatcher::read(int key, const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, method);
    call << Keys[key].group << Keys[key].name;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, key, method, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (reply.isError() && reply.error().type() == QDBusError::UnknownMethod
            && method == QLatin1String("ReadOne"))
            read(key, QStringLiteral("Read"));
        else if (!reply.isError())
            take(key, reply.argumentAt(0));
    });
}

void PortalWatcher::settingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    for (int i = 0; i < 2; ++i) {
        if (group == Keys[i].group && key == Keys[i].name)
            take(i, value.variant());
    }
}

void PortalWatcher::take(int key, const QVariant &value)
{
    bool number = false;
    const qlonglong ms = unwrapped(value).toLongLong(&number);
    m_values[key] = number ? acceptedIntervalMs(ms) : std::nullopt;
    m_target.intervalMs = m_values[0] ? m_values[0] : m_values[1];
}
