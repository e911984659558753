#include "platform/kdewatcher.h"

#include "platform/kdeglobals.h"

#include <QDBusConnection>
#include <QTimer>

#include <utility>

KdeWatcher::KdeWatcher(Report report, QObject *parent)
    : QObject(parent)
    , m_report(std::move(report))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.connect(QString(), QStringLiteral("/kdeglobals"), QStringLiteral("org.kde.kconfig.notify"),
                    QStringLiteral("ConfigChanged"), this, SLOT(announced(QDBusMessage)));
        bus.connect(QString(), QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"),
                    QStringLiteral("notifyChange"), this, SLOT(announced(QDBusMessage)));
    }
    refresh();
}

void KdeWatcher::refresh()
{
    if (std::exchange(m_pending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        m_report(readKdeDoubleClickInterval());
    });
}

void KdeWatcher::announced(const QDBusMessage &)
{
    refresh();
}
