#pragma once

// What the benchmark's own process holds in memory, as Linux counts it.

#include <QByteArray>
#include <QFile>

// The kB of a line of /proc/self/status: "VmRSS:" for what is resident now,
// "VmHWM:" for the most that ever was; 0 when it cannot be read.
inline long memoriaKb(const char* chave)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n')) {
        if (l.startsWith(chave))
            return l.mid(qstrlen(chave)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}
