#include "platform/portalwatcher.h"

#include "platform/desktopdoubleclick.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

const QString Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Interface = QStringLiteral("org.freedesktop.portal.Settings");

struct Key
{
    QString group;
    QString name;
};

// In the order of preference: GNOME's in milliseconds as a number; the same
// under its former id, the one GNOME's mouse settings have in the fixed list
// of xdg-desktop-portal-gtk 1.14; KDE's in milliseconds as its
// configuration's text.
const Key Keys[] = {
    {QStringLiteral("org.gnome.desktop.peripherals.mouse"), QStringLiteral("double-click")},
    {QStringLiteral("org.gnome.settings-daemon.peripherals.mouse"), QStringLiteral("double-click")},
    {QStringLiteral("org.kde.kdeglobals.KDE"), QStringLiteral("DoubleClickInterval")},
};
constexpr int KeyCount = int(std::size(Keys));
static_assert(KeyCount == 3, "one value of PortalWatcher for each key");

// Read wraps the value in one variant more than ReadOne.
QVariant unwrapped(QVariant value)
{
    for (int layer = 0; layer < 3 && value.metaType() == QMetaType::fromType<QDBusVariant>(); ++layer)
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

PortalWatcher::PortalWatcher(Report report, QObject *parent)
    : QObject(parent)
    , m_report(std::move(report))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(Service, Path, Interface, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QDBusMessage)));
    refresh();
}

void PortalWatcher::refresh()
{
    if (!QDBusConnection::sessionBus().isConnected())
        return;
    for (int key = 0; key < KeyCount; ++key)
        read(key);
}

void PortalWatcher::read(int key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, m_method);
    call << Keys[key].group << Keys[key].name;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, key, method = m_method, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *watcher;
        if (reply.isError() && reply.error().type() == QDBusError::UnknownMethod
            && method == QLatin1String("ReadOne")) {
            m_method = QStringLiteral("Read");
            read(key);
        } else if (!reply.isError()) {
            take(key, reply.argumentAt(0));
        }
    });
}

void PortalWatcher::settingChanged(const QDBusMessage &change)
{
    const QVariantList arguments = change.arguments();
    if (arguments.size() != 3)
        return;
    for (int i = 0; i < KeyCount; ++i) {
        if (arguments[0] == Keys[i].group && arguments[1] == Keys[i].name)
            take(i, arguments[2]);
    }
}

void PortalWatcher::take(int key, const QVariant &value)
{
    bool number = false;
    const qlonglong ms = unwrapped(value).toLongLong(&number);
    m_values[key] = number ? acceptedIntervalMs(ms) : std::nullopt;
    const auto first = std::find_if(std::begin(m_values), std::end(m_values),
                                    [](const std::optional<int> &held) { return held.has_value(); });
    m_report(first != std::end(m_values) ? *first : std::nullopt);
}
