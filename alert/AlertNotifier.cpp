#include "alert/AlertNotifier.h"

#include <QWidget>

namespace newsbell {

TAlertNotifier::TAlertNotifier(QWidget* owner) : QObject(owner), messages_(this) {}

TAlertNotifier::~TAlertNotifier() = default;

void TAlertNotifier::Show() {
    emit showRequested();
}

} // namespace newsbell
