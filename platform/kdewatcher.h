#pragma once

#include <QDBusMessage>
#include <QObject>

#include <functional>
#include <optional>

// Follows KDE Plasma's double-click time in kdeglobals and tells it to
// report: read soon after the watcher is made, and again when KDE announces
// a change of its settings on the session bus, as its own programs do when
// the player changes them (org.kde.kconfig.notify ConfigChanged on
// /kdeglobals, and the older org.kde.KGlobalSettings notifyChange), or when
// asked. A burst of announcements costs one read, a flood 20 reads a second.
class KdeWatcher : public QObject
{
    Q_OBJECT

public:
    using Report = std::function<void(std::optional<int> intervalMs)>;
    explicit KdeWatcher(Report report, QObject *parent = nullptr);

    // Reads the file again within some tens of milliseconds.
    void refresh();

public slots:
    // Qt D-Bus calls only a public slot, and one that takes the whole message.
    void announced(const QDBusMessage &signal);

private:
    Report m_report;
    bool m_pending = false;
};
