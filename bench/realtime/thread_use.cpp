#include "thread_use.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <ctime>

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
    // The process's clock, not the sum over its threads: a thread that has ended (the sound's stream,
    // given up when the sounds stop) takes its time out of that sum, but not out of this clock.
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace squeakrun::realtime
