#pragma once

#include <QByteArray>
#include <QString>

// A small tmpfs of the test's own over folder, in a mount namespace of this
// process alone, so that nothing of the machine sees it; unmounted when the
// object goes. Only root may mount: isMounted() tells.
class PrivateMount
{
public:
    // options as mount(8) takes them for tmpfs ("size=64k"); flags as
    // mount(2) takes them (MS_RDONLY).
    PrivateMount(const QString &folder, const char *options, unsigned long flags = 0);
    ~PrivateMount();
    PrivateMount(const PrivateMount &) = delete;
    PrivateMount &operator=(const PrivateMount &) = delete;

    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

// Writes into folder until its disk takes no more; false when it never filled.
bool fillDisk(const QString &folder);
