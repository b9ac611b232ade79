#include "thread_use.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace squeakrun::realtime {

std::map<std::string, ThreadUse> threadUse() {
    std::map<std::string, ThreadUse> byName;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(tid) + QStringLiteral("/schedstat"));
        QFile comm(tasks.filePath(tid) + QStringLiteral("/comm"));
        if (!stat.open(QIODevice::ReadOnly) || !comm.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> fields = stat.readAll().trimmed().split(' ');
        const bool main = tid == QString::number(QCoreApplication::applicationPid());
        ThreadUse& use = byName[main ? "main" : comm.readAll().trimmed().replace(' ', '_').toStdString()];
        use.nanos += fields.value(0).toLongLong();
        use.runs += fields.value(2).toLongLong();
        QFile io(tasks.filePath(tid) + QStringLiteral("/io"));
        if (io.open(QIODevice::ReadOnly))
            for (const QByteArray& line : io.readAll().split('\n'))
                if (line.startsWith("syscw:")) use.writes += line.mid(6).trimmed().toLongLong();
    }
    return byName;
}

std::int64_t cpuNanos() {
    std::int64_t total = 0;
    for (const auto& [name, use] : threadUse())
        total += use.nanos;
    return total;
}

} // namespace squeakrun::realtime
