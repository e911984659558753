#pragma once

#include "ui/desktopdoubleclick.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <optional>

class QVariant;

// Keeps the double-click time that a Wayland desktop offers through the
// desktop portal's settings (GNOME's and KDE's keys) in target. Every call
// is asynchronous, and a desktop without a portal, or with one that does
// not answer or knows neither key, leaves target unset. Changes follow the
// portal's SettingChanged signal. The portal has no double-click distance.
class PortalWatcher : public QObject
{
    Q_OBJECT

public:
    // Asks the session bus's portal at once.
    explicit PortalWatcher(DesktopDoubleClick &target, QObject *parent = nullptr);

public slots:
    // The portal's SettingChanged(group, key, value). Qt D-Bus calls only a
    // public slot, and one that takes the whole message.
    void settingChanged(const QDBusMessage &change);

private:
    // ReadOne is the portal's newer call; an older portal knows only Read.
    void read(int key, const QString &method);
    void take(int key, const QVariant &value);

    DesktopDoubleClick &m_target;
    std::optional<int> m_values[3]; // by key, in the order of preference
};
