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

namespace {

// Announcements that come closer together are read once: however many a
// broken client sends, the file is read at most 20 times a second.
constexpr int ReadPeriodMs = 50;

} // namespace

void KdeWatcher::refresh()
{
    if (std::exchange(m_pending, true))
        return;
    QTimer::singleShot(ReadPeriodMs, this, [this] {
        m_pending = false;
        m_report(readKdeDoubleClickInterval());
    });
}

void KdeWatcher::announced(const QDBusMessage &)
{
    refresh();
}
