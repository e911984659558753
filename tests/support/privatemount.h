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

// Fills the disk of folder until it takes no more blocks (into one file
// "voll") or no more inodes (empty files "voll", "voll-1", …); removing
// "voll" makes room again. False when it never filled.
enum class Fill { Blocks, Inodes };
bool fillDisk(const QString &folder, Fill fill = Fill::Blocks);
