#include "support/privatemount.h"

#include <QFile>

#include <sched.h>
#include <sys/mount.h>

PrivateMount::PrivateMount(const QString &folder, const char *options, unsigned long flags)
    : m_folder(folder.toLocal8Bit())
{
    m_mounted = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                && ::mount("hopsala-test", m_folder.constData(), "tmpfs", flags, options) == 0;
}

PrivateMount::~PrivateMount()
{
    if (m_mounted)
        ::umount2(m_folder.constData(), MNT_DETACH);
}

bool fillDisk(const QString &folder, Fill fill)
{
    QFile filler(folder + QStringLiteral("/voll"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    for (int block = 1; block < 1 << 16; ++block) {
        if (fill == Fill::Blocks && filler.write(QByteArray(4096, 'x')) <= 0)
            return true;
        if (fill == Fill::Inodes && !QFile(folder + QStringLiteral("/voll-%1").arg(block)).open(QIODevice::WriteOnly))
            return true;
    }
    return false;
}
