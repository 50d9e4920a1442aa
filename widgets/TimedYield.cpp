#include "widgets/TimedYield.h"

#include <QCoreApplication>

namespace newsbell {

void TimedYield::operator()() {
    const qint64 now = clock_->steadyMilliseconds();
    if (!last_) {
        last_ = now;
        return;
    }
    if (now - *last_ < interval.count()) return;
    QCoreApplication::processEvents();
    // Counted from the end of the answer: a slow repaint must not make every step answer.
    last_ = clock_->steadyMilliseconds();
}

} // namespace newsbell
