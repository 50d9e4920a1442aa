#include "widgets/ErrorReporter.h"

#include <QScopeGuard>

namespace newsbell {

void ErrorReporter::report(const std::exception& failure) {
    report(QString::fromUtf8(failure.what()));
}

void ErrorReporter::report(const QString& message) {
    if (onScreen_.contains(message)) return;
    onScreen_.insert(message);
    const auto closed = qScopeGuard([this, message] { onScreen_.remove(message); });
    messages_.showMessage(message);
}

void ErrorReporter::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        report(failure);
    }
}

} // namespace newsbell
