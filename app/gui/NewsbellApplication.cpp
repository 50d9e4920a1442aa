#include "app/gui/NewsbellApplication.h"

#include <cstdio>

namespace newsbell {

bool NewsbellApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        if (reporter_)
            reporter_->report(failure);
        else
            std::fprintf(stderr, "%s\n", failure.what());
        return false;
    }
}

} // namespace newsbell
