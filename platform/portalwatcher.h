#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QVariant;

// Follows the double-click time that a Wayland desktop offers through the
// desktop portal's settings (GNOME's and KDE's keys) and tells it to report.
// Every call is asynchronous, and a desktop without a portal, or with one
// that does not answer or knows neither key, reports none. Changes follow
// the portal's SettingChanged signal, and a refresh asks again, for a
// backend that never sends that signal. The portal has no double-click
// distance.
class PortalWatcher : public QObject
{
    Q_OBJECT

public:
    using Report = std::function<void(std::optional<int> intervalMs)>;
    // Asks the session bus's portal at once.
    explicit PortalWatcher(Report report, QObject *parent = nullptr);

    // Asks the portal again, without waiting for its answer.
    void refresh();

public slots:
    // The portal's SettingChanged(group, key, value). Qt D-Bus calls only a
    // public slot, and one that takes the whole message.
    void settingChanged(const QDBusMessage &change);

private:
    void read(int key);
    void take(int key, const QVariant &value);

    Report m_report;
    // ReadOne is the portal's newer call; an older portal knows only Read.
    QString m_method = QStringLiteral("ReadOne");
    std::optional<int> m_values[3]; // by key, in the order of preference
};
