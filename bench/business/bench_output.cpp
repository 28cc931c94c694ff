#include "bench/business/bench_output.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

long statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& text : f.readAll().split('\n'))
        if (text.startsWith(key))
            return text.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

void line(const QString& what, double ms, const QString& note) {
    std::printf("%-48s %9.1f ms  %s\n", qPrintable(what), ms, qPrintable(note));
    std::fflush(stdout);
}

void memory(const QString& when) {
    std::printf("%-48s %9.1f MB peak (VmHWM), %.1f MB resident\n", qPrintable(when),
                double(statusKb("VmHWM:")) / 1024.0, double(statusKb("VmRSS:")) / 1024.0);
    std::fflush(stdout);
}

double timed(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}
