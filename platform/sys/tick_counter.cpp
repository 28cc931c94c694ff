#include "platform/sys/tick_counter.h"

#include <QElapsedTimer>

namespace sys {

double tickCountMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace sys
